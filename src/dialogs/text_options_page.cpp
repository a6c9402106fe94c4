#include "dialogs/text_options_page.h"

#include "settings/registry.h"

namespace quill {

TTextOptionsPage::TTextOptionsPage() : CPropertyPage(IDD_TEXT_OPTIONS) {
  SetCaption("Text Editor");
  m_nSaveOption = GetRegistrySaveOptions();
  m_nAutoLoad = GetRegistryAutoLoad() == AUTOLOAD_ON ? 1 : 0;
}

void TTextOptionsPage::DoDataExchange(CDataExchange* pDX) {
  DDX_Radio(pDX, {IDC_SAVE_ALL, IDC_PROMPT_SAVE, IDC_DONT_SAVE}, m_nSaveOption);
  DDX_Check(pDX, IDC_AUTO_LOAD, m_nAutoLoad);
}

void TTextOptionsPage::OnCommand(IDialogHost&, int nID, int nCode) {
  if (nCode != BN_CLICKED) return;
  if (nID == IDC_AUTO_LOAD || nID == IDC_SAVE_ALL || nID == IDC_PROMPT_SAVE || nID == IDC_DONT_SAVE)
    SetModified(true);
}

void TTextOptionsPage::SaveSettings() {
  UpdateData(1);
  SetRegistryAutoLoad(m_nAutoLoad == BST_CHECKED ? AUTOLOAD_ON : AUTOLOAD_OFF);
  SetRegistrySaveOptions(static_cast<TSaveOptions>(m_nSaveOption));
}

}  // namespace quill
