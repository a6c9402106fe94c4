#pragma once
// CDialog: the base of the component's dialogs. It pairs a template id and a parent
// window with the dialog's behaviour and runs it modally through the installed dialog
// runner. While the window exists GetHost() reaches its controls; before it is created
// and after it is destroyed GetHost() is null.

#include "platform/dialog_behaviour.h"

namespace quill {

class Window;

class CDialog : public CDialogBehaviour {
 public:
  explicit CDialog(unsigned nIDTemplate, Window* pParent = nullptr)
      : m_nIDTemplate(nIDTemplate), m_pParent(pParent) {}

  // Runs the dialog; IDOK, IDCANCEL or the id it was ended with; -1 without a template.
  virtual int DoModal();

  unsigned GetTemplateID() const { return m_nIDTemplate; }
  Window* GetParent() const { return m_pParent; }
  IDialogHost* GetHost() const { return m_pHost; }
  // Binds the dialog to a host without a modal run (tests of a behaviour's parts).
  void SetHost(IDialogHost* pHost) { m_pHost = pHost; }

  // The runner's calls: they bind the host, then call the parameterless forms below.
  int OnInitDialog(IDialogHost& host) override;
  bool OnOK(IDialogHost& host) override;
  bool OnCancel(IDialogHost& host) override;
  void OnDestroy(IDialogHost& host) override;

 protected:
  // The framework's overridables: the host is GetHost(). OnOK and OnCancel return
  // whether the dialog closes.
  virtual int OnInitDialog() { return 1; }
  virtual bool OnOK() { return true; }
  virtual bool OnCancel() { return true; }

 private:
  unsigned m_nIDTemplate;
  Window* m_pParent;
  IDialogHost* m_pHost = nullptr;
};

}  // namespace quill
