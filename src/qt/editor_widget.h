#pragma once
// EditorWidget: the Qt window of a QuillView. It is the view's Window (client area,
// invalidation, scrolling, scroll bars, caret, capture, timers, focus, keyboard state,
// cursor shape, splitter panes, popup menus), paints the view through a QtDC, draws the
// blinking caret the view positions, and delivers focus, size, paint, mouse, wheel,
// scroll bar, timer, key and character events to the view's message members. Keys go
// through the view's accelerator table (PreTranslateMessage) before anything else, the
// host's menu shortcuts included.
//
//   auto* editor = new quill::qt::EditorWidget(std::move(view), parent);
//   editor->InitialUpdate();        // attaches the view's buffer, lays out fonts and bars
//
// A view whose CreateStyle gives no style refuses its window: IsCreated() is then false
// and the widget shows nothing.

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QPoint>

#include <map>
#include <memory>

#include "platform/command_ui.h"
#include "platform/gdi.h"
#include "platform/window.h"

class QScrollBar;

namespace quill {
class QuillView;
}

namespace quill::qt {

class EditorSplitter;

class EditorWidget : public QAbstractScrollArea, public Window {
  Q_OBJECT

 public:
  // Takes the view and creates its window.
  explicit EditorWidget(std::unique_ptr<QuillView> view, QWidget* parent = nullptr);
  // Creates the window of a view the caller keeps (it must outlive the widget).
  explicit EditorWidget(QuillView* view, QWidget* parent = nullptr);
  ~EditorWidget() override;

  QuillView* View() const { return m_view; }
  // The view accepted its window.
  bool IsCreated() const { return m_created; }
  // The framework's first update of a new view: OnInitialUpdate.
  void InitialUpdate();

  // Caret as drawn now (client coordinates), for tests and hosts.
  bool CaretVisible() const { return m_caret.created && m_caret.shown; }
  QRect CaretRect() const;
  bool CaretSolid() const { return m_caret.solid; }

  // Pane of a splitter: set by EditorSplitter.
  void SetPane(EditorSplitter* splitter, int row, int column);

  // ---- Window ----
  CRect GetClientRect() const override;
  unsigned long GetStyle() const override { return m_style; }
  void InvalidateRect(const CRect* rect, bool erase) override;
  void UpdateWindow() override;
  void ScrollWindow(int dx, int dy, const CRect* scrollRect, const CRect* clipRect) override;
  void SetScrollInfo(int bar, const SCROLLINFO& info, bool redraw) override;
  bool GetScrollInfo(int bar, SCROLLINFO& info, unsigned mask) override;
  int SetScrollPos(int bar, int pos, bool redraw) override;
  ScrollBarCtrl* GetScrollBarCtrl(int) override { return nullptr; }
  void CreateSolidCaret(int width, int height) override;
  void CreateGrayCaret(int width, int height) override;
  void SetCaretPos(CPoint pt) override;
  void ShowCaret() override;
  void HideCaret() override;
  void SetCapture() override { m_capture = true; }
  void ReleaseCapture() override { m_capture = false; }
  bool HasCapture() const override { return m_capture; }
  void SetTimer(unsigned id, unsigned milliseconds) override;
  void KillTimer(unsigned id) override;
  void SetFocus() override;
  bool HasFocus() const override;
  short GetKeyState(int virtualKey) const override;
  CPoint GetCursorPos() const override;
  void SetCursor(CursorShape shape) override;
  std::unique_ptr<CDC> GetDC() override;
  const CFont* GetFont() const override { return &m_font; }
  int GetDlgCtrlID() const override { return m_paneId; }
  bool IsSplitterPane() const override { return m_splitter != nullptr; }
  IPaneClient* GetPane(int row, int column) const override;
  unsigned TrackPopupMenu(const CMenu& menu, unsigned flags, CPoint screenPoint) override;
  void RouteCommandToFrame(unsigned nID) override { emit commandNotHandled(nID); }

  // The X11 primary selection. Where the platform has one (QClipboard::supportsSelection),
  // the text a mouse or key selects is offered to it, and a middle click pastes it at the
  // click. These two carry it out: the view's selected text with LF breaks (empty without
  // a selection), and the insertion of another program's text (any line breaks) at a
  // client point, where the caret goes first: one undo step, no selection replaced.
  QString SelectedText();
  void PasteAt(QPoint point, const QString& text);

 signals:
  // The view took a message (its cursor, selection, scroll position or text may have
  // changed): hosts refresh their indicators and commands.
  void viewChanged();
  // A command of the view's keys or menu that the view does not handle (saving).
  void commandNotHandled(unsigned id);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool viewportEvent(QEvent* event) override;
  bool focusNextPrevChild(bool) override { return false; }

 private:
  struct Caret {
    bool created = false;
    bool solid = true;
    bool shown = false;
    bool blinkOn = true;
    QRect rect;
  };
  struct Bar {
    SCROLLINFO info;
  };

  void Create();
  // Typed text (of a key or an input method) to the view, character by character.
  void TypeCharacters(const QString& text, bool alt);
  void OnScrollAction(int bar, int action);
  QScrollBar* ScrollBarOf(int bar) const;
  void ApplyScrollInfo(int bar);
  void UpdateCaretArea();
  void RestartBlink();
  unsigned MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const;
  void Track(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
  // A key message for the view's accelerators; message 0 for a key without a virtual key.
  MSG KeyMessage(const QKeyEvent* event) const;
  // Keeps the event's modifiers, buttons and position; the position as a client point.
  CPoint TrackMouse(const QMouseEvent* event);
  // Offers a selection that changed to the primary selection (where there is one).
  void OfferPrimarySelection();

  std::unique_ptr<QuillView> m_owned;
  QuillView* m_view;
  bool m_created = false;
  unsigned long m_style = 0;
  CFont m_font;
  Caret m_caret;
  QBasicTimer m_blink;
  std::map<int, Bar> m_bars;
  std::map<int, unsigned> m_timers;  // Qt timer id -> view timer id
  bool m_capture = false;
  Qt::KeyboardModifiers m_modifiers;
  Qt::MouseButtons m_buttons;
  QPoint m_mouse;
  bool m_hasMouse = false;
  EditorSplitter* m_splitter = nullptr;
  int m_paneId = AFX_IDW_PANE_FIRST;
  CPoint m_offeredStart, m_offeredEnd;  // the selection last offered as the primary one
};

}  // namespace quill::qt
