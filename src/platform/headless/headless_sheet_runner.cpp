#include "platform/headless/headless_sheet_runner.h"

#include "platform/app_services.h"

namespace quill {


HeadlessSheetSession::HeadlessSheetSession(CSheetBehaviour& sheet) : m_sheet(sheet) {
  for (int i = 0; i < sheet.GetPageCount(); ++i) {
    m_pages.push_back(std::make_unique<HeadlessDialogSession>(
        sheet.GetPageTemplate(i), sheet.GetPageBehaviour(i), nullptr));
  }
}

bool HeadlessSheetSession::SelectPage(int nPage) {
  return !Ended() && m_sheet.OnPageChanging(nPage);
}

void HeadlessSheetSession::PressOK() {
  if (!Ended() && m_sheet.OnSheetOK()) m_nResult = IDOK;
}

void HeadlessSheetSession::PressCancel() {
  if (!Ended() && m_sheet.OnSheetCancel()) m_nResult = IDCANCEL;
}

bool HeadlessSheetSession::PressApply() {
  return !Ended() && m_sheet.IsApplyEnabled() && m_sheet.OnApplyNow();
}

int HeadlessSheetRunner::RunSheet(CSheetBehaviour& sheet, Window*) {
  ++m_nRuns;
  HeadlessSheetSession session(sheet);
  std::vector<IDialogHost*> hosts;
  for (int i = 0; i < sheet.GetPageCount(); ++i) hosts.push_back(&session.Page(i).Host());
  sheet.OnInitSheet(hosts);
  if (!m_scripts.empty()) {
    SheetScript script = std::move(m_scripts.front());
    m_scripts.pop_front();
    if (script) script(session);
  }
  if (!session.Ended()) session.PressCancel();
  const int result = session.Ended() ? session.Result() : IDCANCEL;
  sheet.OnDestroySheet();
  return result;
}

HeadlessSheetRunner& GetHeadlessSheetRunner() {
  static HeadlessSheetRunner runner;
  return runner;
}

}  // namespace quill
