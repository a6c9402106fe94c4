// QuillView: the scroll bars' range, page and position.

#include "view/quill_view.h"

namespace quill {

// One bar: lines (vertical) or columns (horizontal). Unless only the position changes,
// a scroll position that is no longer needed (everything fits) goes back to 0, and the
// bar shows range, page and position, disabled rather than hidden when it cannot scroll.
void QuillView::RecalcScrollBar(int nBar, int bPositionOnly, int& nPos, int nPage, int nTotal) {
  if (!HasWindow()) return;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  if (!bPositionOnly) {
    if (nPage >= nTotal && nPos > 0) {
      nPos = 0;
      InvalidateAll(true);
      UpdateCaret();
    }
    si.fMask = SIF_DISABLENOSCROLL | SIF_PAGE | SIF_POS | SIF_RANGE;
    si.nMin = 0;
    si.nMax = nTotal - 1;
    si.nPage = static_cast<unsigned>(nPage);
  }
  si.nPos = nPos;
  m_pWnd->SetScrollInfo(nBar, si, true);
}

void QuillView::RecalcVertScrollBar(int bPositionOnly) {
  if (!HasWindow()) return;
  if (m_nBulkDepth > 0) {
    m_bBulkVertBar = true;
    return;
  }
  RecalcScrollBar(SB_VERT, bPositionOnly, m_nTopLine, bPositionOnly ? 0 : GetScreenLines(),
                  bPositionOnly ? 0 : GetLineCount());
}

void QuillView::RecalcHorzScrollBar(int bPositionOnly) {
  if (!HasWindow()) return;
  // The longest line is measured once, when the bulk edit ends.
  if (m_nBulkDepth > 0) {
    m_bBulkHorzBar = true;
    return;
  }
  RecalcScrollBar(SB_HORZ, bPositionOnly, m_nOffsetChar, bPositionOnly ? 0 : GetScreenChars(),
                  bPositionOnly ? 0 : GetMaxLineLength());
}

}  // namespace quill
