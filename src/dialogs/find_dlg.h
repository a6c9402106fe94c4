#pragma once
// The find and replace dialogs of a view, and the menu of regular-expression building
// blocks both offer beside their text fields.

#include <string>

#include "dialogs/dialog.h"
#include "platform/menu.h"
#include "platform/types.h"

namespace quill {

class QuillView;

// The expression menu (46600 to 46617) and the replacement menu (46618 to 46627).
void BuildRegexpMenu(CMenu& menu);
void BuildReplaceRegexpMenu(CMenu& menu);
// The text a menu command inserts; empty for other commands.
std::string RegexpMenuText(unsigned nCommand);

// Inserts a menu item's text into a text field: the remembered selection (start, end) of
// the field is replaced (none remembered: the text goes to the front) and the caret
// goes after the inserted text. The remembered selection is reset to (-1, -1).
void InsertIntoField(IDialogHost& host, int nFieldID, const std::string& text, int& nSelStart,
                     int& nSelEnd);

// Index of the combo box entry equal to text ignoring case, or CB_ERR.
int FindStringExact(IDialogHost& host, int nID, const std::string& text);

// Fills a combo box with a history (newest first) and sets its text: an entry equal to the
// text (ignoring case) is selected, otherwise the text is put into the field; an empty text
// selects the first entry.
template <class Queue>
void FillHistoryCombo(IDialogHost& host, int nID, const Queue& history, const std::string& text) {
  host.ResetContent(nID);
  for (const std::string& entry : history) host.AddString(nID, entry);
  if (!text.empty()) {
    const int nIndex = FindStringExact(host, nID, text);
    if (nIndex >= 0) {
      host.SetCurSel(nID, nIndex);
      host.SetDlgItemText(nID, host.GetItemText(nID, nIndex));
    } else {
      host.SetDlgItemText(nID, text);
    }
  } else if (host.GetCount(nID) > 0) {
    host.SetCurSel(nID, 0);
    host.SetDlgItemText(nID, host.GetItemText(nID, 0));
  }
}

class CFindDlg : public CDialog {
 public:
  explicit CFindDlg(QuillView* pBuddy);

  QuillView* m_pBuddy;
  int m_nDirection = 1;  // 0 up, 1 down
  int m_bMatchCase = 0;
  int m_bWholeWord = 0;
  int m_bRegExp = 0;
  std::string m_sText;
  CPoint m_ptCurrentPos;

 protected:
  using CDialog::OnInitDialog;
  int OnInitDialog() override;
  void OnCommand(IDialogHost& host, int nID, int nNotification) override;
  bool OnOK() override;
  bool OnCancel() override;
  void OnDestroy(IDialogHost& host) override;

  // Controls to fields (bSave) or fields to controls.
  void UpdateData(bool bSave);
  void UpdateControls();

  CMenu m_menuRegexp;
  int m_nSelStart = -1;
  int m_nSelEnd = -1;
};

class CReplaceDlg : public CDialog {
 public:
  explicit CReplaceDlg(QuillView* pBuddy);

  QuillView* m_pBuddy;
  int m_bMatchCase = 0;
  int m_bWholeWord = 0;
  int m_bRegExp = 0;
  std::string m_sText;
  std::string m_sNewText;
  int m_nScope = -1;  // 0 selection, 1 whole file, -1 neither
  bool m_bFound = false;
  CPoint m_ptFoundAt;      // the current position
  CPoint m_ptSearchOrigin;
  CPoint m_ptBlockBegin;
  CPoint m_ptBlockEnd;
  bool m_bEnableScopeSelection = true;

  // Finds and highlights the next match; false when there is none.
  bool DoHighlightText(bool bQuiet, bool bWrap);

 protected:
  using CDialog::OnInitDialog;
  int OnInitDialog() override;
  void OnCommand(IDialogHost& host, int nID, int nNotification) override;
  bool OnCancel() override;
  void OnDestroy(IDialogHost& host) override;

  void UpdateData(bool bSave);
  // Reads the fields and adds both texts to the histories; false when there is nothing to
  // look for.
  bool TakeTexts();
  void OnFindNext();
  void OnReplace();
  void OnReplaceAll();
  // Moves the block's ends on the current line right of the current position by the
  // difference of the replacement's and the search text's lengths.
  void AdjustBlock();

  CMenu m_menuRegexp;
  CMenu m_menuReplace;
  int m_nSelStart = -1;
  int m_nSelEnd = -1;
  int m_nReplaceSelStart = -1;
  int m_nReplaceSelEnd = -1;
};

class CGoToDlg : public CDialog {
 public:
  explicit CGoToDlg(QuillView* pBuddy);

  QuillView* m_pBuddy;
  unsigned m_nNumber = 0;
  int m_nMode = 0;  // 0 line, 1 column, 2 bookmark

 protected:
  using CDialog::OnInitDialog;
  int OnInitDialog() override;
  bool OnOK() override;
};

}  // namespace quill
