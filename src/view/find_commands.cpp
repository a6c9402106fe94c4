// The find and replace commands: the dialogs, the repeat and in-place searches, replacing
// the selection, and the find and replace histories kept in the settings store.

#include <algorithm>
#include <string>

#include "buffer/buffer_defs.h"
#include "buffer/text_buffer.h"
#include "platform/app_services.h"
#include "platform/format.h"
#include "resources/strings.h"
#include "settings/registry.h"
#include "style/document_style.h"
#include "view/quill_view.h"
#include "view/search_flags.h"
#include "view/view_dialogs.h"

namespace quill {

namespace {

constexpr int kMaxStoredHistory = 30;

// Path of one of the style's option values ("\\MatchCase" ...).
std::string OptionPath(const TDocumentStyle& style, const char* pszValue) {
  return RegistryPath(Format("%s\\%s", "\\General", style.GetProfileName().c_str()), pszValue);
}

bool ReadOption(const TDocumentStyle* pStyle, const char* pszValue, bool bDefault) {
  if (pStyle == nullptr) return bDefault;
  return registry_int<bool>(OptionPath(*pStyle, pszValue), HKEY_CURRENT_USER, bDefault).read();
}

void WriteOptions(const TDocumentStyle* pStyle, int bMatchCase, int bWholeWord, int bRegExp) {
  if (pStyle == nullptr) return;
  registry_int<bool>(OptionPath(*pStyle, "\\MatchCase"), HKEY_CURRENT_USER, false)
      .write(bMatchCase != 0);
  registry_int<bool>(OptionPath(*pStyle, "\\WholeWord"), HKEY_CURRENT_USER, false)
      .write(bWholeWord != 0);
  registry_int<bool>(OptionPath(*pStyle, "\\Regex"), HKEY_CURRENT_USER, false).write(bRegExp != 0);
}

void MergeFromRegistry(std::deque<std::string>& history, const char* pszSection) {
  const int nCount = registry_int<int>(RegistryPath("COMMON\\", Format("%s\\Number", pszSection)),
                                       HKEY_CURRENT_USER, 0)
                         .read();
  std::vector<std::string> stored;
  for (int i = 0; i < nCount; ++i) {
    std::string entry = registry_string<std::string>(
                            RegistryPath("COMMON\\", Format("%s\\Item\\%d", pszSection, i)),
                            HKEY_CURRENT_USER, std::string())
                            .read();
    if (!entry.empty()) stored.push_back(std::move(entry));
  }
  for (const std::string& entry : stored)
    if (std::find(history.begin(), history.end(), entry) == history.end())
      history.push_front(entry);
}

void MergeToRegistry(std::deque<std::string>& history, const char* pszSection) {
  MergeFromRegistry(history, pszSection);
  int i = 0;
  for (const std::string& entry : history) {
    registry_string<std::string>(RegistryPath("COMMON\\", Format("%s\\Item\\%d", pszSection, i++)),
                                 HKEY_CURRENT_USER, std::string())
        .write(entry);
  }
  if (!history.empty()) {
    registry_int<int>(RegistryPath("COMMON\\", Format("%s\\Number", pszSection)),
                      HKEY_CURRENT_USER, 0)
        .write(std::min(static_cast<int>(history.size()), kMaxStoredHistory));
  }
}

}  // namespace

// ---- histories ----

void QuillView::AddToRecentFind(const std::string& text) {
  if (std::find(m_findHistory.begin(), m_findHistory.end(), text) != m_findHistory.end()) return;
  m_findHistory.push_front(text);
  MergeFindHistoryToRegistry();
}

void QuillView::AddToRecentReplace(const std::string& text) {
  if (std::find(m_replaceHistory.begin(), m_replaceHistory.end(), text) != m_replaceHistory.end())
    return;
  m_replaceHistory.push_front(text);
  MergeReplaceHistoryToRegistry();
}

void QuillView::MergeFindHistoryFromRegistry() { MergeFromRegistry(m_findHistory, "Finds"); }
void QuillView::MergeFindHistoryToRegistry() { MergeToRegistry(m_findHistory, "Finds"); }
void QuillView::MergeReplaceHistoryFromRegistry() {
  MergeFromRegistry(m_replaceHistory, "Replaces");
}
void QuillView::MergeReplaceHistoryToRegistry() { MergeToRegistry(m_replaceHistory, "Replaces"); }

// ---- the dialogs ----

// The selected text when the selection lies on one line; the word around the caret when
// there is no selection; empty for a selection over several lines.
std::string QuillView::GetTextForSearch() {
  std::string text;
  if (m_pTextBuffer == nullptr) return text;
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  if (IsSelection()) {
    if (ptStart.y == ptEnd.y) GetText(ptStart, ptEnd, text);
    return text;
  }
  const CPoint ptWordStart = WordToLeft(m_ptCursorPos);
  const CPoint ptWordEnd = WordToRight(m_ptAnchor);
  if (ptWordStart.y == m_ptCursorPos.y && ptWordEnd.y == m_ptCursorPos.y &&
      ptWordStart.x < ptWordEnd.x) {
    GetText(ptWordStart, ptWordEnd, text);
  }
  return text;
}

void QuillView::OnEditFind() {
  FindDialogFields dlg;
  if (m_bHasLastFind) {
    dlg.nDirection = (m_dwLastFindFlags & SEARCH_BACKWARD) ? 0 : 1;
    dlg.bMatchCase = (m_dwLastFindFlags & SEARCH_MATCH_CASE) != 0;
    dlg.bWholeWord = (m_dwLastFindFlags & SEARCH_WHOLE_WORD) != 0;
    if (m_sLastFindText) dlg.sText = *m_sLastFindText;
  } else {
    dlg.nDirection = 1;
    dlg.bMatchCase = ReadOption(m_pStyle.get(), "\\MatchCase", false);
    dlg.bWholeWord = ReadOption(m_pStyle.get(), "\\WholeWord", false);
  }
  dlg.bRegExp = 0;
  const std::string initial = GetTextForSearch();
  if (!initial.empty()) dlg.sText = initial;
  dlg.ptCurrentPos = m_ptCursorPos;

  const bool bShowInactive = m_bShowInactiveSelection;
  m_bShowInactiveSelection = true;
  IViewDialogs* pDialogs = GetViewDialogs();
  const int nResult = pDialogs ? pDialogs->RunFind(*this, dlg) : IDCANCEL;
  m_bShowInactiveSelection = bShowInactive;

  m_bHasLastFind = true;
  m_sLastFindText = dlg.sText;
  m_dwLastFindFlags = 0;
  if (dlg.bMatchCase) m_dwLastFindFlags |= SEARCH_MATCH_CASE;
  if (dlg.bWholeWord) m_dwLastFindFlags |= SEARCH_WHOLE_WORD;
  if (dlg.nDirection == 0) m_dwLastFindFlags |= SEARCH_BACKWARD;
  if (dlg.bRegExp) m_dwLastFindFlags |= SEARCH_REGEX;
  WriteOptions(m_pStyle.get(), dlg.bMatchCase, dlg.bWholeWord, dlg.bRegExp);
  // Find Next with an expression only closes the dialog: the search runs here, once, so
  // the match is selected as a plain text's is.
  if (nResult == IDOK && dlg.bRegExp && !dlg.sText.empty()) {
    AddToRecentFind(dlg.sText);
    RepeatFind(dlg.nDirection == 0);
  }
}

void QuillView::OnEditReplace() {
  if (!QueryEditable()) return;
  ReplaceDialogFields dlg;
  dlg.bMatchCase = ReadOption(m_pStyle.get(), "\\MatchCase", false);
  dlg.bWholeWord = ReadOption(m_pStyle.get(), "\\WholeWord", false);
  dlg.bRegExp = 0;
  if (IsSelection()) {
    GetSelection(m_ptSavedSelStart, m_ptSavedSelEnd);
    m_bSelectionPushed = true;
    dlg.bEnableScopeSelection = true;
    dlg.ptSearchOrigin = dlg.ptBlockBegin = m_ptSavedSelStart;
    dlg.ptBlockEnd = m_ptSavedSelEnd;
    if (m_ptSavedSelStart.y == m_ptSavedSelEnd.y) {
      dlg.nScope = 1;
      GetText(m_ptSavedSelStart, m_ptSavedSelEnd, dlg.sText);
    } else {
      dlg.nScope = 0;
    }
  } else {
    dlg.ptSearchOrigin = m_ptCursorPos;
    dlg.bEnableScopeSelection = false;
    dlg.sText = GetTextForSearch();
  }

  const bool bShowInactive = m_bShowInactiveSelection;
  m_bShowInactiveSelection = true;
  if (IViewDialogs* pDialogs = GetViewDialogs()) pDialogs->RunReplace(*this, dlg);
  m_bShowInactiveSelection = bShowInactive;

  if (m_bSelectionPushed) {
    SetSelection(m_ptSavedSelStart, m_ptSavedSelEnd);
    m_bSelectionPushed = false;
  }
  WriteOptions(m_pStyle.get(), dlg.bMatchCase, dlg.bWholeWord, dlg.bRegExp);
}

// ---- repeat and in-place searches ----

void QuillView::RepeatFind(bool bBackward) {
  if (!m_bHasLastFind) return;
  if (bBackward) {
    m_dwLastFindFlags |= SEARCH_BACKWARD;
  } else {
    m_dwLastFindFlags &= ~SEARCH_BACKWARD;
  }
  const std::string text = m_sLastFindText.value_or(std::string());
  CPoint ptFound;
  int nLength = 0;
  if (!FindText(text, CPoint(m_ptCursorPos.x + 1, m_ptCursorPos.y), m_dwLastFindFlags, true,
                &ptFound, &nLength)) {
    AfxMessageBox(Format(LoadString(IDS_EDIT_TEXT_NOT_FOUND).c_str(), text.c_str()),
                  MB_OK | MB_ICONINFORMATION);
    return;
  }
  HighlightText(ptFound,
                (m_dwLastFindFlags & SEARCH_REGEX) ? nLength : static_cast<int>(text.size()));
}

void QuillView::OnEditRepeat() { RepeatFind(false); }
void QuillView::OnEditFindPrevious() { RepeatFind(true); }

void QuillView::OnFindNextInplace() {
  const std::string text = GetTextForSearch();
  if (text.empty()) return;
  m_sLastFindText = text;
  m_bHasLastFind = true;
  OnEditRepeat();
}

void QuillView::OnFindpreviousInplace() {
  const std::string text = GetTextForSearch();
  if (text.empty()) return;
  m_sLastFindText = text;
  m_bHasLastFind = true;
  OnEditFindPrevious();
}

void QuillView::OnUpdateEditRepeat(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bHasLastFind); }

// ---- replacing ----

int QuillView::ReplaceSelection(const char* pszNewText) {
  if (m_pTextBuffer == nullptr) return 0;
  if (IsSelection()) DeleteCurrentSelection();
  const CPoint ptStart = m_ptCursorPos;
  const CPoint ptEnd = InsertAt(ptStart, pszNewText != nullptr ? pszNewText : "",
                                UNDO_ACTION_REPLACE);
  m_ptAnchor = ptStart;
  SetSelection(ptStart, ptEnd);
  SetCursorPos(ptEnd);
  EnsureVisible(ptEnd);
  return 1;
}

}  // namespace quill
