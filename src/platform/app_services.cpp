#include "platform/app_services.h"

#include "platform/platform_services.h"

namespace quill {

IApplicationServices& GetApplicationServices() {
  return InstalledOr(&PlatformServices::pApplication, InertApplicationServices());
}

void SetApplicationServices(IApplicationServices* services) {
  InstalledPlatformServices().pApplication = Unowned(services);
}

int AfxMessageBox(const std::string& text, unsigned type) {
  return GetApplicationServices().MessageBox(text, type);
}

CHighPriority::CHighPriority() : m_nSaved(GetApplicationServices().GetPriorityClass()) {
  GetApplicationServices().SetPriorityClass(HIGH_PRIORITY_CLASS);
}

CHighPriority::~CHighPriority() { GetApplicationServices().SetPriorityClass(m_nSaved); }

}  // namespace quill
