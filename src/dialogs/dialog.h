#pragma once
// CDialog: the base of the component's dialogs. It pairs a template id and a parent
// window with the dialog's behaviour and runs it modally through the installed dialog
// runner. While the window exists GetHost() reaches its controls; before it is created
// and after it is destroyed GetHost() is null.

#include "dialogs/data_exchange.h"
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

  // Moves data between members and controls (DoDataExchange) in the direction asked;
  // 0 when a check failed or no window exists.
  int UpdateData(int bSaveAndValidate = 1);
  virtual void DoDataExchange(CDataExchange* pDX) { (void)pDX; }

  // The runner's calls: they bind the host, then call the parameterless forms below.
  int OnInitDialog(IDialogHost& host) override;
  bool OnOK(IDialogHost& host) override;
  bool OnCancel(IDialogHost& host) override;
  void OnDestroy(IDialogHost& host) override;

 protected:
  // The framework's overridables: the host is GetHost(). OnOK and OnCancel return
  // whether the dialog closes.
  // The defaults load the controls from the members, and read them back on OK.
  virtual int OnInitDialog() {
    UpdateData(0);
    return 1;
  }
  virtual bool OnOK() { return UpdateData(1) != 0; }
  virtual bool OnCancel() { return true; }

 private:
  unsigned m_nIDTemplate;
  Window* m_pParent;
  IDialogHost* m_pHost = nullptr;
};

}  // namespace quill
