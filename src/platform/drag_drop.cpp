#include "platform/drag_drop.h"

#include <algorithm>
#include <new>

#include "platform/platform_services.h"

namespace quill {

void InstallDragDropService(std::shared_ptr<DragDropService> service) {
  InstalledPlatformServices().pDragDrop = std::move(service);
}

DragDropService& CurrentDragDropService() {
  return InstalledOr(&PlatformServices::pDragDrop, *InertDragDropService());
}

HGLOBAL GlobalAllocText(std::string_view text) {
  try {
    auto block = std::make_shared<std::vector<char>>(text.size() + 1, '\0');
    std::copy(text.begin(), text.end(), block->begin());
    return block;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

std::string GlobalText(const HGLOBAL& block) {
  if (block == nullptr) return std::string();
  const auto end = std::find(block->begin(), block->end(), '\0');
  return std::string(block->begin(), end);
}

DROPEFFECT COleDataSource::DoDragDrop(Window* pSource, DROPEFFECT dwEffects) {
  return CurrentDragDropService().DoDragDrop(pSource, *this, dwEffects);
}

COleDropTarget::~COleDropTarget() { Revoke(); }

bool COleDropTarget::Register(Window* pWnd) {
  Revoke();
  if (!CurrentDragDropService().RegisterDropTarget(pWnd, this)) return false;
  m_pWnd = pWnd;
  return true;
}

void COleDropTarget::Revoke() {
  if (m_pWnd == nullptr) return;
  CurrentDragDropService().RevokeDropTarget(m_pWnd, this);
  m_pWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(Window*, COleDataObject*, unsigned long, CPoint) {
  return DROPEFFECT_NONE;
}
DROPEFFECT COleDropTarget::OnDragOver(Window*, COleDataObject*, unsigned long, CPoint) {
  return DROPEFFECT_NONE;
}
bool COleDropTarget::OnDrop(Window*, COleDataObject*, DROPEFFECT, CPoint) { return false; }
void COleDropTarget::OnDragLeave(Window*) {}
DROPEFFECT COleDropTarget::OnDragScroll(Window*, unsigned long, CPoint) {
  return DROPEFFECT_NONE;
}

}  // namespace quill
