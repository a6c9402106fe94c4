#pragma once
// TCheckListDialog: the resizable modal dialog with which a host asks which of several
// documents to act on. In its reload form it lists files changed outside and reloads the
// ones left checked; whichever way it closes, the files' new times are recorded in their
// documents' first views, so one change is reported once. In its save form it lists
// documents and leaves the saving to the host, which reads the check states after the
// run. Any other type is the plain form.

#include <string>
#include <vector>

#include "dialogs/check_list_box.h"
#include "dialogs/list_box_tip.h"
#include "dialogs/resizable_dialog.h"
#include "platform/types.h"

namespace quill {

class CDocument;

class TCheckListDialog : public TResizableDialog {
 public:
  enum TDlgType : int {
    DLG_RELOAD = 0,
    DLG_SAVE = 1,
    DLG_PLAIN = 2,
  };

  // The tip over the list: an entry's full text just below the entry.
  class TListTipHandler : public CListBoxTipHandler {
   public:
    int GetItemInfo(CPoint point, CRect& rect, std::string& text) override;
  };

  TCheckListDialog(int nType, const std::string& strTitle, const std::string& strMessage,
                   Window* pParent = nullptr);

  // Adds the document's path name, or its title when it has no path; -1 (nothing
  // added) when both are empty. Otherwise the new item's index.
  int AddString(const CDocument* pDoc, int bCheck);
  // Appends an item; while the window exists the list shows it at once.
  int AddString(const std::string& strText, int bCheck);
  // -1 for an index outside the items; otherwise the item's check state (1 or 0), with
  // its text copied into *pText when given.
  int GetString(int nIndex, std::string* pText = nullptr) const;
  // Sets the check box of a list entry while the window exists (the item's stored state,
  // which OK reads from the list, is not changed here).
  void CheckItem(int nIndex, int bCheck);
  // Whether the list entry's check box is checked (0 without a window).
  int CheckItem(int nIndex) const;
  // Accepted and without effect: items are drawn in the list's colours.
  void SetItemColor(int nIndex, COLORREF color);
  int GetCount() const { return static_cast<int>(m_items.size()); }

  int GetType() const { return m_nType; }
  const std::string& GetOKText() const { return m_strOKText; }

 protected:
  struct Item {
    std::string text;
    COLORREF color;
    bool checked;
  };

  using TResizableDialog::OnInitDialog;
  int OnInitDialog() override;
  void OnCommand(IDialogHost& host, int nID, int nNotification) override;
  bool OnOK() override;
  bool OnCancel() override;
  void OnDestroy(IDialogHost& host) override;

  // bUncheck true unchecks every item, false checks every item; the list is refilled.
  void CheckAll(bool bUncheck);
  void CheckAllStrings() { CheckAll(false); }
  void UncheckAllStrings() { CheckAll(true); }
  // Unchecks every item, then acts as OK.
  void DoNot();
  // The user toggled the check box of the entry at the list's caret.
  void OnChkChange();
  // Refills the list from the items.
  void UpdateContent();
  // Reads the list's check states into the items.
  void DoDataExchange();
  // The OK and "Do Not" buttons for the current check states.
  void UpdateButtons();
  // Records the new time of every item's file in its documents' first views, reloading
  // those of the checked items when bReload.
  void ApplyToDocuments(bool bReload);

  int m_nType;
  std::string m_strOKText;
  std::string m_strTitle;
  std::string m_strMessage;
  TCheckListBoxEx m_list;
  TListTipHandler m_tip;
  std::vector<Item> m_items;
};

}  // namespace quill
