#pragma once
// Modal dialogs without a window system. Each run builds a HeadlessDialogHost from the
// template (dialog units taken with a 6 x 13 pixel dialog font), calls OnInitDialog and
// then runs the next script a test queued, which plays the user: it types into controls,
// selects items, toggles check boxes and presses buttons, each routed to the behaviour as
// a real window routes it. A run whose script did not end the dialog is cancelled as with
// Escape. Runs are recorded, so a test can check which dialogs were shown.

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog_runner.h"
#include "platform/headless/headless_dialog_host.h"

namespace quill {

// One modal run as a script sees it.
class HeadlessDialogSession {
 public:
  HeadlessDialogSession(const DialogTemplate& dialogTemplate, CDialogBehaviour& behaviour,
                        Window* pParent);

  HeadlessDialogHost& Host() { return m_host; }
  CDialogBehaviour& Behaviour() { return m_behaviour; }
  const DialogTemplate& Template() const { return m_template; }
  Window* Parent() const { return m_pParent; }
  bool Ended() const { return m_host.Result().has_value(); }

  // Clicks a button, check box or radio button (a check box toggles, a radio button is
  // checked and the others of its group unchecked). False, and nothing happens, when
  // the control is not in the template, is disabled or hidden, or the dialog has ended.
  bool Press(int nID);
  // Escape or the close box: routed like a click on IDCANCEL.
  void Close();
  // Replaces an edit's (or a combo box's edit) text and notifies the change.
  bool Type(int nID, const std::string& text);
  // Selects an item of a list or combo box and notifies the change.
  bool Select(int nID, int nIndex);
  bool DoubleClick(int nID, int nIndex);
  // Toggles the check box of a check-list item (it becomes the list's caret first).
  bool ToggleCheck(int nID, int nIndex);
  // Resizes the client area (resizable dialogs only) and tells the behaviour.
  bool Resize(int cx, int cy);
  // Any other notification, routed as it stands.
  void Notify(int nID, int nNotification);

  // Dialog units to pixels of this host.
  static CRect ToPixels(const DialogRect& rect);

 private:
  bool Usable(int nID) const;

  const DialogTemplate& m_template;
  CDialogBehaviour& m_behaviour;
  Window* m_pParent;
  HeadlessDialogHost m_host;
};

using DialogScript = std::function<void(HeadlessDialogSession&)>;

class HeadlessDialogRunner : public IDialogRunner {
 public:
  int RunModal(const DialogTemplate& dialogTemplate, CDialogBehaviour& behaviour,
               Window* pParent) override;

  // Scripts are used one per run, in order; with none left, the dialog is cancelled.
  void PushScript(DialogScript script) { m_scripts.push_back(std::move(script)); }
  std::size_t PendingScripts() const { return m_scripts.size(); }
  // Template ids of the runs so far, in order.
  const std::vector<unsigned>& Runs() const { return m_runs; }
  // The host of the last finished run, for reading what the dialog showed at the end.
  const HeadlessDialogHost* LastHost() const { return m_last.get(); }
  // Forgets scripts, runs and the last host.
  void Reset();

 private:
  std::deque<DialogScript> m_scripts;
  std::vector<unsigned> m_runs;
  std::unique_ptr<HeadlessDialogHost> m_last;
};

// The process's headless runner (what GetDialogRunner gives while no other is installed).
HeadlessDialogRunner& GetHeadlessDialogRunner();

// Installs the headless runner with a clean record for the lifetime of the object (tests).
class ScopedHeadlessDialogs {
 public:
  ScopedHeadlessDialogs();
  ~ScopedHeadlessDialogs();
  ScopedHeadlessDialogs(const ScopedHeadlessDialogs&) = delete;
  ScopedHeadlessDialogs& operator=(const ScopedHeadlessDialogs&) = delete;
  HeadlessDialogRunner& Runner() { return GetHeadlessDialogRunner(); }
  void Push(DialogScript script) { Runner().PushScript(std::move(script)); }
};

}  // namespace quill
