#include "platform/headless/headless_drag_drop.h"

namespace quill {

bool HeadlessDragDrop::RegisterDropTarget(Window* pWnd, COleDropTarget* pTarget) {
  if (pWnd == nullptr || pTarget == nullptr) return false;
  m_targets[pWnd] = pTarget;
  return true;
}

void HeadlessDragDrop::RevokeDropTarget(Window* pWnd, COleDropTarget* pTarget) {
  auto it = m_targets.find(pWnd);
  if (it != m_targets.end() && it->second == pTarget) m_targets.erase(it);
}

COleDropTarget* HeadlessDragDrop::TargetOf(Window* pWnd) const {
  auto it = m_targets.find(pWnd);
  return it != m_targets.end() ? it->second : nullptr;
}

DROPEFFECT HeadlessDragDrop::DoDragDrop(Window*, const COleDataObject& data,
                                        DROPEFFECT dwEffects) {
  ++loops;
  lastAllowed = dwEffects;
  m_data = data;
  DROPEFFECT result = m_script ? m_script(*this, dwEffects) : DROPEFFECT_NONE;
  // The loop never ends with an effect the source did not offer.
  if ((result & dwEffects) == 0) result = DROPEFFECT_NONE;
  m_data = COleDataObject();
  lastResult = result;
  return result;
}

DROPEFFECT HeadlessDragDrop::Enter(Window* pWnd, const COleDataObject& data,
                                   unsigned long dwKeyState, CPoint point) {
  m_data = data;
  COleDropTarget* pTarget = TargetOf(pWnd);
  return pTarget ? pTarget->OnDragEnter(pWnd, &m_data, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT HeadlessDragDrop::Over(Window* pWnd, unsigned long dwKeyState, CPoint point) {
  COleDropTarget* pTarget = TargetOf(pWnd);
  return pTarget ? pTarget->OnDragOver(pWnd, &m_data, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT HeadlessDragDrop::Scroll(Window* pWnd, unsigned long dwKeyState, CPoint point) {
  COleDropTarget* pTarget = TargetOf(pWnd);
  return pTarget ? pTarget->OnDragScroll(pWnd, dwKeyState, point) : DROPEFFECT_NONE;
}

void HeadlessDragDrop::Leave(Window* pWnd) {
  if (COleDropTarget* pTarget = TargetOf(pWnd)) pTarget->OnDragLeave(pWnd);
}

DROPEFFECT HeadlessDragDrop::Drop(Window* pWnd, DROPEFFECT dropEffect, CPoint point) {
  COleDropTarget* pTarget = TargetOf(pWnd);
  if (pTarget == nullptr) return DROPEFFECT_NONE;
  return pTarget->OnDrop(pWnd, &m_data, dropEffect, point) ? dropEffect : DROPEFFECT_NONE;
}

HeadlessDragDrop& InstallHeadlessDragDrop() {
  auto service = std::make_shared<HeadlessDragDrop>();
  HeadlessDragDrop& ref = *service;
  InstallDragDropService(service);
  return ref;
}

}  // namespace quill
