#pragma once
// Property sheets without a window system. Each run builds one headless session per page
// from its template, lets the sheet initialise them and plays the next queued script,
// which works the pages (through their sessions) and presses the sheet's buttons. A run
// whose script did not close the sheet is cancelled.

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/headless/headless_dialog_runner.h"
#include "platform/platform_services.h"
#include "platform/sheet_runner.h"

namespace quill {

class HeadlessSheetSession {
 public:
  explicit HeadlessSheetSession(CSheetBehaviour& sheet);

  // The session of a page: type, select and press on it.
  HeadlessDialogSession& Page(int nPage) { return *m_pages[static_cast<std::size_t>(nPage)]; }
  CSheetBehaviour& Sheet() { return m_sheet; }
  // Clicks a page's tab; false when the active page kept the focus.
  bool SelectPage(int nPage);
  // The sheet's buttons; Apply does nothing while it is disabled.
  void PressOK();
  void PressCancel();
  bool PressApply();
  bool Ended() const { return m_nResult != 0; }
  int Result() const { return m_nResult; }

 private:
  CSheetBehaviour& m_sheet;
  std::vector<std::unique_ptr<HeadlessDialogSession>> m_pages;
  int m_nResult = 0;
};

using SheetScript = std::function<void(HeadlessSheetSession&)>;

class HeadlessSheetRunner : public ISheetRunner {
 public:
  int RunSheet(CSheetBehaviour& sheet, Window* pParent) override;
  void PushScript(SheetScript script) { m_scripts.push_back(std::move(script)); }
  int Runs() const { return m_nRuns; }

 private:
  std::deque<SheetScript> m_scripts;
  int m_nRuns = 0;
};

HeadlessSheetRunner& GetHeadlessSheetRunner();

// Installs a fresh headless sheet runner for the lifetime of the object (tests).
class ScopedHeadlessSheets {
 public:
  ScopedHeadlessSheets()
      : m_installed(PlatformServices{.pSheetRunner = Unowned<ISheetRunner>(&m_runner)}) {}
  void Push(SheetScript script) { m_runner.PushScript(std::move(script)); }
  HeadlessSheetRunner& Runner() { return m_runner; }

 private:
  HeadlessSheetRunner m_runner;
  ScopedPlatformServices m_installed;
};

}  // namespace quill
