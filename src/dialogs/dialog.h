#pragma once
// CDialog: the behaviour of a dialog over its controls, addressed by id through the
// dialog host that a modal runner binds while the dialog's window exists. Notifications
// of the controls arrive at OnCommand (the dialog's message map); data exchange moves
// values between members and controls.

#include <memory>
#include <string>

#include "platform/app_services.h"
#include "platform/dialog_host.h"

namespace quill {

class Window;
class CDialog;

// Notification codes of OnCommand.
constexpr unsigned BN_CLICKED = 0;
constexpr unsigned LBN_SELCHANGE = 1;
constexpr unsigned CBN_SELCHANGE = 1;
constexpr unsigned EN_CHANGE = 0x0300;

// One data exchange: the direction and the dialog's host. The first failed check shows
// its message and stops the exchange.
class CDataExchange {
 public:
  CDataExchange(IDialogHost* pHost, bool bSaveAndValidate)
      : m_bSaveAndValidate(bSaveAndValidate), m_pHost(pHost) {}
  // Shows the message once, moves the focus to the control and marks the exchange failed.
  void Fail(int nID, const std::string& message);
  bool Failed() const { return m_bFailed; }

  bool m_bSaveAndValidate;
  IDialogHost* m_pHost;
  // The id of the last control exchanged (the one a DDV check refers to).
  int m_nLastID = 0;

 private:
  bool m_bFailed = false;
};

void DDX_Text(CDataExchange* pDX, int nID, std::string& value);
void DDX_Text(CDataExchange* pDX, int nID, int& value);
void DDX_Text(CDataExchange* pDX, int nID, unsigned& value);
void DDX_Check(CDataExchange* pDX, int nID, int& value);
// The index of the checked button of the radio group that starts at nID (ids listed).
void DDX_Radio(CDataExchange* pDX, std::initializer_list<int> group, int& value);
void DDV_MinMaxUInt(CDataExchange* pDX, unsigned value, unsigned minVal, unsigned maxVal);

// What shows a dialog modally: binds a host to the dialog, calls OnInitDialog, runs until
// the dialog ends, calls OnDestroy and unbinds the host. A backend installs its runner;
// the headless one answers from a script.
class CPropertySheet;
class ModalRunner {
 public:
  virtual ~ModalRunner() = default;
  virtual int RunModal(CDialog& dialog) = 0;
  virtual int RunSheet(CPropertySheet& sheet) = 0;
};
// Installs the runner used from now on; null restores the headless one.
void InstallModalRunner(std::shared_ptr<ModalRunner> runner);
ModalRunner& CurrentModalRunner();

class CDialog {
 public:
  explicit CDialog(unsigned nIDTemplate, Window* pParentWnd = nullptr)
      : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}
  virtual ~CDialog() = default;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  unsigned GetTemplateID() const { return m_nIDTemplate; }
  Window* GetParent() const { return m_pParentWnd; }
  IDialogHost* GetHost() const { return m_pHost; }
  void SetHost(IDialogHost* pHost) { m_pHost = pHost; }

  // Shows the dialog modally through the installed runner; the result of EndDialog.
  virtual int DoModal();
  // Loads the controls from the members; returns 1 (the focus is left to the framework).
  virtual int OnInitDialog();
  virtual void DoDataExchange(CDataExchange*) {}
  // Exchanges data in the direction asked; 0 when a check failed.
  int UpdateData(int bSaveAndValidate = 1);
  // A control's notification. The default handles clicks on IDOK and IDCANCEL; true when
  // the notification was handled.
  virtual bool OnCommand(int nID, unsigned nCode);
  virtual void OnOK();
  virtual void OnCancel();
  // The window is going away (the host is still bound).
  virtual void OnDestroy() {}
  void EndDialog(int nResult);

 protected:
  unsigned m_nIDTemplate;
  Window* m_pParentWnd;
  IDialogHost* m_pHost = nullptr;
};

}  // namespace quill
