#include "dialogs/check_list_box.h"

namespace quill {

void TCheckListBoxEx::SetCheck(int nIndex, int nCheck) {
  if (m_pHost == nullptr || nIndex < 0 || nIndex >= GetCount()) return;
  // Without the three-state style an item is checked or not.
  if (nCheck == BST_INDETERMINATE && !m_bThreeState) nCheck = BST_CHECKED;
  if (nCheck != BST_UNCHECKED && nCheck != BST_CHECKED && nCheck != BST_INDETERMINATE) nCheck = BST_CHECKED;
  m_pHost->SetItemCheck(m_nID, nIndex, nCheck);
}

void TCheckListBoxEx::SetAllChecks(int nCheck) {
  for (int i = 0, n = GetCount(); i < n; ++i) SetCheck(i, nCheck);
}

int TCheckListBoxEx::GetCheckedCount() const {
  int nChecked = 0;
  for (int i = 0, n = GetCount(); i < n; ++i)
    if (GetCheck(i) == BST_CHECKED) ++nChecked;
  return nChecked;
}

}  // namespace quill
