#pragma once
// A control of a dialog, bound by id to the dialog's host: the base of the control
// library's list and combo controls. Unbound, every query answers empty.

#include <string>

#include "platform/dialog_host.h"

namespace quill {

class TDialogControl {
 public:
  TDialogControl() = default;
  virtual ~TDialogControl() = default;
  TDialogControl(const TDialogControl&) = delete;
  TDialogControl& operator=(const TDialogControl&) = delete;

  // Binds the object to the control nID of the host (the dialog's data exchange does it).
  void Attach(IDialogHost* pHost, int nID) {
    m_pHost = pHost;
    m_nID = nID;
  }
  IDialogHost* GetHost() const { return m_pHost; }
  int GetDlgCtrlID() const { return m_nID; }

  // Items of the list or combo box.
  int AddString(const std::string& text) { return m_pHost ? m_pHost->AddString(m_nID, text) : LB_ERR; }
  int InsertString(int nIndex, const std::string& text) {
    return m_pHost ? m_pHost->InsertString(m_nID, nIndex, text) : LB_ERR;
  }
  int DeleteString(int nIndex) { return m_pHost ? m_pHost->DeleteString(m_nID, nIndex) : LB_ERR; }
  void ResetContent() {
    if (m_pHost) m_pHost->ResetContent(m_nID);
  }
  int GetCount() const { return m_pHost ? m_pHost->GetCount(m_nID) : 0; }
  std::string GetText(int nIndex) const {
    return m_pHost ? m_pHost->GetItemText(m_nID, nIndex) : std::string();
  }
  int GetCurSel() const { return m_pHost ? m_pHost->GetCurSel(m_nID) : LB_ERR; }
  int SetCurSel(int nIndex) { return m_pHost ? m_pHost->SetCurSel(m_nID, nIndex) : LB_ERR; }
  unsigned long GetItemData(int nIndex) const {
    return m_pHost ? m_pHost->GetItemData(m_nID, nIndex) : 0;
  }
  int SetItemData(int nIndex, unsigned long data) {
    return m_pHost ? m_pHost->SetItemData(m_nID, nIndex, data) : LB_ERR;
  }
  // The first item whose text equals text exactly, after nStartAfter; LB_ERR for none.
  int FindStringExact(int nStartAfter, const std::string& text) const;

 protected:
  IDialogHost* m_pHost = nullptr;
  int m_nID = 0;
};

}  // namespace quill
