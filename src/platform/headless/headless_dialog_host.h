#pragma once
// A dialog host without a window system: every control is a record in memory, created
// on first use. Tests fill and read the records, size the dialog and read where the
// controls went.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_host.h"

namespace quill {

class HeadlessDialogHost : public IDialogHost {
 public:
  struct Item {
    std::string text;
    unsigned long data = 0;
    int check = BST_UNCHECKED;
  };
  struct Control {
    std::string text;
    int check = BST_UNCHECKED;
    bool enabled = true;
    bool visible = true;
    std::vector<Item> items;
    int curSel = LB_ERR;
    CRect rect;
    int selStart = -1;  // edit selection; -1 when never set
    int selEnd = -1;
  };

  // Items are itemHeight pixels high; text is charWidth pixels a byte.
  explicit HeadlessDialogHost(int itemHeight = 16, int charWidth = 7)
      : m_nItemHeight(itemHeight), m_nCharWidth(charWidth) {}

  std::string GetDlgItemText(int nID) const override;
  void SetDlgItemText(int nID, const std::string& text) override { At(nID).text = text; }
  int IsDlgButtonChecked(int nID) const override;
  void CheckDlgButton(int nID, int nCheck) override { At(nID).check = nCheck; }
  bool IsDlgItemEnabled(int nID) const override;
  void EnableDlgItem(int nID, bool bEnable) override { At(nID).enabled = bEnable; }
  bool IsDlgItemVisible(int nID) const override;
  void ShowDlgItem(int nID, bool bShow) override { At(nID).visible = bShow; }
  std::string GetWindowText() const override { return m_strTitle; }
  void SetWindowText(const std::string& text) override { m_strTitle = text; }

  int AddString(int nID, const std::string& text) override;
  int InsertString(int nID, int nIndex, const std::string& text) override;
  int DeleteString(int nID, int nIndex) override;
  void ResetContent(int nID) override;
  int GetCount(int nID) const override;
  std::string GetItemText(int nID, int nIndex) const override;
  int GetCurSel(int nID) const override;
  int SetCurSel(int nID, int nIndex) override;
  unsigned long GetItemData(int nID, int nIndex) const override;
  int SetItemData(int nID, int nIndex, unsigned long data) override;
  int GetItemCheck(int nID, int nIndex) const override;
  void SetItemCheck(int nID, int nIndex, int nCheck) override;
  bool GetListItemRect(int nID, int nIndex, CRect& rect) const override;
  int GetTextWidth(int nID, const std::string& text) const override;

  void SetFocus(int nID) override { m_nFocus = nID; }
  int GetFocus() const override { return m_nFocus; }

  CRect GetClientRect() const override { return m_rcClient; }
  CRect GetDlgItemRect(int nID) const override;
  void MoveDlgItem(int nID, const CRect& rect) override { At(nID).rect = rect; }

  void EndDialog(int nResult) override { m_nResult = nResult; }
  void GetEditSel(int nID, int& nStart, int& nEnd) const override;
  void SetEditSel(int nID, int nStart, int nEnd) override;
  // Answers with the command a test chose beforehand (SetPopupChoice), once.
  unsigned TrackPopupMenu(const CMenu& menu, int nID) override;

  // Test side.
  void SetClientSize(int cx, int cy) { m_rcClient = CRect(0, 0, cx, cy); }
  Control& At(int nID) { return m_controls[nID]; }
  const Control* Find(int nID) const;
  std::optional<int> Result() const { return m_nResult; }
  void SetPopupChoice(unsigned nCommand) { m_nPopupChoice = nCommand; }
  // The menu shown last and the control it was shown at.
  const CMenu& LastPopup() const { return m_lastPopup; }

 private:
  const Item* ItemAt(int nID, int nIndex) const;
  Item* ItemAt(int nID, int nIndex);

  std::map<int, Control> m_controls;
  std::string m_strTitle;
  CRect m_rcClient;
  int m_nFocus = 0;
  std::optional<int> m_nResult;
  unsigned m_nPopupChoice = 0;
  CMenu m_lastPopup;
  int m_nItemHeight;
  int m_nCharWidth;
};

}  // namespace quill
