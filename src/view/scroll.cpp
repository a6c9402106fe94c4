// QuillView: the scroll bars' range, page and position.

#include "view/quill_view.h"

namespace quill {

void QuillView::RecalcVertScrollBar(int bPositionOnly) {
  if (!HasWindow()) return;
  SCROLLINFO si;
  if (bPositionOnly) {
    si.fMask = SIF_POS;
    si.nPos = m_nTopLine;
  } else {
    if (GetScreenLines() >= GetLineCount() && m_nTopLine > 0) {
      m_nTopLine = 0;
      InvalidateAll(true);
      UpdateCaret();
    }
    si.fMask = SIF_DISABLENOSCROLL | SIF_PAGE | SIF_POS | SIF_RANGE;
    si.nMin = 0;
    si.nMax = GetLineCount() - 1;
    si.nPage = static_cast<unsigned>(GetScreenLines());
    si.nPos = m_nTopLine;
  }
  m_pWnd->SetScrollInfo(SB_VERT, si, true);
}

void QuillView::RecalcHorzScrollBar(int bPositionOnly) {
  if (!HasWindow()) return;
  SCROLLINFO si;
  if (bPositionOnly) {
    si.fMask = SIF_POS;
    si.nPos = m_nOffsetChar;
  } else {
    if (GetScreenChars() >= GetMaxLineLength() && m_nOffsetChar > 0) {
      m_nOffsetChar = 0;
      InvalidateAll(true);
      UpdateCaret();
    }
    si.fMask = SIF_DISABLENOSCROLL | SIF_PAGE | SIF_POS | SIF_RANGE;
    si.nMin = 0;
    si.nMax = GetMaxLineLength() - 1;
    si.nPage = static_cast<unsigned>(GetScreenChars());
    si.nPos = m_nOffsetChar;
  }
  m_pWnd->SetScrollInfo(SB_HORZ, si, true);
}

}  // namespace quill
