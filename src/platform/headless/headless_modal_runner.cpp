#include "platform/headless/headless_modal_runner.h"

#include "dialogs/property_sheet.h"
#include "platform/app_services.h"

namespace quill {

int HeadlessModalRunner::RunModal(CDialog& dialog) {
  m_runs.push_back(dialog.GetTemplateID());
  HeadlessDialogHost host;
  dialog.SetHost(&host);
  dialog.OnInitDialog();
  if (!m_dialogScripts.empty()) {
    DialogScript script = std::move(m_dialogScripts.front());
    m_dialogScripts.pop_front();
    script(dialog, host);
  }
  if (!host.Result()) dialog.OnCancel();
  const int result = host.Result().value_or(IDCANCEL);
  dialog.OnDestroy();
  dialog.SetHost(nullptr);
  return result;
}

int HeadlessModalRunner::RunSheet(CPropertySheet& sheet) {
  std::vector<std::unique_ptr<HeadlessDialogHost>> hosts;
  std::vector<HeadlessDialogHost*> raw;
  for (int i = 0; i < sheet.GetPageCount(); ++i) {
    hosts.push_back(std::make_unique<HeadlessDialogHost>());
    raw.push_back(hosts.back().get());
    sheet.GetPage(i)->SetHost(raw.back());
  }
  sheet.OnInitSheet();
  if (!m_sheetScripts.empty()) {
    SheetScript script = std::move(m_sheetScripts.front());
    m_sheetScripts.pop_front();
    script(sheet, raw);
  }
  if (!sheet.IsEnded()) sheet.OnCancel();
  sheet.OnDestroySheet();
  for (int i = 0; i < sheet.GetPageCount(); ++i) sheet.GetPage(i)->SetHost(nullptr);
  return sheet.GetResult();
}

void ClickButton(CDialog& dialog, int nID) { dialog.OnCommand(nID, BN_CLICKED); }

void TypeText(CDialog& dialog, int nID, const std::string& text) {
  dialog.GetHost()->SetDlgItemText(nID, text);
  dialog.OnCommand(nID, EN_CHANGE);
}

void SelectItem(CDialog& dialog, int nID, int nIndex) {
  dialog.GetHost()->SetCurSel(nID, nIndex);
  dialog.OnCommand(nID, CBN_SELCHANGE);
}

}  // namespace quill
