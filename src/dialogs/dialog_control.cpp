#include "dialogs/dialog_control.h"

namespace quill {

int TDialogControl::FindStringExact(int nStartAfter, const std::string& text) const {
  const int nCount = GetCount();
  for (int i = nStartAfter + 1 < 0 ? 0 : nStartAfter + 1; i < nCount; ++i)
    if (GetText(i) == text) return i;
  return LB_ERR;
}

}  // namespace quill
