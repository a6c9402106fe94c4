// Drag and drop of text: the selection as the source of a drag, the view's window as a
// drop target with its grey drop caret, and scrolling while text is dragged near an edge.

#include <algorithm>
#include <string>

#include "buffer/buffer_defs.h"
#include "buffer/text_buffer.h"
#include "platform/text_encoding.h"
#include "view/drop_target.h"
#include "view/edit_group.h"
#include "view/quill_view.h"

namespace quill {

namespace {

// How near an edge of the client area a dragged point starts scrolling, in pixels.
constexpr int kDragScrollZone = 5;

DROPEFFECT EffectOfKeys(unsigned long dwKeyState) {
  return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

}  // namespace

// ---- the source ----

HGLOBAL QuillView::PrepareDragData() {
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  if (ptStart == ptEnd) return nullptr;
  std::string text;
  GetText(ptStart, ptEnd, text);
  // Dropped text ends at a NUL: NUL bytes go as spaces, with the text after them.
  std::replace(text.begin(), text.end(), '\0', ' ');
  HGLOBAL hData = GlobalAllocText(text);
  if (hData == nullptr) return nullptr;
  m_ptDraggedTextBegin = ptStart;
  m_ptDraggedTextEnd = ptEnd;
  return hData;
}

DROPEFFECT QuillView::GetDropEffect() { return DROPEFFECT_COPY | DROPEFFECT_MOVE; }

void QuillView::OnDropSource(DROPEFFECT de) {
  if (de != DROPEFFECT_MOVE || !m_bDragSelection || m_pTextBuffer == nullptr) return;
  DeleteRange(m_ptDraggedTextBegin, m_ptDraggedTextEnd, UNDO_ACTION_DRAGDROP);
}

void QuillView::DragSelection() {
  if (m_pTextBuffer == nullptr || !HasWindow()) return;
  HGLOBAL hData = PrepareDragData();
  if (hData == nullptr) return;
  // One group for the whole drag: a drop into this buffer and the deletion of the source
  // undo together.
  EditGroup group(*this, false);
  COleDataSource source;
  if (IsUtf8Text()) {
    // UTF-8 text goes as it is, and as Windows-1252 for targets that know only that.
    source.CacheGlobalData(CF_UTF8TEXT, hData);
    source.CacheGlobalData(CF_TEXT, GlobalAllocText(Utf8ToCp1252Lossy(GlobalText(hData))));
  } else {
    source.CacheGlobalData(CF_TEXT, hData);
  }
  m_bDragSelection = true;
  const DROPEFFECT de = source.DoDragDrop(m_pWnd, GetDropEffect());
  if (de != DROPEFFECT_NONE) OnDropSource(de);
  m_bDragSelection = false;
  group.Close();
}

// ---- the drop caret ----

void QuillView::ShowDropIndicator(const CPoint& point) {
  if (!HasWindow()) return;
  if (!m_bDropPosVisible) {
    m_bCursorHidden = true;
    UpdateCaret();
    m_ptSavedCaretPos = GetCursorPos();
    m_bDropPosVisible = true;
    m_pWnd->CreateGrayCaret(2, GetLineHeight());
  }
  m_ptDropPos = ClientToText(point);
  if (CalculateActualOffset(m_ptDropPos.y, m_ptDropPos.x) >= m_nOffsetChar) {
    m_pWnd->SetCaretPos(TextToClient(m_ptDropPos));
    m_pWnd->ShowCaret();
  } else {
    m_pWnd->HideCaret();
  }
}

void QuillView::HideDropIndicator() {
  if (!m_bDropPosVisible) return;
  SetCursorPos(m_ptSavedCaretPos);
  m_bCursorHidden = false;
  UpdateCaret();
  m_bDropPosVisible = false;
}

// ---- the target ----

bool QuillView::DoDropText(COleDataObject* pDataObject, const CPoint& ptClient) {
  if (pDataObject == nullptr || m_pTextBuffer == nullptr) return false;
  // UTF-8 text when the data has it, else Windows-1252, in the document's encoding.
  std::string text;
  if (const HGLOBAL hUtf8 = pDataObject->GetGlobalData(CF_UTF8TEXT)) {
    if (!EncodeIncomingText(GlobalText(hUtf8), text)) return false;
  } else {
    const HGLOBAL hData = pDataObject->GetGlobalData(CF_TEXT);
    if (hData == nullptr) return false;
    text = GlobalText(hData);
    if (IsUtf8Text()) text = Cp1252ToUtf8(text);
  }
  if (text.empty()) return false;  // nothing to take: the source keeps its text
  const CPoint ptDropPos = ClientToText(ptClient);
  if (IsDraggingText() && IsInsideSelection(ptDropPos)) {
    // Onto the text being dragged: nothing moves, the cursor goes where it was dropped.
    PlaceAt(ptDropPos);
    return false;
  }
  const CPoint ptEnd = InsertAt(ptDropPos, text.c_str(), UNDO_ACTION_DRAGDROP);
  SetAnchor(ptDropPos);
  SetSelection(ptDropPos, ptEnd);
  SetCursorPos(ptEnd);
  EnsureVisible(ptEnd);
  return true;
}

void QuillView::DoDragScroll(const CPoint& point) {
  if (!HasWindow()) return;
  const CRect rcClient = GetClientRect();
  if (point.y < rcClient.top + kDragScrollZone) {
    HideDropIndicator();
    ScrollToLine(std::max(m_nTopLine - 1, 0), 0, 1);
    UpdateSiblingScrollPos(1);
  } else if (point.y >= rcClient.bottom - kDragScrollZone) {
    HideDropIndicator();
    if (m_nTopLine + 1 < GetLineCount() - 1) {
      ScrollToLine(m_nTopLine + 1, 0, 1);
      UpdateSiblingScrollPos(1);
    }
  } else if (point.x < rcClient.left + GetMarginWidth() + kDragScrollZone) {
    HideDropIndicator();
    if (m_nOffsetChar > 0) {
      ScrollToChar(m_nOffsetChar - 1, 0, 1);
      UpdateCaret();
    }
  } else if (point.x >= rcClient.right - kDragScrollZone) {
    HideDropIndicator();
    ScrollRight();
  } else {
    return;
  }
  m_pWnd->UpdateWindow();
  ShowDropIndicator(point);
}

// ---- the window's drop target ----

bool QuillView::CreateDropTarget() {
  if (!HasWindow()) return false;
  if (m_pDropTarget == nullptr) m_pDropTarget = std::make_unique<CEditDropTargetImpl>(this);
  return m_pDropTarget->Register(m_pWnd);
}

void QuillView::RevokeDropTarget() {
  if (m_pDropTarget != nullptr) m_pDropTarget->Revoke();
}

DROPEFFECT CEditDropTargetImpl::OnDragEnter(Window*, COleDataObject* pDataObject,
                                            unsigned long dwKeyState, CPoint point) {
  if (pDataObject == nullptr || !pDataObject->IsDataAvailable(CF_TEXT)) {
    m_pOwner->HideDropIndicator();
    return DROPEFFECT_NONE;
  }
  m_pOwner->ShowDropIndicator(point);
  return EffectOfKeys(dwKeyState);
}

DROPEFFECT CEditDropTargetImpl::OnDragOver(Window*, COleDataObject* pDataObject,
                                           unsigned long dwKeyState, CPoint point) {
  if (m_pOwner->QueryEditable() && !m_pOwner->GetDisableDragAndDrop() &&
      pDataObject != nullptr && pDataObject->IsDataAvailable(CF_TEXT)) {
    m_pOwner->ShowDropIndicator(point);
    return EffectOfKeys(dwKeyState);
  }
  m_pOwner->HideDropIndicator();
  return DROPEFFECT_NONE;
}

bool CEditDropTargetImpl::OnDrop(Window*, COleDataObject* pDataObject, DROPEFFECT,
                                 CPoint point) {
  m_pOwner->HideDropIndicator();
  if (!m_pOwner->QueryEditable() || m_pOwner->GetDisableDragAndDrop() ||
      pDataObject == nullptr || !pDataObject->IsDataAvailable(CF_TEXT)) {
    return false;
  }
  bool bDropped = false;
  m_pOwner->RunEditCommand([&] { bDropped = m_pOwner->DoDropText(pDataObject, point); });
  return bDropped;
}

void CEditDropTargetImpl::OnDragLeave(Window*) { m_pOwner->HideDropIndicator(); }

DROPEFFECT CEditDropTargetImpl::OnDragScroll(Window*, unsigned long dwKeyState, CPoint point) {
  m_pOwner->DoDragScroll(point);
  return EffectOfKeys(dwKeyState);
}

}  // namespace quill
