#pragma once
// TCheckListBoxEx: a list box with a check box in front of each item, with the check
// operations of the framework's check list box.

#include "dialogs/dialog_control.h"

namespace quill {

class TCheckListBoxEx : public TDialogControl {
 public:
  TCheckListBoxEx() = default;
  ~TCheckListBoxEx() override = default;

  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE (only with the three-state style).
  int GetCheck(int nIndex) const { return m_pHost ? m_pHost->GetItemCheck(m_nID, nIndex) : BST_UNCHECKED; }
  void SetCheck(int nIndex, int nCheck);
  void SetCheckStyle(bool bThreeState) { m_bThreeState = bThreeState; }
  // Checks (or unchecks) every item.
  void SetAllChecks(int nCheck);
  // Items whose check box is checked.
  int GetCheckedCount() const;

 private:
  bool m_bThreeState = false;
};

}  // namespace quill
