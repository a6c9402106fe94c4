#include "dialogs/property_sheet.h"

#include "resources/dialog_template.h"

namespace quill {

void CPropertySheet::AddPage(CPropertyPage* pPage) {
  pPage->m_pSheet = this;
  m_pages.push_back(pPage);
}

int CPropertySheet::DoModal() { return GetSheetRunner().RunSheet(*this, m_pParent); }

const DialogTemplate& CPropertySheet::GetPageTemplate(int nPage) const {
  return PageTemplate(GetPageTemplateID(nPage));
}

void CPropertySheet::OnInitSheet(const std::vector<IDialogHost*>& hosts) {
  if (m_nActive >= GetPageCount()) m_nActive = 0;
  for (std::size_t i = 0; i < m_pages.size() && i < hosts.size(); ++i) {
    m_pages[i]->SetModified(false);
    static_cast<CDialogBehaviour*>(m_pages[i])->OnInitDialog(*hosts[i]);
  }
  m_bRunning = true;
  if (!m_pages.empty()) GetPage(m_nActive)->OnSetActive();
}

bool CPropertySheet::OnPageChanging(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return false;
  if (nPage == m_nActive) return true;
  if (m_bRunning && !GetPage(m_nActive)->OnKillActive()) return false;
  m_nActive = nPage;
  if (m_bRunning) GetPage(m_nActive)->OnSetActive();
  return true;
}

bool CPropertySheet::IsApplyEnabled() const {
  for (const CPropertyPage* page : m_pages)
    if (page->IsModified()) return true;
  return false;
}

bool CPropertySheet::OnApplyNow() {
  if (m_pages.empty()) return true;
  if (!GetPage(m_nActive)->OnKillActive()) return false;
  for (CPropertyPage* page : m_pages) page->OnApply();
  if (m_applyAction) m_applyAction();
  for (CPropertyPage* page : m_pages) page->SetModified(false);
  return true;
}

bool CPropertySheet::OnSheetCancel() {
  for (CPropertyPage* page : m_pages) page->OnReset();
  return true;
}

void CPropertySheet::OnDestroySheet() {
  m_bRunning = false;
  for (CPropertyPage* page : m_pages) {
    if (IDialogHost* host = page->GetHost()) static_cast<CDialogBehaviour*>(page)->OnDestroy(*host);
  }
}

}  // namespace quill
