#include "dialogs/property_sheet.h"

#include "platform/app_services.h"

namespace quill {

void CPropertySheet::AddPage(CPropertyPage* pPage) {
  pPage->m_pSheet = this;
  m_pages.push_back(pPage);
}

bool CPropertySheet::SetActivePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return false;
  if (nPage == m_nActive) return true;
  if (m_nActive < GetPageCount() && !GetPage(m_nActive)->OnKillActive()) return false;
  m_nActive = nPage;
  GetPage(m_nActive)->OnSetActive();
  return true;
}

int CPropertySheet::DoModal() { return CurrentModalRunner().RunSheet(*this); }

void CPropertySheet::OnInitSheet() {
  m_nResult = 0;
  if (m_nActive >= GetPageCount()) m_nActive = 0;
  for (CPropertyPage* page : m_pages) {
    page->SetModified(false);
    page->OnInitDialog();
  }
  if (!m_pages.empty()) GetPage(m_nActive)->OnSetActive();
}

void CPropertySheet::OnDestroySheet() {
  for (CPropertyPage* page : m_pages) page->OnDestroy();
}

bool CPropertySheet::IsApplyEnabled() const {
  for (const CPropertyPage* page : m_pages)
    if (page->IsModified()) return true;
  return false;
}

bool CPropertySheet::Apply() {
  if (m_pages.empty()) return true;
  if (!GetPage(m_nActive)->OnKillActive()) return false;
  for (CPropertyPage* page : m_pages) page->OnApply();
  if (m_applyAction) m_applyAction();
  for (CPropertyPage* page : m_pages) page->SetModified(false);
  return true;
}

void CPropertySheet::OnOK() {
  if (!Apply()) return;
  m_nResult = IDOK;
  if (m_endSheet) m_endSheet(IDOK);
}

void CPropertySheet::OnCancel() {
  for (CPropertyPage* page : m_pages) page->OnCancel();
  m_nResult = IDCANCEL;
  if (m_endSheet) m_endSheet(IDCANCEL);
}

}  // namespace quill
