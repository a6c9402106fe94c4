#include "platform/app_services.h"

#include "platform/platform_services.h"

namespace quill {
namespace {

IApplicationServices* g_pServices = nullptr;

}  // namespace

IApplicationServices& GetApplicationServices() {
  if (g_pServices) return *g_pServices;
  IApplicationServices* fallback = GetFallbackPlatformServices().pApplication;
  return fallback ? *fallback : InertApplicationServices();
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
