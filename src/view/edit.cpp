// Editing: typing with overwrite mode and automatic indentation, Delete and Backspace,
// Tab and Shift+Tab with block indentation, undo and redo, text insertion for hosts, and
// the jump to the matching bracket.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <string_view>

#include "buffer/buffer_defs.h"
#include "buffer/text_buffer.h"
#include "platform/text_encoding.h"
#include "view/bulk_update.h"
#include "view/edit_group.h"
#include "view/quill_view.h"

namespace quill {

namespace {

constexpr int kVirtualKeyLButton = 0x01;
constexpr int kVirtualKeyRButton = 0x02;
constexpr unsigned kEnter = 13;

// Bracket pairs: an opening bracket at an even index, its partner after it.
constexpr std::string_view kBrackets = "(){}[]<>";

}  // namespace

// ---- helpers ----

bool QuillView::CanEdit() { return m_pTextBuffer != nullptr && QueryEditable(); }

void QuillView::PlaceAt(const CPoint& pt) {
  SetAnchor(pt);
  SetSelection(pt, pt);
  SetCursorPos(pt);
  EnsureVisible(pt);
}

CPoint QuillView::InsertAt(const CPoint& pt, const char* pszText, int nAction) {
  int nEndLine = pt.y;
  int nEndChar = pt.x;
  if (m_pTextBuffer->InsertText(this, pt.y, pt.x, pszText, nEndLine, nEndChar, nAction)) {
    m_bGroupEdited = true;
    ++m_nEditCount;
  }
  return CPoint(nEndChar, nEndLine);
}

void QuillView::DeleteRange(const CPoint& ptStart, const CPoint& ptEnd, int nAction) {
  if (ptStart == ptEnd) return;
  if (m_pTextBuffer->DeleteText(this, ptStart.y, ptStart.x, ptEnd.y, ptEnd.x, nAction)) {
    m_bGroupEdited = true;
    ++m_nEditCount;
  }
}

bool QuillView::DeleteCurrentSelection() {
  if (m_pTextBuffer == nullptr || !IsSelection()) return false;
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  PlaceAt(ptStart);
  DeleteRange(ptStart, ptEnd, UNDO_ACTION_DELSEL);
  return true;
}

// The whole lines a selection over several lines covers become the selection, cursor at
// its end: from the start of its first line to the start of the line after its last (the
// end of the text on the last line). A selection ending at the start of a line leaves
// that line out. False for a selection within one line.
bool QuillView::SelectBlockLines(int& nFirstLine, int& nLastLine) {
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  if (ptStart.y == ptEnd.y) return false;
  nFirstLine = ptStart.y;
  CPoint ptBlockEnd;
  if (ptEnd.x == 0) {
    nLastLine = ptEnd.y - 1;
    ptBlockEnd = CPoint(0, ptEnd.y);
  } else {
    nLastLine = ptEnd.y;
    ptBlockEnd = ptEnd.y + 1 < GetLineCount() ? CPoint(0, ptEnd.y + 1)
                                               : CPoint(GetLineLength(ptEnd.y), ptEnd.y);
  }
  const CPoint ptBlockStart(0, nFirstLine);
  SetAnchor(ptBlockStart);
  SetSelection(ptBlockStart, ptBlockEnd);
  SetCursorPos(ptBlockEnd);
  EnsureVisible(ptBlockEnd);
  return true;
}

// ---- typing ----

void QuillView::OnChar(unsigned nChar, unsigned, unsigned) {
  if (HasWindow() && (m_pWnd->GetKeyState(kVirtualKeyLButton) < 0 ||
                      m_pWnd->GetKeyState(kVirtualKeyRButton) < 0)) {
    return;
  }
  RunEditCommand([this, nChar] { TypeChar(nChar); });
}

void QuillView::TypeChar(unsigned nChar) {
  if (nChar == kEnter) {
    if (m_bOvrMode && m_ptCursorPos.y < GetLineCount() - 1) {
      PlaceAt(CPoint(0, m_ptCursorPos.y + 1));
      return;
    }
    if (!CanEdit()) return;
    EditGroup group(*this, false);
    DeleteCurrentSelection();
    PlaceAt(InsertAt(m_ptCursorPos, "\r\n", UNDO_ACTION_TYPING));
    group.Close();  // automatic indentation follows (OnEditOperation)
    return;
  }
  const bool bUtf8 = IsUtf8Text();
  if (nChar < 32 || nChar > (bUtf8 ? 0x10FFFFu : 255u) || (nChar >= 0xD800 && nChar <= 0xDFFF && bUtf8) ||
      !CanEdit()) {
    return;
  }
  std::string text;
  if (bUtf8)
    AppendUtf8(text, static_cast<char32_t>(nChar));
  else
    text.push_back(static_cast<char>(nChar));

  EditGroup group(*this, nChar != ' ');
  if (!DeleteCurrentSelection() && m_bOvrMode && m_ptCursorPos.x < GetLineLength(m_ptCursorPos.y)) {
    DeleteRange(m_ptCursorPos, CPoint(NextCharPos(m_ptCursorPos.y, m_ptCursorPos.x), m_ptCursorPos.y),
                UNDO_ACTION_TYPING);
  }
  PlaceAt(InsertAt(m_ptCursorPos, text.c_str(), UNDO_ACTION_TYPING));
  group.Close();
}

void QuillView::OnEditOperation(int nAction, const char* pszText) {
  if (!m_bAutoIndent) return;
  if (nAction == UNDO_ACTION_TYPING && pszText != nullptr && std::strcmp(pszText, "\r\n") == 0 &&
      !m_bOvrMode && m_pTextBuffer != nullptr) {
    const int nPrevLine = m_ptCursorPos.y - 1;
    if (nPrevLine >= 0 && nPrevLine < GetLineCount()) {
      const char* pszChars = GetLineChars(nPrevLine);
      const int nLength = GetLineLength(nPrevLine);
      int nBlanks = 0;
      while (nBlanks < nLength && std::isspace(static_cast<unsigned char>(pszChars[nBlanks]))) {
        ++nBlanks;
      }
      if (nBlanks > 0) {
        const std::string indent(pszChars, static_cast<std::size_t>(nBlanks));
        PlaceAt(InsertAt(m_ptCursorPos, indent.c_str(), UNDO_ACTION_AUTOINDENT));
      }
    }
  }
  OnEditChanged();
}

void QuillView::InsertText(const char* pszText, bool) {
  if (pszText == nullptr || !CanEdit()) return;
  RunEditCommand([this, pszText] {
    EditGroup group(*this, *pszText != '\0');
    if (!DeleteCurrentSelection() && m_bOvrMode && m_ptCursorPos.x < GetLineLength(m_ptCursorPos.y)) {
      DeleteRange(m_ptCursorPos, CPoint(NextCharPos(m_ptCursorPos.y, m_ptCursorPos.x), m_ptCursorPos.y),
                  UNDO_ACTION_TYPING);
    }
    PlaceAt(InsertAt(m_ptCursorPos, pszText, UNDO_ACTION_TYPING));
    group.Close();
  });
}

void QuillView::AppendText(const char* pszText, bool bGroup) {
  if (pszText == nullptr || !CanEdit()) return;
  RunEditCommand([&] { AppendLines(pszText, bGroup); });
}

void QuillView::AppendLines(const char* pszText, bool bGroup) {
  std::optional<EditGroup> group;
  if (bGroup) group.emplace(*this, false);
  std::string_view rest(pszText);
  while (!rest.empty()) {
    // Lines end at CR LF, or at LF when the rest holds no CR LF.
    std::size_t nBreak = rest.find("\r\n");
    std::size_t nBreakLength = 2;
    if (nBreak == std::string_view::npos) {
      nBreak = rest.find('\n');
      nBreakLength = 1;
    }
    const std::string piece(rest.substr(0, nBreak));
    if (!piece.empty()) PlaceAt(InsertAt(m_ptCursorPos, piece.c_str(), UNDO_ACTION_PASTE));
    if (nBreak == std::string_view::npos) break;
    PlaceAt(InsertAt(m_ptCursorPos, "\r\n", UNDO_ACTION_PASTE));
    rest.remove_prefix(nBreak + nBreakLength);
  }
  if (group) group->Close();
}

// ---- deleting ----

void QuillView::OnEditDelete() {
  if (!CanEdit()) return;
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  if (ptStart == ptEnd) {
    ptStart = ptEnd = m_ptCursorPos;
    if (ptStart.x < GetLineLength(ptStart.y)) {
      ptEnd.x = NextCharPos(ptStart.y, ptStart.x);
    } else if (ptStart.y + 1 < GetLineCount()) {
      ptEnd = CPoint(0, ptStart.y + 1);
    }
  }
  PlaceAt(ptStart);
  DeleteRange(ptStart, ptEnd, UNDO_ACTION_DELETE);
}

void QuillView::OnEditDeleteBack() {
  if (IsSelection()) {
    OnEditDelete();
    return;
  }
  if (!CanEdit()) return;
  const CPoint ptCursor = m_ptCursorPos;
  CPoint ptNew = ptCursor;
  if (ptCursor.x > 0) {
    ptNew.x = PrevCharPos(ptCursor.y, ptCursor.x);
  } else if (ptCursor.y > 0 && !m_bDisableBSAtSOL) {
    ptNew = CPoint(GetLineLength(ptCursor.y - 1), ptCursor.y - 1);
  }
  PlaceAt(ptNew);
  DeleteRange(ptNew, ptCursor, UNDO_ACTION_BACKSPACE);
}

// ---- indentation ----

void QuillView::OnEditTab() {
  if (!CanEdit()) return;
  int nFirstLine = 0;
  int nLastLine = 0;
  if (IsSelection()) {
    CPoint ptStart, ptEnd;
    GetSelection(ptStart, ptEnd);
    if (ptStart.y != ptEnd.y) {
      EditGroup group(*this, false);
      SelectBlockLines(nFirstLine, nLastLine);
      m_bHorzScrollBarLocked = true;
      for (int nLine = nFirstLine; nLine <= nLastLine; ++nLine) {
        InsertAt(CPoint(0, nLine), "\t", UNDO_ACTION_INDENT);
      }
      m_bHorzScrollBarLocked = false;
      RecalcHorzScrollBar();
      group.Close();
      return;
    }
  }
  const int nLength = GetLineLength(m_ptCursorPos.y);
  if (m_bOvrMode && m_ptCursorPos.x < nLength) {
    // Overwrite mode: to the next tab stop without changing text, stopping after a tab.
    const int nTabSize = std::max(GetTabSize(), 1);
    const int nColumn = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    const char* pszChars = GetLineChars(m_ptCursorPos.y);
    int x = m_ptCursorPos.x;
    for (int n = nTabSize - nColumn % nTabSize; n > 0 && x < nLength; --n) {
      if (pszChars[x++] == '\t') break;
    }
    PlaceAt(CPoint(x, m_ptCursorPos.y));
    return;
  }
  EditGroup group(*this, false);
  DeleteCurrentSelection();
  PlaceAt(InsertAt(m_ptCursorPos, "\t", UNDO_ACTION_TYPING));
  group.Close();
}

void QuillView::OnEditUntab() {
  if (!CanEdit()) return;
  const int nTabSize = std::max(GetTabSize(), 1);
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  if (ptStart.y != ptEnd.y) {
    EditGroup group(*this, false);
    int nFirstLine = 0;
    int nLastLine = 0;
    SelectBlockLines(nFirstLine, nLastLine);
    m_bHorzScrollBarLocked = true;
    for (int nLine = nFirstLine; nLine <= nLastLine; ++nLine) {
      const int nLength = GetLineLength(nLine);
      if (nLength == 0) continue;
      const char* pszChars = GetLineChars(nLine);
      int n = 0;
      while (n < nLength && n < nTabSize && pszChars[n] == ' ') ++n;
      if (n < nLength && n < nTabSize && pszChars[n] == '\t') ++n;
      DeleteRange(CPoint(0, nLine), CPoint(n, nLine), UNDO_ACTION_INDENT);
    }
    m_bHorzScrollBarLocked = false;
    RecalcHorzScrollBar();
    group.Close();
    return;
  }
  // To the previous tab stop without changing text.
  if (m_ptCursorPos.x == 0) return;
  const int nColumn = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
  const int nTarget = nColumn % nTabSize == 0 ? nColumn - nTabSize : nColumn - nColumn % nTabSize;
  const char* pszChars = GetLineChars(m_ptCursorPos.y);
  const int nLength = GetLineLength(m_ptCursorPos.y);
  int x = 0;
  for (int c = 0; x < nLength && c < nTarget; ++x) {
    c = pszChars[x] == '\t' ? c + nTabSize - c % nTabSize : c + 1;
  }
  PlaceAt(CPoint(x, m_ptCursorPos.y));
}

void QuillView::OnEditSwitchOvrmode() { m_bOvrMode = !m_bOvrMode; }

// ---- undo and redo ----

void QuillView::OnEditUndo() {
  if (!CanEdit() || !m_pTextBuffer->CanUndo()) return;
  CPoint pt;
  if (BulkUpdate bulk(m_pTextBuffer); !m_pTextBuffer->Undo(pt)) return;
  PlaceAt(pt);
}

void QuillView::OnEditRedo() {
  if (!CanEdit() || !m_pTextBuffer->CanRedo()) return;
  CPoint pt;
  if (BulkUpdate bulk(m_pTextBuffer); !m_pTextBuffer->Redo(pt)) return;
  PlaceAt(pt);
}

// ---- matching bracket ----

void QuillView::FindMatchDelimeter() {
  if (m_pTextBuffer == nullptr) return;
  const CPoint ptCursor = m_ptCursorPos;
  if (ptCursor.x >= GetLineLength(ptCursor.y)) return;
  const char chFrom = GetLineChars(ptCursor.y)[ptCursor.x];
  const std::size_t nIndex = chFrom != '\0' ? kBrackets.find(chFrom) : std::string_view::npos;
  if (nIndex == std::string_view::npos) return;
  const char chTo = kBrackets[nIndex ^ 1];
  const bool bForward = nIndex % 2 == 0;
  const int nLineCount = GetLineCount();

  int nDepth = 1;
  int y = ptCursor.y;
  int x = ptCursor.x + (bForward ? 1 : -1);
  while (y >= 0 && y < nLineCount) {
    const char* pszChars = GetLineChars(y);
    const int nLength = GetLineLength(y);
    for (; x >= 0 && x < nLength; x += bForward ? 1 : -1) {
      if (pszChars[x] == chFrom) {
        ++nDepth;
      } else if (pszChars[x] == chTo && --nDepth == 0) {
        const CPoint ptMatch(x, y);
        SetCursorPos(ptMatch);
        EnsureVisible(ptMatch);
        UpdateCaret();
        return;
      }
    }
    y += bForward ? 1 : -1;
    if (y >= 0 && y < nLineCount) x = bForward ? 0 : GetLineLength(y) - 1;
  }
}

// ---- update handlers ----

void QuillView::OnUpdateEditCut(CCmdUI* pCmdUI) {
  if (pCmdUI != nullptr) pCmdUI->Enable(IsSelection());
}

void QuillView::OnUpdateEditUndo(CCmdUI* pCmdUI) {
  if (pCmdUI != nullptr) pCmdUI->Enable(m_pTextBuffer != nullptr && m_pTextBuffer->CanUndo());
}

void QuillView::OnUpdateEditRedo(CCmdUI* pCmdUI) {
  if (pCmdUI != nullptr) pCmdUI->Enable(m_pTextBuffer != nullptr && m_pTextBuffer->CanRedo());
}

void QuillView::OnUpdateEditSwitchOvrmode(CCmdUI* pCmdUI) {
  if (pCmdUI != nullptr) pCmdUI->SetCheck(m_bOvrMode ? 1 : 0);
}

}  // namespace quill
