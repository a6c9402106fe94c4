#include "platform/print.h"

#include <algorithm>
#include <cstring>

#include "platform/app_services.h"
#include "platform/platform_services.h"

namespace quill {

unsigned CPrintInfo::GetFromPage() const {
  const unsigned from = m_pPD != nullptr && m_pPD->m_nFromPage != 0 ? m_pPD->m_nFromPage : m_nMinPage;
  return std::max(from, m_nMinPage);
}

unsigned CPrintInfo::GetToPage() const {
  const unsigned to = m_pPD != nullptr && m_pPD->m_nToPage != 0 ? m_pPD->m_nToPage : m_nMaxPage;
  return std::min(to, m_nMaxPage);
}

CPageSetupDialog::CPageSetupDialog(unsigned long dwFlags, Window* pParentWnd)
    : m_pParentWnd(pParentWnd) {
  m_psd.Flags = dwFlags;
  IPrintServices& services = GetPrintServices();
  m_strDeviceName = services.GetDefaultPrinter();
  if (!m_strDeviceName.empty()) {
    m_bHasDevMode = services.GetPrinterDevMode(m_strDeviceName, m_devMode);
  }
}

int CPageSetupDialog::DoModal() { return GetPrintServices().RunPageSetup(*this); }

void CPageSetupDialog::GetMargins(CRect* lpRectMargins, CRect* lpRectMinMargins) const {
  if (lpRectMargins != nullptr) *lpRectMargins = m_psd.rtMargin;
  if (lpRectMinMargins != nullptr) *lpRectMinMargins = CRect();
}

void SetPrintServices(IPrintServices* services) {
  InstalledPlatformServices().pPrint = Unowned(services);
}

IPrintServices& GetPrintServices() {
  return InstalledOr(&PlatformServices::pPrint, InertPrintServices());
}

}  // namespace quill
