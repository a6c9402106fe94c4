// The cursor, the anchor and the selection; bringing a point into view; scrolling to a
// line or column; keeping the panes of a splitter in step.

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

#include "platform/doc_framework.h"
#include "view/quill_view.h"

namespace quill {

namespace {
// Distance in lines past which scrolling shows the wait cursor.
constexpr int kWaitCursorScrollDistance = 10000;
}  // namespace

bool QuillView::IsTextPointValid(const CPoint& pt) {
  if (GetLineCount() <= 0 || m_nTopLine < 0 || m_nOffsetChar < 0) return false;
  if (pt.y < 0 || pt.y >= GetLineCount()) return false;
  return pt.x >= 0 && pt.x <= GetLineLength(pt.y);
}

void QuillView::SetSelection(const CPoint& ptStart, const CPoint& ptEnd) {
  if (!IsTextPointValid(ptStart) || !IsTextPointValid(ptEnd)) return;
  if (m_ptSelStart == ptStart) {
    // Only the end moved: repaint the lines between the old and the new end.
    if (m_ptSelEnd != ptEnd) InvalidateLines(ptEnd.y, m_ptSelEnd.y);
  } else {
    InvalidateLines(ptStart.y, ptEnd.y);
    InvalidateLines(m_ptSelStart.y, m_ptSelEnd.y);
  }
  m_ptSelStart = ptStart;
  m_ptSelEnd = ptEnd;
}

void QuillView::GetSelection(CPoint& ptStart, CPoint& ptEnd) {
  PrepareSelBounds();
  ptStart = m_ptDrawSelStart;
  ptEnd = m_ptDrawSelEnd;
}

bool QuillView::IsSelection() { return m_ptSelStart != m_ptSelEnd; }

bool QuillView::GetSelectedRange(CPoint& ptStart, CPoint& ptEnd) {
  if (!IsSelection()) return false;
  GetSelection(ptStart, ptEnd);
  return true;
}

void QuillView::SetAnchor(const CPoint& ptNewAnchor) { m_ptAnchor = ptNewAnchor; }

void QuillView::SetCursorPos(const CPoint& ptCursorPos) {
  if (!IsTextPointValid(ptCursorPos)) return;
  m_ptCursorPos = ptCursorPos;
  m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
  UpdateCaret();
}

void QuillView::EndBulkUpdate() {
  if (m_nBulkDepth <= 0 || --m_nBulkDepth > 0) return;
  const int nFirstLine = std::exchange(m_nBulkFirstLine, -1);
  if (nFirstLine >= 0) InvalidateLines(nFirstLine, -1, 1);
  if (std::exchange(m_bBulkVertBar, false)) RecalcVertScrollBar(0);
  if (std::exchange(m_bBulkHorzBar, false)) RecalcHorzScrollBar(0);
  if (std::exchange(m_bBulkCaret, false)) UpdateCaret();
}

void QuillView::EnsureVisible(CPoint pt) {
  // Without a window nothing is on screen to scroll.
  if (!HasWindow()) return;
  const int nLineCount = GetLineCount();
  const int nScreenLines = GetScreenLines();
  int nNewTop = m_nTopLine;
  if (pt.y >= nNewTop + nScreenLines) nNewTop = pt.y - nScreenLines + 1;
  if (pt.y < nNewTop) nNewTop = pt.y;
  nNewTop = std::clamp(nNewTop, 0, std::max(nLineCount - 1, 0));
  if (nNewTop != m_nTopLine) {
    ScrollToLine(nNewTop);
    UpdateSiblingScrollPos(1);
  }

  const int nColumn = CalculateActualOffset(pt.y, pt.x);
  const int nScreenChars = GetScreenChars();
  int nNewOffset = m_nOffsetChar;
  if (nColumn > nNewOffset + nScreenChars) nNewOffset = nColumn - nScreenChars;
  if (nColumn < nNewOffset) nNewOffset = nColumn;
  // The longest line limits the offset only beyond the cursor line's own width.
  if (!WidthsAreLazy() || nNewOffset >= CalculateActualOffset(pt.y, GetLineLength(pt.y)))
    nNewOffset = std::min(nNewOffset, GetMaxLineLength() - 1);
  nNewOffset = std::max(nNewOffset, 0);
  if (nNewOffset != m_nOffsetChar) {
    ScrollToChar(nNewOffset);
    UpdateCaret();
    UpdateSiblingScrollPos(0);
  }
}

void QuillView::ScrollToLine(int nNewTopLine, int bNoSmoothScroll, int bTrackScrollBar) {
  std::optional<CWaitCursor> wait;
  if (std::abs(nNewTopLine - m_nTopLine) > kWaitCursorScrollDistance) wait.emplace();
  // The cached screen line count: a view that never measured it scrolls freely.
  if (m_nTopLine == nNewTopLine || (m_nScreenLines != -1 && m_nScreenLines >= GetLineCount()) ||
      nNewTopLine >= GetLineCount()) {
    return;
  }
  const int nLineHeight = HasWindow() ? GetLineHeight() : 0;
  if (m_bSmoothScroll && !bNoSmoothScroll && HasWindow()) {
    const int nStep = std::abs(nNewTopLine - m_nTopLine) / 6 + 1;
    while (m_nTopLine != nNewTopLine) {
      const int nDelta = nNewTopLine > m_nTopLine ? std::min(nStep, nNewTopLine - m_nTopLine)
                                                  : -std::min(nStep, m_nTopLine - nNewTopLine);
      m_nTopLine += nDelta;
      m_pWnd->ScrollWindow(0, -nDelta * nLineHeight, nullptr, nullptr);
      m_pWnd->UpdateWindow();
      if (bTrackScrollBar) RecalcVertScrollBar(1);
    }
    return;
  }
  const int nDelta = nNewTopLine - m_nTopLine;
  m_nTopLine = nNewTopLine;
  if (!HasWindow()) return;
  m_pWnd->ScrollWindow(0, -nDelta * nLineHeight, nullptr, nullptr);
  m_pWnd->UpdateWindow();
  if (bTrackScrollBar) RecalcVertScrollBar(1);
}

void QuillView::ScrollToChar(int nNewOffsetChar, int /*bNoSmoothScroll*/, int bTrackScrollBar) {
  if (m_nOffsetChar == nNewOffsetChar) return;
  const int nDelta = m_nOffsetChar - nNewOffsetChar;
  m_nOffsetChar = nNewOffsetChar;
  if (!HasWindow()) return;
  CRect rcScroll = GetClientRect();
  rcScroll.left += GetMarginWidth();
  m_pWnd->ScrollWindow(nDelta * GetCharWidth(), 0, &rcScroll, &rcScroll);
  m_pWnd->UpdateWindow();
  if (bTrackScrollBar) RecalcHorzScrollBar(1);
}

QuillView* QuillView::GetSiblingView(int nRow, int nCol) {
  if (!HasWindow() || !m_pWnd->IsSplitterPane()) return nullptr;
  return dynamic_cast<QuillView*>(m_pWnd->GetPane(nRow, nCol));
}

void QuillView::UpdateSiblingScrollPos(int bVertical) {
  if (!HasWindow() || !m_pWnd->IsSplitterPane()) return;
  const int nId = m_pWnd->GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
  const int nRow = nId / 16;
  const int nCol = nId % 16;
  // A splitter has at most 16 rows and columns of panes.
  for (int i = 0; i < 16; ++i) {
    QuillView* pSibling = bVertical ? GetSiblingView(nRow, i) : GetSiblingView(i, nCol);
    if (pSibling != nullptr && pSibling != this) pSibling->OnUpdateSibling(this, bVertical);
  }
}

void QuillView::OnUpdateSibling(QuillView* pUpdateSource, int bVertical) {
  if (pUpdateSource == this || pUpdateSource == nullptr) return;
  if (bVertical) {
    if (pUpdateSource->m_nTopLine != m_nTopLine) {
      ScrollToLine(pUpdateSource->m_nTopLine, 1, 0);
      UpdateCaret();
    }
  } else if (pUpdateSource->m_nOffsetChar != m_nOffsetChar) {
    ScrollToChar(pUpdateSource->m_nOffsetChar, 1, 0);
    UpdateCaret();
  }
}

}  // namespace quill
