#pragma once
// The dialog host: a dialog's window as its behaviour sees it. Controls are addressed by
// id; the host gets and sets their text, check state, enabled state, list and combo
// items, focus and rectangles, and ends the dialog with a result. A backend implements it
// over real controls; platform/headless keeps the states in memory.

#include <string>

#include "platform/menu.h"
#include "platform/types.h"

namespace quill {

// Check states of buttons and check-list items.
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;
constexpr int BST_INDETERMINATE = 2;
// List and combo results.
constexpr int LB_ERR = -1;
constexpr int CB_ERR = -1;

class IDialogHost {
 public:
  virtual ~IDialogHost() = default;

  // Text of a control (edit, static, button caption; a combo box's edit text).
  virtual std::string GetDlgItemText(int nID) const = 0;
  virtual void SetDlgItemText(int nID, const std::string& text) = 0;

  // Buttons.
  virtual int IsDlgButtonChecked(int nID) const = 0;
  virtual void CheckDlgButton(int nID, int nCheck) = 0;

  virtual bool IsDlgItemEnabled(int nID) const = 0;
  virtual void EnableDlgItem(int nID, bool bEnable) = 0;
  virtual bool IsDlgItemVisible(int nID) const = 0;
  virtual void ShowDlgItem(int nID, bool bShow) = 0;

  // The dialog's own title.
  virtual std::string GetWindowText() const = 0;
  virtual void SetWindowText(const std::string& text) = 0;

  // Items of a list box or combo box. Indices from 0; LB_ERR for a bad index.
  virtual int AddString(int nID, const std::string& text) = 0;
  virtual int InsertString(int nID, int nIndex, const std::string& text) = 0;
  virtual int DeleteString(int nID, int nIndex) = 0;
  virtual void ResetContent(int nID) = 0;
  virtual int GetCount(int nID) const = 0;
  virtual std::string GetItemText(int nID, int nIndex) const = 0;
  virtual int GetCurSel(int nID) const = 0;
  virtual int SetCurSel(int nID, int nIndex) = 0;
  virtual unsigned long GetItemData(int nID, int nIndex) const = 0;
  virtual int SetItemData(int nID, int nIndex, unsigned long data) = 0;
  // Check state of a list item (check-list boxes).
  virtual int GetItemCheck(int nID, int nIndex) const = 0;
  virtual void SetItemCheck(int nID, int nIndex, int nCheck) = 0;
  // Item rectangle in the list's client coordinates; false for a bad index.
  virtual bool GetListItemRect(int nID, int nIndex, CRect& rect) const = 0;
  // Width in pixels of a text in the control's font.
  virtual int GetTextWidth(int nID, const std::string& text) const = 0;

  // Focus.
  virtual void SetFocus(int nID) = 0;
  virtual int GetFocus() const = 0;

  // Geometry: the dialog's client rectangle and a control's rectangle in it.
  virtual CRect GetClientRect() const = 0;
  virtual CRect GetDlgItemRect(int nID) const = 0;
  virtual void MoveDlgItem(int nID, const CRect& rect) = 0;

  // Selection (start, end) of an edit field or a combo box's edit field; both -1 when the
  // host does not know it. Setting it places the caret at end.
  virtual void GetEditSel(int nID, int& nStart, int& nEnd) const {
    (void)nID;
    nStart = nEnd = -1;
  }
  virtual void SetEditSel(int nID, int nStart, int nEnd) { (void)nID, (void)nStart, (void)nEnd; }
  // Shows a popup menu with its top-left corner at the top-right corner of the control
  // nID and returns the command chosen, 0 for none.
  virtual unsigned TrackPopupMenu(const CMenu& menu, int nID) {
    (void)menu, (void)nID;
    return 0;
  }

  // Ends a modal run with the result.
  virtual void EndDialog(int nResult) = 0;

  // The encoding of the bytes control texts are given and read in: a view's dialogs use
  // its document's, so what is typed in them is what the text holds. Windows-1252 until set.
  virtual void SetTextEncoding(int nEncoding) { (void)nEncoding; }
};

}  // namespace quill
