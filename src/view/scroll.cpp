// QuillView: the scroll bars' range, page and position.

#include <algorithm>

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
                  bPositionOnly ? 0 : HorzScrollRange());
}

bool QuillView::WidthsAreLazy() {
  return m_nMaxLineLength < 0 && m_pTextBuffer != nullptr && GetLineCount() > kExactWidthLines;
}

int QuillView::HorzScrollRange() {
  if (!WidthsAreLazy()) return GetMaxLineLength();
  SeeWindowLineWidths();
  return m_nSeenMaxLineLength;
}

void QuillView::SeeWindowLineWidths() {
  const int nEnd = std::min(GetLineCount(), std::max(m_nTopLine, 0) + GetScreenLines() + 1);
  for (int i = std::max(m_nTopLine, 0); i < nEnd; ++i)
    m_nSeenMaxLineLength = std::max(m_nSeenMaxLineLength, CalculateActualOffset(i, GetLineLength(i)));
}

}  // namespace quill
