#pragma once
// Drag and drop over Qt: QDrag runs the drag loop, the text travels as text/plain (the
// buffer's bytes read as Windows-1252, line breaks LF outside and CR LF inside), and an
// EditorWidget hands its drag events to the drop target registered for it.

#include <QPoint>

#include <map>

#include "platform/drag_drop.h"

class QDragMoveEvent;
class QDropEvent;
class QMimeData;
class QTimer;
class QWidget;

namespace quill::qt {

class QtDragDrop : public DragDropService {
 public:
  QtDragDrop();
  ~QtDragDrop() override;

  bool RegisterDropTarget(Window* pWnd, COleDropTarget* pTarget) override;
  void RevokeDropTarget(Window* pWnd, COleDropTarget* pTarget) override;
  DROPEFFECT DoDragDrop(Window* pSource, const COleDataObject& data,
                        DROPEFFECT dwEffects) override;

  // The widget's drag events, in client coordinates. A widget without a target ignores
  // them. While the mouse hovers, the target's scroll callback also runs on a timer, so
  // that a drag held near an edge keeps scrolling.
  void DragEnter(Window* pWnd, QDragMoveEvent* event);
  void DragMove(Window* pWnd, QDragMoveEvent* event);
  void DragLeave(Window* pWnd);
  void Drop(Window* pWnd, QDropEvent* event);

 private:
  COleDropTarget* TargetOf(Window* pWnd) const;
  void StopHover();

  std::map<Window*, COleDropTarget*> m_targets;
  COleDataObject m_data;
  QTimer* m_scrollTimer;
  Window* m_hoverWindow = nullptr;
  unsigned long m_hoverKeys = 0;
  QPoint m_hoverPoint;
};

// The data at the boundary: text/plain from the text block, and back.
QMimeData* MimeDataOf(const COleDataObject& data);
COleDataObject DataObjectOf(const QMimeData* mime);

// The installed service when it is Qt's, else null.
QtDragDrop* CurrentQtDragDrop();

}  // namespace quill::qt
