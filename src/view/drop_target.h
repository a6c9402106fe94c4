#pragma once
// The drop target of a view's window: it shows the drop caret while text is dragged over
// the view, scrolls near the edges and inserts the text where it is dropped.

#include "platform/drag_drop.h"
#include "view/quill_view.h"

namespace quill {

class CEditDropTargetImpl : public COleDropTarget {
 public:
  explicit CEditDropTargetImpl(QuillView* pOwner) : m_pOwner(pOwner) {}

  DROPEFFECT OnDragEnter(Window* pWnd, COleDataObject* pDataObject, unsigned long dwKeyState,
                         CPoint point) override;
  DROPEFFECT OnDragOver(Window* pWnd, COleDataObject* pDataObject, unsigned long dwKeyState,
                        CPoint point) override;
  bool OnDrop(Window* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
              CPoint point) override;
  void OnDragLeave(Window* pWnd) override;
  DROPEFFECT OnDragScroll(Window* pWnd, unsigned long dwKeyState, CPoint point) override;

 private:
  QuillView* m_pOwner;
};

}  // namespace quill
