#include "dialogs/data_exchange.h"

#include <cstdint>

#include "platform/app_services.h"
#include "platform/ascii.h"
#include "platform/format.h"

namespace quill {

namespace {

// A whole number, optionally signed, with nothing else but blanks around it.
bool ParseLong(const std::string& text, long long& value) {
  const std::optional<long long> parsed = ParseWholeNumber<long long>(Trim(text));
  if (parsed) value = *parsed;
  return parsed.has_value();
}

}  // namespace

void CDataExchange::Fail(int nID, const std::string& message) {
  if (m_bFailed) return;
  m_bFailed = true;
  AfxMessageBox(message, MB_OK | MB_ICONWARNING);
  if (m_pHost != nullptr) m_pHost->SetFocus(nID);
}

void DDX_Text(CDataExchange* pDX, int nID, std::string& value) {
  if (pDX->Failed()) return;
  pDX->m_nLastID = nID;
  if (pDX->m_bSaveAndValidate) value = pDX->m_pHost->GetDlgItemText(nID);
  else pDX->m_pHost->SetDlgItemText(nID, value);
}

void DDX_Text(CDataExchange* pDX, int nID, int& value) {
  if (pDX->Failed()) return;
  pDX->m_nLastID = nID;
  if (!pDX->m_bSaveAndValidate) {
    pDX->m_pHost->SetDlgItemText(nID, Format("%d", value));
    return;
  }
  long long v = 0;
  if (!ParseLong(pDX->m_pHost->GetDlgItemText(nID), v) || v < INT32_MIN || v > INT32_MAX) {
    pDX->Fail(nID, "Please enter an integer.");
    return;
  }
  value = static_cast<int>(v);
}

void DDX_Text(CDataExchange* pDX, int nID, unsigned& value) {
  if (pDX->Failed()) return;
  pDX->m_nLastID = nID;
  if (!pDX->m_bSaveAndValidate) {
    pDX->m_pHost->SetDlgItemText(nID, Format("%u", value));
    return;
  }
  long long v = 0;
  if (!ParseLong(pDX->m_pHost->GetDlgItemText(nID), v) || v < 0 || v > UINT32_MAX) {
    pDX->Fail(nID, "Please enter a positive integer.");
    return;
  }
  value = static_cast<unsigned>(v);
}

void DDX_Check(CDataExchange* pDX, int nID, int& value) {
  if (pDX->Failed()) return;
  pDX->m_nLastID = nID;
  if (pDX->m_bSaveAndValidate) value = pDX->m_pHost->IsDlgButtonChecked(nID);
  else pDX->m_pHost->CheckDlgButton(nID, value);
}

void DDX_Radio(CDataExchange* pDX, std::initializer_list<int> group, int& value) {
  if (pDX->Failed() || group.size() == 0) return;
  pDX->m_nLastID = *group.begin();
  int index = 0;
  if (pDX->m_bSaveAndValidate) {
    value = -1;
    for (int nID : group) {
      if (pDX->m_pHost->IsDlgButtonChecked(nID) == BST_CHECKED) {
        value = index;
        break;
      }
      ++index;
    }
    return;
  }
  for (int nID : group) {
    pDX->m_pHost->CheckDlgButton(nID, index == value ? BST_CHECKED : BST_UNCHECKED);
    ++index;
  }
}

void DDV_MinMaxUInt(CDataExchange* pDX, unsigned value, unsigned minVal, unsigned maxVal) {
  if (!pDX->m_bSaveAndValidate || pDX->Failed()) return;
  if (value < minVal || value > maxVal)
    pDX->Fail(pDX->m_nLastID, Format("Please enter an integer between %u and %u.", minVal, maxVal));
}

}  // namespace quill
