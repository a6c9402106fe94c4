#pragma once
// Drag and drop over Qt: QDrag runs the drag loop, the text travels as text/plain (the
// buffer's bytes read as Windows-1252, line breaks LF outside and CR LF inside; also as
// text/plain;charset=utf-8 for programs that ask for that), and an EditorWidget hands its
// drag events to the drop target registered for it.
//
// A drag ends in a move only when the target really took the text: a drop on a window of
// this process counts as what its target did, whatever the platform reports; of another
// program only the platform's answer is known.

#include <QPoint>
#include <Qt>

#include <functional>
#include <map>
#include <optional>

#include "platform/drag_drop.h"

class QDrag;
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

  // Runs the platform's drag loop (QDrag::exec) and returns what the platform reports. A
  // test puts its own in place (the offscreen platform has no loop); null restores QDrag's.
  using DragLoop = std::function<Qt::DropAction(QDrag& drag, Qt::DropActions actions)>;
  void SetDragLoop(DragLoop loop);

 private:
  COleDropTarget* TargetOf(Window* pWnd) const;
  void StopHover();

  std::map<Window*, COleDropTarget*> m_targets;
  COleDataObject m_data;
  QTimer* m_scrollTimer;
  Window* m_hoverWindow = nullptr;
  unsigned long m_hoverKeys = 0;
  QPoint m_hoverPoint;
  DragLoop m_dragLoop;
  bool m_dragging = false;                // a drag from this process is running
  std::optional<DROPEFFECT> m_dropHere;   // what a target of this process did with it
};

// The data at the boundary: text/plain from the text block, and back.
QMimeData* MimeDataOf(const COleDataObject& data);
COleDataObject DataObjectOf(const QMimeData* mime);

// The installed service when it is Qt's, else null.
QtDragDrop* CurrentQtDragDrop();

}  // namespace quill::qt
