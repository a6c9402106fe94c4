#include "platform/app_services.h"

#include "platform/headless/headless_app_services.h"

namespace quill {
namespace {

IApplicationServices* g_pServices = nullptr;

}  // namespace

IApplicationServices& GetApplicationServices() {
  if (g_pServices) return *g_pServices;
  static HeadlessApplicationServices headless;
  return headless;
}

void SetApplicationServices(IApplicationServices* services) { g_pServices = services; }

int AfxMessageBox(const std::string& text, unsigned type) {
  return GetApplicationServices().MessageBox(text, type);
}

CHighPriority::CHighPriority() : m_nSaved(GetApplicationServices().GetPriorityClass()) {
  GetApplicationServices().SetPriorityClass(HIGH_PRIORITY_CLASS);
}

CHighPriority::~CHighPriority() { GetApplicationServices().SetPriorityClass(m_nSaved); }

}  // namespace quill
