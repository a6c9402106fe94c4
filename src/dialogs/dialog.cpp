#include "dialogs/dialog.h"

#include "resources/dialog_template.h"

namespace quill {

int CDialog::DoModal() { return RunModalDialog(m_nIDTemplate, *this, m_pParent); }

int CDialog::UpdateData(int bSaveAndValidate) {
  if (m_pHost == nullptr) return 0;
  CDataExchange dx(m_pHost, bSaveAndValidate != 0);
  DoDataExchange(&dx);
  return dx.Failed() ? 0 : 1;
}

int CDialog::OnInitDialog(IDialogHost& host) {
  m_pHost = &host;
  return OnInitDialog();
}

bool CDialog::OnOK(IDialogHost& host) {
  m_pHost = &host;
  return OnOK();
}

bool CDialog::OnCancel(IDialogHost& host) {
  m_pHost = &host;
  return OnCancel();
}

void CDialog::OnDestroy(IDialogHost&) { m_pHost = nullptr; }

}  // namespace quill
