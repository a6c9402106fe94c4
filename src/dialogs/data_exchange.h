#pragma once
// Data exchange between a dialog's members and its controls, in one direction per
// exchange: loading shows the members, saving reads the controls back and validates them.
// The first failed check shows its message once, moves the focus to the control and stops
// the exchange.

#include <initializer_list>
#include <string>

#include "platform/dialog_host.h"

namespace quill {

class CDataExchange {
 public:
  CDataExchange(IDialogHost* pHost, bool bSaveAndValidate)
      : m_bSaveAndValidate(bSaveAndValidate), m_pHost(pHost) {}
  void Fail(int nID, const std::string& message);
  bool Failed() const { return m_bFailed; }

  bool m_bSaveAndValidate;
  IDialogHost* m_pHost;
  // The control exchanged last: the one a DDV check refers to.
  int m_nLastID = 0;

 private:
  bool m_bFailed = false;
};

void DDX_Text(CDataExchange* pDX, int nID, std::string& value);
void DDX_Text(CDataExchange* pDX, int nID, int& value);
void DDX_Text(CDataExchange* pDX, int nID, unsigned& value);
void DDX_Check(CDataExchange* pDX, int nID, int& value);
// The index of the checked button of a radio group (its ids in order); -1 for none.
void DDX_Radio(CDataExchange* pDX, std::initializer_list<int> group, int& value);
void DDV_MinMaxUInt(CDataExchange* pDX, unsigned value, unsigned minVal, unsigned maxVal);

}  // namespace quill
