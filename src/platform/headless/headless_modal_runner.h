#pragma once
// Modal dialogs and sheets without a window system: each run binds in-memory hosts,
// initialises the dialog, and plays the next queued script, which types into controls and
// presses buttons as a user would. A run whose script did not end it (or that has no
// script) is cancelled. Runs are never waited on.

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "dialogs/dialog.h"
#include "platform/headless/headless_dialog_host.h"

namespace quill {

class HeadlessModalRunner : public ModalRunner {
 public:
  using DialogScript = std::function<void(CDialog&, HeadlessDialogHost&)>;
  // The hosts of the sheet's pages, in page order.
  using SheetScript = std::function<void(CPropertySheet&, std::vector<HeadlessDialogHost*>&)>;

  int RunModal(CDialog& dialog) override;
  int RunSheet(CPropertySheet& sheet) override;

  void QueueDialog(DialogScript script) { m_dialogScripts.push_back(std::move(script)); }
  void QueueSheet(SheetScript script) { m_sheetScripts.push_back(std::move(script)); }

  // The template ids of the dialogs run, in order.
  std::vector<unsigned> m_runs;

 private:
  std::deque<DialogScript> m_dialogScripts;
  std::deque<SheetScript> m_sheetScripts;
};

// What a user does to a control, with the notification the control sends.
void ClickButton(CDialog& dialog, int nID);
void TypeText(CDialog& dialog, int nID, const std::string& text);
// Selects item nIndex of a list or combo box and sends the selection change.
void SelectItem(CDialog& dialog, int nID, int nIndex);

// Installs a headless runner for the lifetime of the object (tests).
class ScopedModalRunner {
 public:
  ScopedModalRunner() : m_runner(std::make_shared<HeadlessModalRunner>()) { InstallModalRunner(m_runner); }
  ~ScopedModalRunner() { InstallModalRunner(nullptr); }
  ScopedModalRunner(const ScopedModalRunner&) = delete;
  ScopedModalRunner& operator=(const ScopedModalRunner&) = delete;
  HeadlessModalRunner* operator->() const { return m_runner.get(); }

 private:
  std::shared_ptr<HeadlessModalRunner> m_runner;
};

}  // namespace quill
