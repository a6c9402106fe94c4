#pragma once
// Drag and drop in memory. Targets are kept per window; a test delivers the steps of a
// drag to them one by one (enter, over, scroll, leave, drop) with the data of the drag
// in progress or with data from outside. The modal loop of a source runs the script a
// test set; without one it ends at once with no effect, as a cancelled drag does.

#include <functional>
#include <map>

#include "platform/drag_drop.h"

namespace quill {

class HeadlessDragDrop : public DragDropService {
 public:
  // The body of the drag loop: the steps it takes, returning the final effect.
  using Script = std::function<DROPEFFECT(HeadlessDragDrop& service, DROPEFFECT dwEffects)>;

  bool RegisterDropTarget(Window* pWnd, COleDropTarget* pTarget) override;
  void RevokeDropTarget(Window* pWnd, COleDropTarget* pTarget) override;
  DROPEFFECT DoDragDrop(Window* pSource, const COleDataObject& data,
                        DROPEFFECT dwEffects) override;

  void SetScript(Script script) { m_script = std::move(script); }
  COleDropTarget* TargetOf(Window* pWnd) const;

  // Steps of a drag over a window, with the data of the drag in progress; Enter may bring
  // other data (from another program). A window without a target answers none. Drop
  // returns the effect the drop had: the effect asked for when the target took the data,
  // else none.
  DROPEFFECT Enter(Window* pWnd, const COleDataObject& data, unsigned long dwKeyState,
                   CPoint point);
  DROPEFFECT Enter(Window* pWnd, unsigned long dwKeyState, CPoint point) {
    return Enter(pWnd, COleDataObject(m_data), dwKeyState, point);
  }
  DROPEFFECT Over(Window* pWnd, unsigned long dwKeyState, CPoint point);
  DROPEFFECT Scroll(Window* pWnd, unsigned long dwKeyState, CPoint point);
  void Leave(Window* pWnd);
  DROPEFFECT Drop(Window* pWnd, DROPEFFECT dropEffect, CPoint point);

  // What the last loop was asked for and how it ended.
  int loops = 0;
  DROPEFFECT lastAllowed = DROPEFFECT_NONE;
  DROPEFFECT lastResult = DROPEFFECT_NONE;

 private:
  std::map<Window*, COleDropTarget*> m_targets;
  COleDataObject m_data;
  Script m_script;
};

// Installs a fresh headless service and returns it.
HeadlessDragDrop& InstallHeadlessDragDrop();

}  // namespace quill
