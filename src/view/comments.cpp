// Inserting and removing comments with the delimiters of the document type.

#include <cstring>
#include <string>

#include "buffer/buffer_defs.h"
#include "buffer/text_buffer.h"
#include "style/document_style.h"
#include "view/edit_group.h"
#include "view/quill_view.h"

namespace quill {

namespace {

std::string TakeDelimiter(char* psz) {
  std::string text = psz != nullptr ? psz : "";
  delete[] psz;
  return text;
}

}  // namespace

QuillView::CommentDelims QuillView::GetCommentDelims() const {
  CommentDelims delims;
  if (m_pStyle == nullptr) return delims;
  char* pszSingle = nullptr;
  m_pStyle->GetSingleCommentsDelims(&pszSingle, 0);
  delims.single = TakeDelimiter(pszSingle);
  char* pszOpen = nullptr;
  char* pszClose = nullptr;
  m_pStyle->GetCommentsDelims(&pszOpen, &pszClose);
  delims.open = TakeDelimiter(pszOpen);
  delims.close = TakeDelimiter(pszClose);
  return delims;
}

bool QuillView::HasSingleLineCommentInSelection(const std::string& single) {
  if (m_pTextBuffer == nullptr || single.empty()) return false;
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  for (int nLine = ptStart.x == 0 ? ptStart.y : ptStart.y + 1; nLine <= ptEnd.y; ++nLine) {
    if (GetLineLength(nLine) >= static_cast<int>(single.size()) &&
        std::memcmp(GetLineChars(nLine), single.data(), single.size()) == 0) {
      return true;
    }
  }
  return false;
}

// The opening and the closing delimiter of a multi-line comment, both beginning between
// the selection start and the selection end (the closing one after the opening one).
bool QuillView::FindMultiLineComment(const CommentDelims& delims, CPoint& ptOpen,
                                     CPoint& ptClose) {
  if (m_pTextBuffer == nullptr || delims.open.empty() || delims.close.empty()) return false;
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  const CPoint ptBlockEnd(ptEnd.x + 1, ptEnd.y);
  const unsigned long dwFlags = SEARCH_MATCH_CASE | SEARCH_IGNORE_SELECTION;
  int nLength = 0;
  if (!SearchInBlock(delims.open, ptStart, CPoint(0, 0), ptBlockEnd, dwFlags, false, &ptOpen,
                     &nLength, false)) {
    return false;
  }
  const CPoint ptFrom(ptOpen.x + static_cast<int>(delims.open.size()), ptOpen.y);
  return SearchInBlock(delims.close, ptFrom, CPoint(0, 0), ptBlockEnd, dwFlags, false, &ptClose,
                       &nLength, false) != 0;
}

void QuillView::OnInsertSingleLineComment() {
  if (m_pTextBuffer == nullptr) return;
  const std::string single = GetCommentDelims().single;
  if (single.empty()) return;
  EditGroup group(*this, false);
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  m_ptCursorPos = ptStart;
  if (ptStart.y == ptEnd.y) {
    InsertAt(ptStart, single.c_str(), UNDO_ACTION_TYPING);
  } else {
    for (int nLine = ptStart.y; nLine <= ptEnd.y; ++nLine) {
      InsertAt(CPoint(0, nLine), single.c_str(), UNDO_ACTION_TYPING);
    }
  }
  PlaceAt(ptStart);
  group.Close();
}

void QuillView::OnInsertMultiLineComment() {
  if (m_pTextBuffer == nullptr) return;
  const CommentDelims delims = GetCommentDelims();
  if (delims.open.empty() || delims.close.empty()) return;
  EditGroup group(*this, false);
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  m_ptCursorPos = ptStart;
  if (ptStart.y == ptEnd.y) {
    InsertAt(ptStart, delims.open.c_str(), UNDO_ACTION_TYPING);
    InsertAt(CPoint(ptEnd.x + static_cast<int>(delims.open.size()), ptEnd.y),
             delims.close.c_str(), UNDO_ACTION_TYPING);
  } else {
    InsertAt(ptStart, (delims.open + "\r\n").c_str(), UNDO_ACTION_TYPING);
    InsertAt(CPoint(ptEnd.x, ptEnd.y + 1), (delims.close + "\r\n").c_str(), UNDO_ACTION_TYPING);
  }
  PlaceAt(ptStart);
  group.Close();
}

void QuillView::OnRemoveSingleLineComment() {
  if (m_pTextBuffer == nullptr) return;
  const std::string single = GetCommentDelims().single;
  if (single.empty()) return;
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  EditGroup group(*this, false);
  const int nLength = static_cast<int>(single.size());
  for (int nLine = ptStart.y; nLine <= ptEnd.y; ++nLine) {
    if (GetLineLength(nLine) >= nLength &&
        std::memcmp(GetLineChars(nLine), single.data(), single.size()) == 0) {
      DeleteRange(CPoint(0, nLine), CPoint(nLength, nLine), UNDO_ACTION_DELSEL);
    }
  }
  // The selection end, as the deletions moved it.
  GetSelection(ptStart, ptEnd);
  PlaceAt(ptEnd);
  group.Close();
}

void QuillView::OnRemoveMultiLineComment() {
  const CommentDelims delims = GetCommentDelims();
  CPoint ptOpen, ptClose;
  if (!FindMultiLineComment(delims, ptOpen, ptClose)) return;
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  EditGroup group(*this, false);
  DeleteRange(ptClose, CPoint(ptClose.x + static_cast<int>(delims.close.size()), ptClose.y),
              UNDO_ACTION_DELSEL);
  DeleteRange(ptOpen, CPoint(ptOpen.x + static_cast<int>(delims.open.size()), ptOpen.y),
              UNDO_ACTION_DELSEL);
  GetSelection(ptStart, ptEnd);
  PlaceAt(ptStart);
  group.Close();
}

void QuillView::OnUpdateMultiLineComment(CCmdUI* pCmdUI) {
  if (pCmdUI != nullptr) pCmdUI->Enable(IsSelection());
}

void QuillView::OnUpdateRemoveSingleLineComment(CCmdUI* pCmdUI) {
  if (pCmdUI != nullptr) pCmdUI->Enable(HasSingleLineCommentInSelection(GetCommentDelims().single));
}

void QuillView::OnUpdateRemoveMultiLineComment(CCmdUI* pCmdUI) {
  if (pCmdUI == nullptr) return;
  CPoint ptOpen, ptClose;
  pCmdUI->Enable(FindMultiLineComment(GetCommentDelims(), ptOpen, ptClose));
}

}  // namespace quill
