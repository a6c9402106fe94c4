#pragma once
// Dialogs from templates on Qt widgets. QtTemplateDialog builds one real widget per item
// of a dialog template, places it by the template's dialog units (converted with the
// dialog font's average character size: x * width / 4, y * height / 8), binds it to a
// QtDialogHost by id and forwards its signals to the dialog's behaviour. Labels with a
// '&' become the buddies of the control that follows them; the default button is
// Enter's; a resizable template gives a resizable window whose smallest size is its
// first. QtDialogRunner is the modal-run service the Qt platform installs.
//
// Notifications are forwarded only for what the user does: while the behaviour itself
// runs, the changes it makes to the controls notify nobody.

#include <QDialog>

#include <functional>
#include <memory>

#include "platform/dialog_runner.h"
#include "qt/qt_dialog_host.h"

class QResizeEvent;

namespace quill::qt {

class QtTemplateDialog : public QDialog {
  Q_OBJECT

 public:
  QtTemplateDialog(const DialogTemplate& dialogTemplate, CDialogBehaviour& behaviour,
                   QWidget* parent = nullptr);
  ~QtTemplateDialog() override;

  QtDialogHost& Host() { return *m_host; }
  const DialogTemplate& Template() const { return m_template; }
  // The widget of a control id, or null.
  QWidget* Control(int nID) const { return m_host->Control(nID); }
  // Pixels of one horizontal and one vertical dialog unit times 4 and 8: the dialog
  // font's average character width and height.
  QSize BaseUnits() const { return m_base; }

  // OnInitDialog, the modal loop, OnDestroy; returns the result.
  int Run();
  // For a dialog shown inside another window (a property sheet's page), whose owner calls
  // the behaviour's OnInitDialog and OnDestroy itself: from now on the user's actions
  // reach the behaviour.
  void StartNotifying() { m_initialised = true; }

 protected:
  void reject() override;
  void done(int result) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Build();
  QWidget* Create(const DialogItem& item);
  QRect ToPixels(const DialogRect& rect) const;
  void Notify(int nID, int nNotification);
  template <typename F>
  void InBehaviour(F&& call);

  const DialogTemplate& m_template;
  CDialogBehaviour& m_behaviour;
  std::unique_ptr<QtDialogHost> m_host;
  QSize m_base;
  bool m_inBehaviour = false;
  bool m_initialised = false;
  bool m_ended = false;
};

class QtDialogRunner : public IDialogRunner {
 public:
  int RunModal(const DialogTemplate& dialogTemplate, CDialogBehaviour& behaviour,
               Window* pParent) override;

  // Called with every dialog once it is on the screen (a test drives and closes it here).
  void SetDialogHook(std::function<void(QtTemplateDialog&)> hook) { m_hook = std::move(hook); }
  int DialogCount() const { return m_nDialogs; }

 private:
  std::function<void(QtTemplateDialog&)> m_hook;
  int m_nDialogs = 0;
};

// The runner InstallPlatform installed, or null.
QtDialogRunner* GetQtDialogRunner();
void SetQtDialogRunner(QtDialogRunner* runner);

}  // namespace quill::qt
