#include "dialogs/find_dlg.h"

#include <algorithm>
#include <iterator>

#include "buffer/text_buffer.h"
#include "platform/app_services.h"
#include "platform/format.h"
#include "platform/text_encoding.h"
#include "resources/dlg_find.h"
#include "platform/ascii.h"
#include "resources/strings.h"
#include "view/quill_view.h"
#include "view/search_flags.h"

namespace quill {

namespace {

// Data exchange of a check box with a flag, and of a pair of radio buttons with an index
// (0 the first, 1 the second, -1 neither).
void ExchangeCheck(IDialogHost& host, bool bSave, int nID, int& bValue) {
  if (bSave) bValue = host.IsDlgButtonChecked(nID) == BST_CHECKED;
  else host.CheckDlgButton(nID, bValue ? BST_CHECKED : BST_UNCHECKED);
}

void ExchangeRadioPair(IDialogHost& host, bool bSave, int nFirst, int nSecond, int& nValue) {
  if (bSave) {
    nValue = host.IsDlgButtonChecked(nFirst) == BST_CHECKED    ? 0
             : host.IsDlgButtonChecked(nSecond) == BST_CHECKED ? 1
                                                               : -1;
  } else {
    host.CheckDlgButton(nFirst, nValue == 0 ? BST_CHECKED : BST_UNCHECKED);
    host.CheckDlgButton(nSecond, nValue == 1 ? BST_CHECKED : BST_UNCHECKED);
  }
}

struct RegexpItem {
  unsigned id;
  const char* label;
  const char* text;
};

// In menu order; id 0 is the separator.
constexpr RegexpItem kRegexpItems[] = {
    {46600, "Any Character", "."},
    {46601, "Character in Range", "[]"},
    {46602, "Character Not in Range", "[^]"},
    {46603, "Beginning of Line", "\\A"},
    {46604, "End of Line", "\\Z"},
    {46606, "Not", "!"},
    {46607, "Or", "|"},
    {46608, "0 or More Matches", "*"},
    {46609, "1 or More Matches", "+"},
    {46605, "0 or 1 Match", "?"},
    {46610, "Group", "\\{\\}"},
    {0, nullptr, nullptr},
    {46611, "Whitespaces", "\\s"},
    {46612, "Alphanumeric Character", "[[:alnum:]]"},
    {46613, "Alphabetic Character", "[[:alpha:]]"},
    {46614, "Decimal Digit", "[[:digit:]]"},
    {46615, "Hexadecimal Number", "[[:xdigit:]]"},
    {46616, "Alphabetic String", "[[:word:]]"},
    {46617, "Quoted String", "\\Q\\E"},
};

unsigned long SearchFlags(int bMatchCase, int bWholeWord, int bRegExp) {
  unsigned long dwFlags = 0;
  if (bMatchCase) dwFlags |= SEARCH_MATCH_CASE;
  if (bWholeWord) dwFlags |= SEARCH_WHOLE_WORD;
  if (bRegExp) dwFlags |= SEARCH_REGEX;
  return dwFlags;
}

void ReportNotFound(const std::string& text) {
  AfxMessageBox(Format(LoadString(IDS_EDIT_TEXT_NOT_FOUND).c_str(), text.c_str()),
                MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void BuildRegexpMenu(CMenu& menu) {
  menu.CreatePopupMenu();
  for (const RegexpItem& item : kRegexpItems) {
    if (item.id == 0) {
      menu.AppendMenu(MF_SEPARATOR);
    } else {
      menu.AppendMenu(MF_STRING, item.id, item.label);
    }
  }
}

void BuildReplaceRegexpMenu(CMenu& menu) {
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, ID_REGEXP_FIND_WHAT, "Find What Text");
  for (unsigned n = 1; n <= 9; ++n)
    menu.AppendMenu(MF_STRING, ID_REGEXP_FIND_WHAT + n, Format("Tagged Expression %u", n));
}

std::string RegexpMenuText(unsigned nCommand) {
  for (const RegexpItem& item : kRegexpItems)
    if (item.id != 0 && item.id == nCommand) return item.text;
  if (nCommand >= ID_REGEXP_FIND_WHAT && nCommand <= ID_REGEXP_TAGGED_9)
    return Format("\\%u", nCommand - ID_REGEXP_FIND_WHAT);
  return std::string();
}

void InsertIntoField(IDialogHost& host, int nFieldID, const std::string& text, int& nSelStart,
                     int& nSelEnd) {
  host.SetFocus(nFieldID);
  const std::string current = host.GetDlgItemText(nFieldID);
  const int nLength = static_cast<int>(current.size());
  const int nStart = std::clamp(nSelStart < 0 ? 0 : nSelStart, 0, nLength);
  // Without a remembered selection nothing is replaced: the text goes to the front.
  const int nEnd = nSelEnd < 0 ? nStart : std::clamp(nSelEnd, nStart, nLength);
  host.SetDlgItemText(nFieldID, current.substr(0, static_cast<std::size_t>(nStart)) + text +
                                    current.substr(static_cast<std::size_t>(nEnd)));
  const int nCaret = nStart + static_cast<int>(text.size());
  host.SetEditSel(nFieldID, nCaret, nCaret);
  nSelStart = nSelEnd = -1;
}

int FindStringExact(IDialogHost& host, int nID, const std::string& text) {
  const int nCount = host.GetCount(nID);
  for (int i = 0; i < nCount; ++i)
    if (EqualsNoCase(host.GetItemText(nID, i), text)) return i;
  return CB_ERR;
}

// ---- CFindDlg ----

CFindDlg::CFindDlg(QuillView* pBuddy) : CDialog(IDD_EDIT_FIND), m_pBuddy(pBuddy) {
  BuildRegexpMenu(m_menuRegexp);
}

void CFindDlg::UpdateData(bool bSave) {
  IDialogHost& host = *GetHost();
  if (bSave) m_sText = host.GetDlgItemText(IDC_EDIT_TEXT);
  else host.SetDlgItemText(IDC_EDIT_TEXT, m_sText);
  ExchangeCheck(host, bSave, IDC_EDIT_MATCH_CASE, m_bMatchCase);
  ExchangeCheck(host, bSave, IDC_EDIT_WHOLE_WORD, m_bWholeWord);
  ExchangeCheck(host, bSave, IDC_EDIT_REGEXP, m_bRegExp);
  ExchangeRadioPair(host, bSave, IDC_EDIT_DIRECTION_UP, IDC_EDIT_DIRECTION_DOWN, m_nDirection);
}

void CFindDlg::UpdateControls() { GetHost()->EnableDlgItem(IDOK, !m_sText.empty()); }

int CFindDlg::OnInitDialog() {
  IDialogHost& host = *GetHost();
  if (m_pBuddy != nullptr) host.SetTextEncoding(m_pBuddy->IsUtf8Text() ? ENCODING_UTF8 : ENCODING_WINDOWS_1252);
  UpdateData(false);
  if (m_pBuddy != nullptr) {
    m_pBuddy->MergeFindHistoryFromRegistry();
    FillHistoryCombo(host, IDC_EDIT_TEXT, m_pBuddy->GetFindHistory(), m_sText);
  }
  m_nSelStart = m_nSelEnd = -1;
  UpdateData(true);
  UpdateControls();
  return 1;
}

void CFindDlg::OnCommand(IDialogHost& host, int nID, int nNotification) {
  if (nID == IDC_EDIT_TEXT && (nNotification == CBN_EDITCHANGE || nNotification == CBN_SELCHANGE)) {
    UpdateData(true);
    UpdateControls();
  } else if (nID == IDC_FIND_REGEXP_MENU && nNotification == BN_CLICKED) {
    host.GetEditSel(IDC_EDIT_TEXT, m_nSelStart, m_nSelEnd);
    const std::string text = RegexpMenuText(host.TrackPopupMenu(m_menuRegexp, nID));
    if (text.empty()) return;
    InsertIntoField(host, IDC_EDIT_TEXT, text, m_nSelStart, m_nSelEnd);
    UpdateData(true);
    UpdateControls();
    m_bRegExp = 1;
    host.CheckDlgButton(IDC_EDIT_REGEXP, BST_CHECKED);
  }
}

bool CFindDlg::OnOK() {
  UpdateData(true);
  if (m_bRegExp) return true;  // the repeat command runs the expression
  if (m_pBuddy == nullptr || m_sText.empty()) return false;
  m_pBuddy->AddToRecentFind(m_sText);
  unsigned long dwFlags = SearchFlags(m_bMatchCase, m_bWholeWord, 0);
  if (m_nDirection == 0) dwFlags |= SEARCH_BACKWARD;
  CPoint ptFound;
  int nLength = 0;
  if (m_pBuddy->FindText(m_sText, CPoint(m_ptCurrentPos.x + 1, m_ptCurrentPos.y), dwFlags, true,
                         &ptFound, &nLength)) {
    m_pBuddy->HighlightText(ptFound, static_cast<int>(m_sText.size()));
    return true;
  }
  ReportNotFound(m_sText);
  m_ptCurrentPos = CPoint(0, 0);
  GetHost()->SetFocus(IDC_EDIT_TEXT);
  return false;
}

bool CFindDlg::OnCancel() {
  UpdateData(true);
  return true;
}

void CFindDlg::OnDestroy(IDialogHost& host) {
  if (m_pBuddy != nullptr) m_pBuddy->SetToolBarMessage("");
  CDialog::OnDestroy(host);
}

// ---- CReplaceDlg ----

CReplaceDlg::CReplaceDlg(QuillView* pBuddy) : CDialog(IDD_EDIT_REPLACE), m_pBuddy(pBuddy) {
  BuildRegexpMenu(m_menuRegexp);
  BuildReplaceRegexpMenu(m_menuReplace);
}

void CReplaceDlg::UpdateData(bool bSave) {
  IDialogHost& host = *GetHost();
  if (bSave) {
    m_sText = host.GetDlgItemText(IDC_EDIT_TEXT);
    m_sNewText = host.GetDlgItemText(IDC_EDIT_REPLACE_WITH);
  } else {
    host.SetDlgItemText(IDC_EDIT_TEXT, m_sText);
    host.SetDlgItemText(IDC_EDIT_REPLACE_WITH, m_sNewText);
  }
  ExchangeCheck(host, bSave, IDC_EDIT_MATCH_CASE, m_bMatchCase);
  ExchangeCheck(host, bSave, IDC_EDIT_WHOLE_WORD, m_bWholeWord);
  ExchangeCheck(host, bSave, IDC_EDIT_REGEXP, m_bRegExp);
  ExchangeRadioPair(host, bSave, IDC_EDIT_SCOPE_SELECTION, IDC_EDIT_SCOPE_WHOLE_FILE, m_nScope);
}

int CReplaceDlg::OnInitDialog() {
  IDialogHost& host = *GetHost();
  if (m_pBuddy != nullptr) host.SetTextEncoding(m_pBuddy->IsUtf8Text() ? ENCODING_UTF8 : ENCODING_WINDOWS_1252);
  UpdateData(false);
  if (m_pBuddy != nullptr) {
    m_pBuddy->MergeFindHistoryFromRegistry();
    FillHistoryCombo(host, IDC_EDIT_TEXT, m_pBuddy->GetFindHistory(), m_sText);
    m_pBuddy->MergeReplaceHistoryFromRegistry();
    FillHistoryCombo(host, IDC_EDIT_REPLACE_WITH, m_pBuddy->GetReplaceHistory(), m_sNewText);
  }
  m_nSelStart = m_nSelEnd = m_nReplaceSelStart = m_nReplaceSelEnd = -1;
  UpdateData(true);
  host.EnableDlgItem(IDC_EDIT_FINDNEXT, !m_sText.empty());
  host.EnableDlgItem(IDC_EDIT_SCOPE_SELECTION, m_bEnableScopeSelection);
  host.EnableDlgItem(IDC_EDIT_SKIP, true);
  m_bFound = false;
  return 1;
}

bool CReplaceDlg::DoHighlightText(bool bQuiet, bool bWrap) {
  if (m_pBuddy == nullptr) return false;
  const unsigned long dwFlags =
      SEARCH_IGNORE_SELECTION | SearchFlags(m_bMatchCase, m_bWholeWord, m_bRegExp);
  CPoint ptFound;
  int nLength = 0;
  int bFound;
  if (m_nScope == 0) {
    bFound = m_pBuddy->FindTextInBlock(m_sText, m_ptFoundAt, m_ptBlockBegin, m_ptBlockEnd,
                                       dwFlags, false, &ptFound, &nLength);
  } else {
    bFound = m_pBuddy->FindText(m_sText, m_ptFoundAt, dwFlags, bWrap, &ptFound, &nLength);
  }
  if (!bFound) {
    if (!bQuiet) ReportNotFound(m_sText);
    m_ptSearchOrigin = m_nScope == 0 ? m_ptBlockBegin : CPoint(0, 0);
    return false;
  }
  m_ptFoundAt = ptFound;
  m_pBuddy->HighlightText(ptFound, m_bRegExp ? nLength : static_cast<int>(m_sText.size()));
  return true;
}

void CReplaceDlg::AdjustBlock() {
  if (!m_bEnableScopeSelection) return;
  const int nDelta = static_cast<int>(m_sNewText.size()) - static_cast<int>(m_sText.size());
  if (m_ptBlockEnd.y == m_ptFoundAt.y && m_ptBlockEnd.x > m_ptFoundAt.x) m_ptBlockEnd.x += nDelta;
  if (m_ptBlockBegin.y == m_ptFoundAt.y && m_ptBlockBegin.x > m_ptFoundAt.x)
    m_ptBlockBegin.x += nDelta;
}

bool CReplaceDlg::TakeTexts() {
  UpdateData(true);
  if (m_sText.empty() || m_pBuddy == nullptr) return false;
  m_pBuddy->AddToRecentFind(m_sText);
  m_pBuddy->AddToRecentReplace(m_sNewText);
  return true;
}

void CReplaceDlg::OnFindNext() {
  if (!TakeTexts()) return;
  if (!m_bFound) {
    m_ptFoundAt = m_ptSearchOrigin;
    m_bFound = DoHighlightText(false, false);
  } else {
    m_ptFoundAt.x += 1;
    m_bFound = DoHighlightText(false, true);
  }
}

void CReplaceDlg::OnReplace() {
  if (!TakeTexts()) return;
  if (!m_bFound) {
    m_ptFoundAt = m_ptSearchOrigin;
    m_bFound = DoHighlightText(false, true);
    if (!m_bFound) return;
  }
  m_pBuddy->ReplaceSelection(m_sNewText.c_str());
  AdjustBlock();
  m_ptFoundAt = m_pBuddy->GetCursorPos();  // after the inserted text, line breaks and all
  m_bFound = DoHighlightText(false, true);
}

void CReplaceDlg::OnReplaceAll() {
  if (!TakeTexts()) return;
  m_ptFoundAt = m_ptSearchOrigin = CPoint(0, 0);
  m_bFound = false;
  CPoint ptBegin(0, 0);
  CPoint ptEnd;
  if (m_nScope == 0) {
    ptBegin = m_ptBlockBegin;
    ptEnd = m_ptBlockEnd;
  } else if (const int nLastLine = m_pBuddy->GetLineCount() - 1; nLastLine >= 0) {
    ptEnd = CPoint(m_pBuddy->GetLineLength(nLastLine), nLastLine);
  }
  bool bCancelled = false;
  const int nCount = m_pBuddy->ReplaceAll(m_sText, m_sNewText,
                                          SearchFlags(m_bMatchCase, m_bWholeWord, m_bRegExp),
                                          ptBegin, ptEnd, &bCancelled);
  if (m_bEnableScopeSelection) {
    // The block moved with the edits, as the selection the view restores did.
    m_pBuddy->GetPushedSelection(m_ptBlockBegin, m_ptBlockEnd);
  }
  m_ptSearchOrigin = m_nScope == 0 ? m_ptBlockBegin : CPoint(0, 0);
  if (nCount > 0) {
    AfxMessageBox(Format("Editor has made %d replacement.", nCount), MB_OK);
  } else if (!bCancelled) {
    ReportNotFound(m_sText);
  }
}

void CReplaceDlg::OnCommand(IDialogHost& host, int nID, int nNotification) {
  if (nNotification != BN_CLICKED) {
    if (nID == IDC_EDIT_TEXT &&
        (nNotification == CBN_EDITCHANGE || nNotification == CBN_SELCHANGE)) {
      UpdateData(true);
      host.EnableDlgItem(IDC_EDIT_FINDNEXT, !m_sText.empty());
    }
    return;
  }
  switch (nID) {
    case IDC_EDIT_FINDNEXT:
      OnFindNext();
      break;
    // The replacements are edits of the view: its command boundary takes back a failed one.
    case IDC_EDIT_SKIP:
      if (m_pBuddy != nullptr) m_pBuddy->RunEditCommand([this] { OnReplace(); });
      break;
    case IDC_EDIT_REPLACE:
      if (m_pBuddy != nullptr) m_pBuddy->RunEditCommand([this] { OnReplaceAll(); });
      break;
    case IDC_EDIT_WHOLE_WORD:
    case IDC_EDIT_MATCH_CASE:
    case IDC_EDIT_REGEXP:
      UpdateData(true);
      if (m_bFound && m_pBuddy != nullptr) {
        CPoint ptStart, ptEnd;
        m_pBuddy->GetSelection(ptStart, ptEnd);
        m_pBuddy->SetSelection(ptStart, ptStart);
        m_bFound = false;
      }
      break;
    case IDC_EDIT_SCOPE_WHOLE_FILE:
      host.EnableDlgItem(IDC_EDIT_SKIP, true);
      break;
    case IDC_FIND_REGEXP_MENU:
    case IDC_REPLACE_REGEXP_MENU: {
      const bool bSearchField = nID == IDC_FIND_REGEXP_MENU;
      const int nField = bSearchField ? IDC_EDIT_TEXT : IDC_EDIT_REPLACE_WITH;
      int& nStart = bSearchField ? m_nSelStart : m_nReplaceSelStart;
      int& nEnd = bSearchField ? m_nSelEnd : m_nReplaceSelEnd;
      host.GetEditSel(nField, nStart, nEnd);
      const std::string text =
          RegexpMenuText(host.TrackPopupMenu(bSearchField ? m_menuRegexp : m_menuReplace, nID));
      if (text.empty()) break;
      InsertIntoField(host, nField, text, nStart, nEnd);
      UpdateData(true);
      host.EnableDlgItem(IDC_EDIT_FINDNEXT, !m_sText.empty());
      m_bRegExp = 1;
      host.CheckDlgButton(IDC_EDIT_REGEXP, BST_CHECKED);
      break;
    }
    default:
      break;
  }
}

bool CReplaceDlg::OnCancel() {
  m_sText.clear();
  m_sNewText.clear();
  UpdateData(true);
  return true;
}

void CReplaceDlg::OnDestroy(IDialogHost& host) {
  if (m_pBuddy != nullptr) m_pBuddy->SetToolBarMessage("");
  CDialog::OnDestroy(host);
}

// ---- CGoToDlg ----

CGoToDlg::CGoToDlg(QuillView* pBuddy) : CDialog(IDD_EDIT_GOTO), m_pBuddy(pBuddy) {}

int CGoToDlg::OnInitDialog() {
  IDialogHost& host = *GetHost();
  host.SetDlgItemText(IDC_GOTO_NUMBER, std::to_string(m_nNumber));
  host.CheckDlgButton(IDC_GOTO_LINE, m_nMode == 0 ? BST_CHECKED : BST_UNCHECKED);
  host.CheckDlgButton(IDC_GOTO_COLUMN, m_nMode == 1 ? BST_CHECKED : BST_UNCHECKED);
  host.CheckDlgButton(IDC_GOTO_BOOKMARK, m_nMode == 2 ? BST_CHECKED : BST_UNCHECKED);
  host.SetFocus(IDC_GOTO_NUMBER);
  host.SetEditSel(IDC_GOTO_NUMBER, 0, -1);
  return 0;
}

bool CGoToDlg::OnOK() {
  IDialogHost& host = *GetHost();
  const std::string text = host.GetDlgItemText(IDC_GOTO_NUMBER);
  constexpr unsigned long kMaxNumber = 10000000;
  unsigned long nValue = 0;
  bool bValid = !text.empty() && text.size() <= 8;
  for (char c : text) {
    if (c < '0' || c > '9') {
      bValid = false;
      break;
    }
    nValue = nValue * 10 + static_cast<unsigned long>(c - '0');
  }
  if (!bValid || nValue > kMaxNumber) {
    AfxMessageBox(Format("Please enter an integer between %d and %d.", 0, 10000000),
                  MB_OK | MB_ICONWARNING);
    host.SetFocus(IDC_GOTO_NUMBER);
    return false;
  }
  m_nNumber = static_cast<unsigned>(nValue);
  m_nMode = host.IsDlgButtonChecked(IDC_GOTO_COLUMN) == BST_CHECKED     ? 1
            : host.IsDlgButtonChecked(IDC_GOTO_BOOKMARK) == BST_CHECKED ? 2
                                                                        : 0;
  return true;
}

}  // namespace quill
