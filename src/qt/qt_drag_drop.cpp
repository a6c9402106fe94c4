#include "qt/qt_drag_drop.h"

#include <QAbstractScrollArea>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

#include "platform/window.h"
#include "qt/qt_platform.h"

namespace quill::qt {

namespace {

// How often a hovering drag asks its target to scroll, in milliseconds.
constexpr int kDragScrollPeriod = 100;

unsigned long KeyStateOf(const QDropEvent* event) {
  unsigned long keys = 0;
  if (event->buttons() & Qt::LeftButton) keys |= MK_LBUTTON;
  if (event->buttons() & Qt::RightButton) keys |= MK_RBUTTON;
  if (event->modifiers() & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (event->modifiers() & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

CPoint PointOf(const QDropEvent* event) {
  const QPoint p = event->position().toPoint();
  return CPoint(p.x(), p.y());
}

Qt::DropActions ActionsOf(DROPEFFECT effects) {
  Qt::DropActions actions;
  if (effects & DROPEFFECT_COPY) actions |= Qt::CopyAction;
  if (effects & DROPEFFECT_MOVE) actions |= Qt::MoveAction;
  return actions;
}

DROPEFFECT EffectOf(Qt::DropAction action) {
  switch (action) {
    case Qt::CopyAction: return DROPEFFECT_COPY;
    case Qt::MoveAction: return DROPEFFECT_MOVE;
    default: return DROPEFFECT_NONE;
  }
}

// Answers a move or enter event with the effect the target chose.
void Answer(QDragMoveEvent* event, DROPEFFECT effect) {
  if (effect == DROPEFFECT_NONE) {
    event->ignore();
    return;
  }
  event->setDropAction(effect == DROPEFFECT_COPY ? Qt::CopyAction : Qt::MoveAction);
  event->accept();
}

}  // namespace

QMimeData* MimeDataOf(const COleDataObject& data) {
  auto* mime = new QMimeData;
  if (data.IsDataAvailable(CF_UTF8TEXT)) {
    const QString text = Utf8TextToDesktop(GlobalText(data.GetGlobalData(CF_UTF8TEXT)));
    mime->setText(text);
    mime->setData(QStringLiteral("text/plain;charset=utf-8"), text.toUtf8());
  } else if (data.IsDataAvailable(CF_TEXT)) {
    const QString text = TextToDesktop(GlobalText(data.GetGlobalData(CF_TEXT)));
    mime->setText(text);
    mime->setData(QStringLiteral("text/plain;charset=utf-8"), text.toUtf8());
  }
  return mime;
}

// Data without text, or with an empty one, offers nothing to drop.
COleDataObject DataObjectOf(const QMimeData* mime) {
  if (mime == nullptr || !mime->hasText()) return COleDataObject();
  const QString text = mime->text();
  if (text.isEmpty()) return COleDataObject();
  return COleDataObject(GlobalAllocText(TextFromDesktop(text)), GlobalAllocText(Utf8TextFromDesktop(text)));
}

QtDragDrop* CurrentQtDragDrop() { return dynamic_cast<QtDragDrop*>(&CurrentDragDropService()); }

QtDragDrop::QtDragDrop() : m_scrollTimer(new QTimer) {
  m_scrollTimer->setInterval(kDragScrollPeriod);
  QObject::connect(m_scrollTimer, &QTimer::timeout, [this] {
    if (COleDropTarget* pTarget = TargetOf(m_hoverWindow)) {
      pTarget->OnDragScroll(m_hoverWindow, m_hoverKeys, CPoint(m_hoverPoint.x(), m_hoverPoint.y()));
    }
  });
}

QtDragDrop::~QtDragDrop() { delete m_scrollTimer; }

bool QtDragDrop::RegisterDropTarget(Window* pWnd, COleDropTarget* pTarget) {
  auto* widget = dynamic_cast<QWidget*>(pWnd);
  if (widget == nullptr || pTarget == nullptr) return false;
  widget->setAcceptDrops(true);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) area->viewport()->setAcceptDrops(true);
  m_targets[pWnd] = pTarget;
  return true;
}

void QtDragDrop::RevokeDropTarget(Window* pWnd, COleDropTarget* pTarget) {
  auto it = m_targets.find(pWnd);
  if (it == m_targets.end() || it->second != pTarget) return;
  m_targets.erase(it);
  if (m_hoverWindow == pWnd) StopHover();
  if (auto* widget = dynamic_cast<QWidget*>(pWnd)) {
    widget->setAcceptDrops(false);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) area->viewport()->setAcceptDrops(false);
  }
}

COleDropTarget* QtDragDrop::TargetOf(Window* pWnd) const {
  auto it = m_targets.find(pWnd);
  return it != m_targets.end() ? it->second : nullptr;
}

DROPEFFECT QtDragDrop::DoDragDrop(Window* pSource, const COleDataObject& data,
                                  DROPEFFECT dwEffects) {
  auto* widget = dynamic_cast<QWidget*>(pSource);
  if (widget == nullptr) return DROPEFFECT_NONE;
  auto* drag = new QDrag(widget);
  drag->setMimeData(MimeDataOf(data));
  m_dragging = true;
  m_dropHere.reset();
  const Qt::DropActions actions = ActionsOf(dwEffects);
  Qt::DropAction action;
  if (m_dragLoop) {
    action = m_dragLoop(*drag, actions);
    delete drag;
  } else {
    // Qt owns the drag from here: a target in another process may ask for its text after
    // exec has returned (X11 answers that request from the drag object), so only Qt knows
    // when it may go.
    action = drag->exec(actions, Qt::MoveAction);
  }
  m_dragging = false;
  const DROPEFFECT effect = m_dropHere.value_or(EffectOf(action));
  m_dropHere.reset();
  return effect & dwEffects;
}

void QtDragDrop::SetDragLoop(DragLoop loop) { m_dragLoop = std::move(loop); }

void QtDragDrop::DragEnter(Window* pWnd, QDragMoveEvent* event) {
  COleDropTarget* pTarget = TargetOf(pWnd);
  if (pTarget == nullptr) return event->ignore();
  m_data = DataObjectOf(event->mimeData());
  m_hoverWindow = pWnd;
  m_hoverKeys = KeyStateOf(event);
  m_hoverPoint = event->position().toPoint();
  const DROPEFFECT effect = pTarget->OnDragEnter(pWnd, &m_data, m_hoverKeys, PointOf(event));
  // The enter is taken whatever the target answered, so that the moves that follow reach
  // it (a target may refuse there).
  event->setDropAction(effect == DROPEFFECT_COPY ? Qt::CopyAction : Qt::MoveAction);
  event->accept();
  m_scrollTimer->start();
}

void QtDragDrop::DragMove(Window* pWnd, QDragMoveEvent* event) {
  COleDropTarget* pTarget = TargetOf(pWnd);
  if (pTarget == nullptr) return event->ignore();
  m_hoverWindow = pWnd;
  m_hoverKeys = KeyStateOf(event);
  m_hoverPoint = event->position().toPoint();
  pTarget->OnDragScroll(pWnd, m_hoverKeys, PointOf(event));
  Answer(event, pTarget->OnDragOver(pWnd, &m_data, m_hoverKeys, PointOf(event)));
}

void QtDragDrop::DragLeave(Window* pWnd) {
  if (COleDropTarget* pTarget = TargetOf(pWnd)) pTarget->OnDragLeave(pWnd);
  StopHover();
}

void QtDragDrop::Drop(Window* pWnd, QDropEvent* event) {
  COleDropTarget* pTarget = TargetOf(pWnd);
  StopHover();
  if (pTarget == nullptr) return event->ignore();
  const bool copy = (KeyStateOf(event) & MK_CONTROL) || event->dropAction() == Qt::CopyAction;
  const DROPEFFECT effect = copy ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
  COleDataObject data = DataObjectOf(event->mimeData());
  const bool taken = pTarget->OnDrop(pWnd, &data, effect, PointOf(event));
  if (taken) {
    event->setDropAction(effect == DROPEFFECT_COPY ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
  } else {
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
  }
  // The drag of this process learns first hand what became of its text.
  if (m_dragging) m_dropHere = taken ? effect : DROPEFFECT_NONE;
  m_data = COleDataObject();
}

void QtDragDrop::StopHover() {
  m_scrollTimer->stop();
  m_hoverWindow = nullptr;
}

}  // namespace quill::qt
