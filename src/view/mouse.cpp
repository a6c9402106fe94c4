// QuillView: selecting with the mouse (characters, words, whole lines), the auto-scroll
// timer while a selection is dragged outside the window, the cursor shape, the scroll
// bars, the wheel and the keyboard focus.

#include <algorithm>

#include "platform/display.h"
#include "view/quill_view.h"

namespace quill {

namespace {

constexpr unsigned kDragSelTimerId = 1001;
constexpr unsigned kDragSelTimerPeriod = 100;  // milliseconds

bool Before(const CPoint& a, const CPoint& b) { return a.y < b.y || (a.y == b.y && a.x < b.x); }

}  // namespace

// Whole lines from the anchor's line to the point's line, each with its line break (the
// last line up to its end); the cursor goes to the start of the point's line.
void QuillView::SelectLines(CPoint pt) {
  const int nLastLine = GetLineCount() - 1;
  auto startOfNext = [&](int nLine) {
    return nLine < nLastLine ? CPoint(0, nLine + 1) : CPoint(GetLineLength(nLastLine), nLastLine);
  };
  CPoint ptStart;
  CPoint ptEnd;
  if (!Before(pt, m_ptAnchor)) {
    ptStart = CPoint(0, m_ptAnchor.y);
    ptEnd = startOfNext(pt.y);
  } else {
    ptStart = CPoint(0, pt.y);
    ptEnd = startOfNext(m_ptAnchor.y);
  }
  m_ptCursorPos = CPoint(0, pt.y);
  m_nIdealCharPos = 0;
  SetSelection(ptStart, ptEnd);
}

// Whole words from the anchor to the point, in either direction; the cursor goes to the
// selection's right end.
void QuillView::SelectWords(CPoint pt) {
  CPoint ptStart;
  CPoint ptEnd;
  if (Before(pt, m_ptAnchor)) {
    ptStart = WordToLeft(pt);
    ptEnd = WordToRight(m_ptAnchor);
  } else {
    ptStart = WordToLeft(m_ptAnchor);
    ptEnd = WordToRight(pt);
  }
  m_ptCursorPos = ptEnd;
  m_nIdealCharPos = CalculateActualOffset(ptEnd.y, ptEnd.x);
  SetSelection(ptStart, ptEnd);
}

void QuillView::EndMouseSelection() {
  if (HasWindow()) {
    m_pWnd->ReleaseCapture();
    m_pWnd->KillTimer(m_nDragSelTimer);
  }
  m_bSelecting = false;
}

void QuillView::OnLButtonDown(unsigned, CPoint point) {
  if (!HasWindow()) return;
  const bool bShift = m_pWnd->GetKeyState(VK_SHIFT) < 0;
  const bool bControl = m_pWnd->GetKeyState(VK_CONTROL) < 0;
  CPoint pt = point;
  AdjustTextPoint(pt);

  if (point.x < GetMarginWidth()) {
    if (bControl) {
      SelectAll();
      return;
    }
    const CPoint ptLine(0, ClientToText(pt).y);
    if (!bShift) m_ptAnchor = ptLine;
    SelectLines(ptLine);
    UpdateCaret();
    EnsureVisible(m_ptCursorPos);
    m_bLineSelection = true;
    m_bWordSelection = false;
  } else {
    if (!m_bDisableDragAndDrop && IsInsideSelection(ClientToText(point))) {
      m_bPreparingToDrag = true;
      return;
    }
    m_ptCursorPos = ClientToText(pt);
    m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    if (!bShift) m_ptAnchor = m_ptCursorPos;
    if (bControl) {
      SelectWords(m_ptCursorPos);
    } else {
      SetSelection(m_ptAnchor, m_ptCursorPos);
    }
    m_pWnd->SetFocus();
    UpdateCaret();
    EnsureVisible(m_ptCursorPos);
    m_bWordSelection = bControl;
    m_bLineSelection = false;
  }

  m_pWnd->SetCapture();
  m_nDragSelTimer = kDragSelTimerId;
  m_pWnd->SetTimer(m_nDragSelTimer, kDragSelTimerPeriod);
  m_bSelecting = true;
}

void QuillView::OnMouseMove(unsigned, CPoint point) {
  if (m_bSelecting && HasWindow()) {
    CPoint pt = point;
    AdjustTextPoint(pt);
    const CPoint ptText = ClientToText(pt);
    if (m_bLineSelection) {
      if (point.x < GetMarginWidth()) {
        SelectLines(ptText);
      } else {
        m_pWnd->SetCursor(CursorShape::IBeam);
        m_bLineSelection = false;
        m_bWordSelection = false;
      }
    } else if (m_bWordSelection) {
      SelectWords(ptText);
    } else {
      m_ptCursorPos = ptText;
      m_nIdealCharPos = CalculateActualOffset(ptText.y, ptText.x);
      SetSelection(m_ptAnchor, m_ptCursorPos);
    }
    UpdateCaret();
  }
  if (m_bPreparingToDrag) {
    m_bPreparingToDrag = false;
    DragSelection();
  }
}

void QuillView::OnLButtonUp(unsigned, CPoint point) {
  CPoint pt = point;
  AdjustTextPoint(pt);
  if (m_bSelecting) {
    const CPoint ptText = ClientToText(pt);
    if (m_bLineSelection) {
      SelectLines(ptText);
      EnsureVisible(m_ptCursorPos);
    } else if (m_bWordSelection) {
      SelectWords(ptText);
      EnsureVisible(m_ptCursorPos);
    } else {
      SetSelection(m_ptAnchor, m_ptCursorPos);
    }
    UpdateCaret();
    EndMouseSelection();
  }
  if (m_bPreparingToDrag) {
    m_bPreparingToDrag = false;
    m_ptCursorPos = ClientToText(pt);
    m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    SetSelection(m_ptCursorPos, m_ptCursorPos);
    UpdateCaret();
    EnsureVisible(m_ptCursorPos);
  }
}

void QuillView::OnLButtonDblClk(unsigned, CPoint point) {
  if (m_bSelecting || !HasWindow()) return;
  CPoint pt = point;
  AdjustTextPoint(pt);
  m_ptCursorPos = m_ptAnchor = ClientToText(pt);
  SelectWords(m_ptCursorPos);
  UpdateCaret();
  EnsureVisible(m_ptCursorPos);
  m_pWnd->SetCapture();
  m_nDragSelTimer = kDragSelTimerId;
  m_pWnd->SetTimer(m_nDragSelTimer, kDragSelTimerPeriod);
  m_bWordSelection = true;
  m_bLineSelection = false;
  m_bSelecting = true;
}

void QuillView::OnRButtonDown(unsigned, CPoint point) {
  CPoint pt = point;
  AdjustTextPoint(pt);
  const CPoint ptText = ClientToText(pt);
  if (!IsInsideSelection(ptText)) {
    m_ptCursorPos = m_ptAnchor = ptText;
    m_nIdealCharPos = CalculateActualOffset(ptText.y, ptText.x);
    SetSelection(ptText, ptText);
    EnsureVisible(m_ptCursorPos);
    UpdateCaret();
  }
}

void QuillView::OnTimer(unsigned nIDEvent) {
  if (nIDEvent != kDragSelTimerId || !HasWindow()) return;
  const CPoint pt = m_pWnd->GetCursorPos();
  const CRect rcClient = GetClientRect();
  const int nLineHeight = GetLineHeight();
  bool bChanged = false;

  int nNewTop = m_nTopLine;
  if (pt.y < rcClient.top) {
    nNewTop -= pt.y < rcClient.top - nLineHeight ? 3 : 1;
  } else if (pt.y >= rcClient.bottom) {
    nNewTop += pt.y >= rcClient.bottom + nLineHeight ? 3 : 1;
  }
  nNewTop = std::clamp(nNewTop, 0, std::max(GetLineCount() - 1, 0));
  if (nNewTop != m_nTopLine) {
    ScrollToLine(nNewTop);
    UpdateSiblingScrollPos(1);
    bChanged = true;
  }

  int nNewOffset = m_nOffsetChar;
  if (pt.x < rcClient.left) {
    --nNewOffset;
  } else if (pt.x >= rcClient.right) {
    ++nNewOffset;
  }
  nNewOffset = std::max(std::min(nNewOffset, GetMaxLineLength() - 1), 0);
  if (nNewOffset != m_nOffsetChar) {
    ScrollToChar(nNewOffset);
    UpdateCaret();
    UpdateSiblingScrollPos(0);
    bChanged = true;
  }
  if (!bChanged) return;

  CPoint ptMouse = pt;
  AdjustTextPoint(ptMouse);
  m_ptCursorPos = ClientToText(ptMouse);
  m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
  SetSelection(m_ptAnchor, m_ptCursorPos);
  UpdateCaret();
}

bool QuillView::OnSetCursor(Window*, unsigned nHitTest, unsigned) {
  if (nHitTest != HTCLIENT || !HasWindow()) return false;
  const CPoint pt = m_pWnd->GetCursorPos();
  if (pt.x < GetMarginWidth()) {
    m_pWnd->SetCursor(CursorShape::Margin);
  } else if (IsInsideSelection(ClientToText(pt))) {
    if (!m_bDisableDragAndDrop) m_pWnd->SetCursor(CursorShape::Arrow);
  } else {
    m_pWnd->SetCursor(CursorShape::IBeam);
  }
  return true;
}

// ---- scroll bars and wheel ----

void QuillView::OnVScroll(unsigned nSBCode, unsigned, ScrollBarCtrl*) {
  if (!HasWindow()) return;
  SCROLLINFO si;
  m_pWnd->GetScrollInfo(SB_VERT, si, SIF_PAGE | SIF_TRACKPOS);
  const int nPage = static_cast<int>(si.nPage);
  const int nLineCount = GetLineCount();
  int nNewTop = m_nTopLine;
  bool bNoSmooth = true;
  switch (nSBCode) {
    case SB_LINEUP: nNewTop = m_nTopLine - 1; break;
    case SB_LINEDOWN: nNewTop = m_nTopLine + 1; break;
    case SB_PAGEUP: nNewTop = m_nTopLine - nPage + 1; bNoSmooth = false; break;
    case SB_PAGEDOWN: nNewTop = m_nTopLine + nPage - 1; bNoSmooth = false; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: nNewTop = si.nTrackPos; break;
    case SB_TOP: nNewTop = 0; bNoSmooth = false; break;
    case SB_BOTTOM: nNewTop = nLineCount - GetScreenLines() + 1; bNoSmooth = false; break;
    default: return;
  }
  nNewTop = std::clamp(nNewTop, 0, std::max(nLineCount - 1, 0));
  ScrollToLine(nNewTop, bNoSmooth ? 1 : 0, 1);
}

void QuillView::OnHScroll(unsigned nSBCode, unsigned, ScrollBarCtrl*) {
  if (!HasWindow()) return;
  SCROLLINFO si;
  m_pWnd->GetScrollInfo(SB_HORZ, si, SIF_PAGE | SIF_TRACKPOS);
  const int nPage = static_cast<int>(si.nPage);
  const int nMaxLineLength = GetMaxLineLength();
  int nNewOffset = m_nOffsetChar;
  switch (nSBCode) {
    case SB_LINEUP: nNewOffset = m_nOffsetChar - 1; break;
    case SB_LINEDOWN: nNewOffset = m_nOffsetChar + 1; break;
    case SB_PAGEUP: nNewOffset = m_nOffsetChar - nPage + 1; break;
    case SB_PAGEDOWN: nNewOffset = m_nOffsetChar + nPage - 1; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: nNewOffset = si.nTrackPos; break;
    case SB_TOP: nNewOffset = 0; break;
    case SB_BOTTOM: nNewOffset = nMaxLineLength - GetScreenChars() + 1; break;
    default: return;
  }
  nNewOffset = std::max(std::min(nNewOffset, nMaxLineLength - 1), 0);
  ScrollToChar(nNewOffset, 1, 1);
  UpdateCaret();
}

int QuillView::OnMouseWheel(unsigned nFlags, short zDelta, CPoint) {
  if ((nFlags & (MK_SHIFT | MK_CONTROL)) != 0 || !HasWindow()) return 0;
  const ScrollBarCtrl* pBar = m_pWnd->GetScrollBarCtrl(SB_VERT);
  const bool bCanScroll =
      (pBar != nullptr && pBar->IsWindowEnabled()) || (m_pWnd->GetStyle() & WS_VSCROLL) != 0;
  if (!bCanScroll) return 0;
  // One notch either way scrolls 4 lines; several notches at once scroll 4 lines down or
  // 4 lines a notch up.
  const int nNotches = MulDiv(-zDelta, 1, 120);
  const int nLines = nNotches == -1 ? (zDelta > 0 ? -4 : 4) : std::min(4 * nNotches, 4);
  if (zDelta < 0) {
    ScrollDown(nLines);
  } else if (zDelta > 0) {
    ScrollUp(nLines);
  }
  return 1;
}

// ---- focus ----

void QuillView::OnSetFocus(Window*) {
  m_bFocused = true;
  if (m_ptSelStart != m_ptSelEnd) InvalidateLines(m_ptSelStart.y, m_ptSelEnd.y);
  UpdateCaret();
}

void QuillView::OnKillFocus(Window*) {
  m_bFocused = false;
  UpdateCaret();
  if (m_ptSelStart != m_ptSelEnd) InvalidateLines(m_ptSelStart.y, m_ptSelEnd.y);
  if (m_bSelecting) EndMouseSelection();
}

}  // namespace quill
