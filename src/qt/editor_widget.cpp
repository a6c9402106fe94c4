#include "qt/editor_widget.h"

#include <QApplication>
#include <QBitmap>
#include <QClipboard>
#include <QCursor>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include <algorithm>
#include <functional>
#include <optional>

#include "platform/text_encoding.h"
#include "qt/cp1252.h"
#include "qt/editor_splitter.h"
#include "qt/keys.h"
#include "qt/qt_drag_drop.h"
#include "qt/qt_dc.h"
#include "resources/glyphs.h"
#include "view/quill_view.h"

namespace quill::qt {

namespace {

constexpr unsigned SIZE_RESTORED = 0;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_MENU = 0x12;

QRect ToQRect(const CRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

const QCursor& MarginQCursor() {
  static const QCursor cursor = [] {
    const CursorImage& art = MarginCursor();
    QImage image(art.image.width, art.image.height, QImage::Format_ARGB32);
    for (int y = 0; y < art.image.height; ++y) {
      for (int x = 0; x < art.image.width; ++x) {
        const COLORREF c = art.image.At(x, y);
        image.setPixel(x, y, c == CURSOR_TRANSPARENT ? qRgba(0, 0, 0, 0)
                                                     : qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
      }
    }
    return QCursor(QPixmap::fromImage(image), art.hotSpot.x, art.hotSpot.y);
  }();
  return cursor;
}

// A scroll bar that repaints only when what it draws changes. Each key typed at the end of
// a line of millions of columns moves the horizontal range and position by one column,
// which moves nothing on the screen, yet the slider repaints the whole bar for every change
// of range or value.
class SteadyScrollBar : public QScrollBar {
 public:
  explicit SteadyScrollBar(Qt::Orientation orientation) : QScrollBar(orientation) {}

  // Sets range, page and (unless the slider is held) position as one change. The signals
  // stay quiet: the view scrolls its own pixels, and the scroll area's reply to a new range
  // (showing or hiding the bars, which its policies fix, and raising them) repaints both bars.
  void Apply(int nMin, int nMax, int nPage, int nPos) {
    const QSignalBlocker quiet(this);
    m_bApplying = true;
    setRange(nMin, nMax);
    setPageStep(nPage);
    setSingleStep(1);
    if (!isSliderDown()) setValue(nPos);
    m_bApplying = false;
    if (m_bChanged && !(m_painted && *m_painted == CurrentLook())) update();
    m_bChanged = false;
  }

 protected:
  void sliderChange(SliderChange change) override {
    if (m_bApplying) m_bChanged = true;  // Apply repaints once, if the look changed
    else QScrollBar::sliderChange(change);
  }
  void paintEvent(QPaintEvent* event) override {
    m_painted = CurrentLook();
    QScrollBar::paintEvent(event);
  }
  void changeEvent(QEvent* event) override {
    m_painted.reset();  // style, palette or enabled state: the next change repaints
    QScrollBar::changeEvent(event);
  }

 private:
  // The slider's place and the ends it touches (some styles dim the arrow at an end).
  struct Look {
    QRect slider;
    bool atMinimum = false;
    bool atMaximum = false;
    bool operator==(const Look&) const = default;
  };
  Look CurrentLook() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
            value() == minimum(), value() == maximum()};
  }
  bool m_bApplying = false;
  bool m_bChanged = false;
  std::optional<Look> m_painted;
};

}  // namespace

EditorWidget::EditorWidget(std::unique_ptr<QuillView> view, QWidget* parent)
    : QAbstractScrollArea(parent), m_owned(std::move(view)), m_view(m_owned.get()) {
  Create();
}

EditorWidget::EditorWidget(QuillView* view, QWidget* parent)
    : QAbstractScrollArea(parent), m_view(view) {
  Create();
}

EditorWidget::~EditorWidget() {
  if (m_created) m_view->OnDestroy();
}

void EditorWidget::Create() {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, true);
  setHorizontalScrollBar(new SteadyScrollBar(Qt::Horizontal));
  setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical));
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_NoSystemBackground);
  viewport()->setMouseTracking(true);
  viewport()->setCursor(Qt::IBeamCursor);
  m_font.CreateFontIndirect(LogFontFromFont(font()));
  if (m_view == nullptr) return;

  // Panes keep their own scroll bars, so the view is told its parent is no splitter.
  CREATESTRUCT cs;
  m_view->PreCreateWindow(cs);
  m_style = cs.style;
  setVerticalScrollBarPolicy((m_style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy((m_style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  for (int bar : {SB_HORZ, SB_VERT}) {
    QScrollBar* sb = ScrollBarOf(bar);
    sb->setRange(0, 0);
    sb->setEnabled(false);
    connect(sb, &QAbstractSlider::actionTriggered, this,
            [this, bar](int action) { OnScrollAction(bar, action); });
    connect(sb, &QAbstractSlider::sliderReleased, this, [this, bar] {
      QScrollBar* s = ScrollBarOf(bar);
      const unsigned pos = static_cast<unsigned>(s->sliderPosition());
      if (!m_created) return;
      if (bar == SB_VERT) {
        m_view->OnVScroll(SB_THUMBPOSITION, pos, nullptr);
        m_view->OnVScroll(SB_ENDSCROLL, pos, nullptr);
      } else {
        m_view->OnHScroll(SB_THUMBPOSITION, pos, nullptr);
        m_view->OnHScroll(SB_ENDSCROLL, pos, nullptr);
      }
      s->setSliderPosition(m_bars[bar].info.nPos);
      emit viewChanged();
    });
  }
  m_created = m_view->OnCreate(this) != -1;
}

void EditorWidget::InitialUpdate() {
  if (!m_created) return;
  m_view->OnInitialUpdate();
  const QSize size = viewport()->size();
  m_view->OnSize(SIZE_RESTORED, size.width(), size.height());
  if (hasFocus()) m_view->OnSetFocus(nullptr);
  emit viewChanged();
}

void EditorWidget::SetPane(EditorSplitter* splitter, int row, int column) {
  m_splitter = splitter;
  m_paneId = AFX_IDW_PANE_FIRST + row * 16 + column;
}

IPaneClient* EditorWidget::GetPane(int row, int column) const {
  return m_splitter != nullptr ? m_splitter->PaneView(row, column) : nullptr;
}

// ---- client area, invalidation, scrolling ----

CRect EditorWidget::GetClientRect() const {
  const QSize size = viewport()->size();
  return CRect(0, 0, size.width(), size.height());
}

void EditorWidget::InvalidateRect(const CRect* rect, bool) {
  if (rect == nullptr) {
    viewport()->update();
  } else if (!rect->IsRectEmpty()) {
    viewport()->update(ToQRect(*rect));
  }
}

void EditorWidget::UpdateWindow() {
  if (viewport()->isVisible()) viewport()->repaint();
}

void EditorWidget::ScrollWindow(int dx, int dy, const CRect* scrollRect, const CRect* clipRect) {
  QRect area = scrollRect ? ToQRect(*scrollRect) : viewport()->rect();
  if (clipRect) area = area.intersected(ToQRect(*clipRect));
  if (area.isEmpty()) return;
  viewport()->scroll(dx, dy, area);
  // The caret's pixels went along: repaint where they are now.
  if (m_caret.created) viewport()->update(m_caret.rect.translated(dx, dy));
}

QScrollBar* EditorWidget::ScrollBarOf(int bar) const {
  return bar == SB_VERT ? verticalScrollBar() : horizontalScrollBar();
}

void EditorWidget::SetScrollInfo(int bar, const SCROLLINFO& info, bool) {
  if (bar != SB_VERT && bar != SB_HORZ) return;
  SCROLLINFO& kept = m_bars[bar].info;
  if (info.fMask & SIF_RANGE) {
    kept.nMin = info.nMin;
    kept.nMax = info.nMax;
  }
  if (info.fMask & SIF_PAGE) kept.nPage = info.nPage;
  if (info.fMask & SIF_POS) kept.nPos = info.nPos;
  kept.fMask |= info.fMask & SIF_DISABLENOSCROLL;
  ApplyScrollInfo(bar);
}

void EditorWidget::ApplyScrollInfo(int bar) {
  const SCROLLINFO& kept = m_bars[bar].info;
  QScrollBar* sb = ScrollBarOf(bar);
  const int page = std::max(1, static_cast<int>(kept.nPage));
  // The last position shows the last page: max - page + 1.
  const int maxPos = std::max(kept.nMin, kept.nMax - page + 1);
  sb->setEnabled(maxPos > kept.nMin);
  static_cast<SteadyScrollBar*>(sb)->Apply(kept.nMin, maxPos, page, std::clamp(kept.nPos, kept.nMin, maxPos));
}

bool EditorWidget::GetScrollInfo(int bar, SCROLLINFO& info, unsigned mask) {
  if (bar != SB_VERT && bar != SB_HORZ) return false;
  const SCROLLINFO& kept = m_bars[bar].info;
  info.fMask = mask;
  if (mask & SIF_RANGE) {
    info.nMin = kept.nMin;
    info.nMax = kept.nMax;
  }
  if (mask & SIF_PAGE) info.nPage = kept.nPage;
  if (mask & SIF_POS) info.nPos = kept.nPos;
  if (mask & SIF_TRACKPOS) info.nTrackPos = ScrollBarOf(bar)->sliderPosition();
  return true;
}

int EditorWidget::SetScrollPos(int bar, int pos, bool) {
  if (bar != SB_VERT && bar != SB_HORZ) return 0;
  SCROLLINFO& kept = m_bars[bar].info;
  const int previous = kept.nPos;
  kept.nPos = pos;
  ApplyScrollInfo(bar);
  return previous;
}

void EditorWidget::OnScrollAction(int bar, int action) {
  if (!m_created) return;
  QScrollBar* sb = ScrollBarOf(bar);
  unsigned code = SB_ENDSCROLL;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove:
      code = sb->isSliderDown() ? SB_THUMBTRACK : SB_THUMBPOSITION;
      break;
    default: return;
  }
  const unsigned pos = static_cast<unsigned>(std::max(sb->sliderPosition(), 0));
  if (bar == SB_VERT) {
    m_view->OnVScroll(code, pos, nullptr);
  } else {
    m_view->OnHScroll(code, pos, nullptr);
  }
  // The view decides where the bar stands.
  if (!sb->isSliderDown()) sb->setSliderPosition(m_bars[bar].info.nPos);
  emit viewChanged();
}

void EditorWidget::scrollContentsBy(int, int) {
  // The view scrolls its own pixels (ScrollWindow) when it moves its top line.
}

// ---- caret ----

QRect EditorWidget::CaretRect() const { return m_caret.rect; }

void EditorWidget::CreateSolidCaret(int width, int height) {
  UpdateCaretArea();
  m_caret.created = true;
  m_caret.solid = true;
  m_caret.shown = false;
  m_caret.rect.setSize(QSize(std::max(width, 1), std::max(height, 1)));
}

void EditorWidget::CreateGrayCaret(int width, int height) {
  CreateSolidCaret(width, height);
  m_caret.solid = false;
}

void EditorWidget::SetCaretPos(CPoint pt) {
  UpdateCaretArea();
  m_caret.rect.moveTopLeft(QPoint(pt.x, pt.y));
  RestartBlink();
  UpdateCaretArea();
}

void EditorWidget::ShowCaret() {
  if (!m_caret.created || m_caret.shown) return;
  m_caret.shown = true;
  RestartBlink();
  UpdateCaretArea();
}

void EditorWidget::HideCaret() {
  if (!m_caret.shown) return;
  m_caret.shown = false;
  m_blink.stop();
  UpdateCaretArea();
}

void EditorWidget::UpdateCaretArea() {
  if (m_caret.created && m_caret.rect.isValid()) viewport()->update(m_caret.rect);
}

void EditorWidget::RestartBlink() {
  m_caret.blinkOn = true;
  const int flash = QApplication::cursorFlashTime();
  if (m_caret.shown && flash > 0) {
    m_blink.start(flash / 2, this);
  } else {
    m_blink.stop();
  }
}

// ---- capture, timers, focus, keys, cursor ----

void EditorWidget::SetTimer(unsigned id, unsigned milliseconds) {
  KillTimer(id);
  const int qtId = startTimer(static_cast<int>(milliseconds));
  if (qtId != 0) m_timers[qtId] = id;
}

void EditorWidget::KillTimer(unsigned id) {
  for (auto it = m_timers.begin(); it != m_timers.end();) {
    if (it->second == id) {
      killTimer(it->first);
      it = m_timers.erase(it);
    } else {
      ++it;
    }
  }
}

void EditorWidget::SetFocus() { setFocus(Qt::OtherFocusReason); }

bool EditorWidget::HasFocus() const { return hasFocus(); }

short EditorWidget::GetKeyState(int virtualKey) const {
  bool down = false;
  switch (virtualKey) {
    case VK_SHIFT: down = m_modifiers & Qt::ShiftModifier; break;
    case VK_CONTROL: down = m_modifiers & Qt::ControlModifier; break;
    case VK_MENU: down = m_modifiers & Qt::AltModifier; break;
    case VK_LBUTTON: down = m_buttons & Qt::LeftButton; break;
    case VK_RBUTTON: down = m_buttons & Qt::RightButton; break;
    default: break;
  }
  return down ? static_cast<short>(0x8000) : 0;
}

CPoint EditorWidget::GetCursorPos() const {
  const QPoint p = m_hasMouse ? m_mouse : viewport()->mapFromGlobal(QCursor::pos());
  return CPoint(p.x(), p.y());
}

void EditorWidget::SetCursor(CursorShape shape) {
  switch (shape) {
    case CursorShape::Arrow: viewport()->setCursor(Qt::ArrowCursor); break;
    case CursorShape::IBeam: viewport()->setCursor(Qt::IBeamCursor); break;
    case CursorShape::Wait: viewport()->setCursor(Qt::WaitCursor); break;
    case CursorShape::Margin: viewport()->setCursor(MarginQCursor()); break;
  }
}

std::unique_ptr<CDC> EditorWidget::GetDC() {
  return std::make_unique<QtDC>(nullptr, m_font.GetLogFont());
}

void EditorWidget::Track(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  m_modifiers = modifiers;
  m_buttons = buttons;
}

unsigned EditorWidget::MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const {
  unsigned flags = 0;
  if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
  if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
  if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
  return flags;
}

unsigned EditorWidget::TrackPopupMenu(const CMenu& menu, unsigned, CPoint screenPoint) {
  QMenu popup(this);
  std::function<void(QMenu*, const std::vector<CMenu::Item>&)> fill =
      [&fill](QMenu* target, const std::vector<CMenu::Item>& items) {
        for (const CMenu::Item& item : items) {
          if (item.separator) {
            target->addSeparator();
          } else if (!item.submenu.empty()) {
            fill(target->addMenu(FromCp1252(item.text)), item.submenu);
          } else {
            QAction* action = target->addAction(FromCp1252(item.text));
            action->setData(item.id);
            action->setEnabled(item.enabled);
            action->setCheckable(item.checked);
            action->setChecked(item.checked);
          }
        }
      };
  fill(&popup, menu.Items());
  QAction* chosen = popup.exec(QPoint(screenPoint.x, screenPoint.y));
  return chosen != nullptr ? chosen->data().toUInt() : 0;
}

// ---- events ----

bool EditorWidget::viewportEvent(QEvent* event) {
  // While the view holds the mouse, the last position stays (the auto-scroll timer reads
  // it outside the window).
  if (event->type() == QEvent::Leave && !m_capture) m_hasMouse = false;
  return QAbstractScrollArea::viewportEvent(event);
}

MSG EditorWidget::KeyMessage(const QKeyEvent* event) const {
  MSG msg;
  msg.hwnd = const_cast<EditorWidget*>(this);
  const int vk = VirtualKeyOf(event->key());
  if (vk == 0) return msg;
  msg.message = (event->modifiers() & Qt::AltModifier) ? WM_SYSKEYDOWN : WM_KEYDOWN;
  msg.wParam = static_cast<unsigned long>(vk);
  return msg;
}

bool EditorWidget::event(QEvent* event) {
  // A key the view's accelerators take is the view's, before any shortcut of the host.
  if (event->type() == QEvent::ShortcutOverride && m_created) {
    auto* key = static_cast<QKeyEvent*>(event);
    Track(key->modifiers(), m_buttons);
    const MSG msg = KeyMessage(key);
    bool mine = msg.message != 0 && TranslateAccelerator(this, m_view->GetAcceleratorTable(), &msg) != 0;
    for (char c : ToCp1252(key->text())) {
      const MSG ch{this, (key->modifiers() & Qt::AltModifier) ? WM_SYSCHAR : WM_CHAR,
                   static_cast<unsigned char>(c), 0};
      mine = mine || TranslateAccelerator(this, m_view->GetAcceleratorTable(), &ch) != 0;
    }
    if (mine) {
      event->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

void EditorWidget::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  if (!m_created) {
    painter.fillRect(viewport()->rect(), palette().base());
    return;
  }
  QtDC dc(&painter, m_font.GetLogFont());
  m_view->OnDraw(&dc);
  if (m_caret.created && m_caret.shown && m_caret.blinkOn) {
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.fillRect(m_caret.rect, m_caret.solid ? QColor(255, 255, 255) : QColor(128, 128, 128));
  }
}

void EditorWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (m_created) {
    const QSize size = viewport()->size();
    m_view->OnSize(SIZE_RESTORED, size.width(), size.height());
  }
}

void EditorWidget::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  if (m_created) {
    m_view->OnSetFocus(nullptr);
    emit viewChanged();
  }
}

void EditorWidget::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  m_blink.stop();
  if (m_created) {
    m_view->OnKillFocus(nullptr);
    emit viewChanged();
  }
}

CPoint EditorWidget::TrackMouse(const QMouseEvent* event) {
  Track(event->modifiers(), event->buttons());
  m_mouse = event->position().toPoint();
  m_hasMouse = true;
  return CPoint(m_mouse.x(), m_mouse.y());
}

void EditorWidget::mousePressEvent(QMouseEvent* event) {
  const CPoint pt = TrackMouse(event);
  if (!m_created) return;
  const unsigned flags = MouseFlags(event->buttons(), event->modifiers());
  if (event->button() == Qt::LeftButton) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    m_view->OnLButtonDown(flags, pt);
  } else if (event->button() == Qt::RightButton) {
    m_view->OnRButtonDown(flags, pt);
  } else if (event->button() == Qt::MiddleButton) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection()) return;
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    PasteAt(m_mouse, clipboard->text(QClipboard::Selection));
  }
  OfferPrimarySelection();
  emit viewChanged();
}

QString EditorWidget::SelectedText() {
  if (!m_created || !m_view->IsSelection()) return QString();
  CPoint start, end;
  m_view->GetSelection(start, end);
  std::string text;
  m_view->GetText(start, end, text);
  QString out = FromCp1252(text);
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
  return out;
}

void EditorWidget::PasteAt(QPoint point, const QString& text) {
  if (!m_created || text.isEmpty() || !m_view->QueryEditable()) return;
  const CPoint pos = m_view->ClientToText(CPoint(point.x(), point.y()));
  m_view->SetSelection(pos, pos);
  m_view->SetAnchor(pos);
  m_view->SetCursorPos(pos);
  // A paste of its own: the text goes in at the caret in an undo group of its own (not
  // joined to the typing before), broken into lines at CR LF.
  QString breaks = text;
  breaks.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
  breaks.replace('\n', QStringLiteral("\r\n"));
  m_view->AppendText(ToCp1252(breaks).c_str(), true);
  emit viewChanged();
}

void EditorWidget::OfferPrimarySelection() {
  if (!m_created) return;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard->supportsSelection() || !m_view->IsSelection()) return;
  CPoint start, end;
  m_view->GetSelection(start, end);
  // A selection already offered is not copied again (a key that moves nothing, a click).
  if (start == m_offeredStart && end == m_offeredEnd && !clipboard->text(QClipboard::Selection).isEmpty())
    return;
  m_offeredStart = start;
  m_offeredEnd = end;
  clipboard->setText(SelectedText(), QClipboard::Selection);
}

void EditorWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const CPoint pt = TrackMouse(event);
  if (m_created && event->button() == Qt::LeftButton) {
    m_view->OnLButtonDblClk(MouseFlags(event->buttons(), event->modifiers()), pt);
    OfferPrimarySelection();
    emit viewChanged();
  }
}

void EditorWidget::mouseReleaseEvent(QMouseEvent* event) {
  const CPoint pt = TrackMouse(event);
  if (m_created && event->button() == Qt::LeftButton) {
    m_view->OnLButtonUp(MouseFlags(event->buttons(), event->modifiers()), pt);
    OfferPrimarySelection();
    emit viewChanged();
  }
}

void EditorWidget::mouseMoveEvent(QMouseEvent* event) {
  const CPoint pt = TrackMouse(event);
  if (!m_created) return;
  if (viewport()->rect().contains(m_mouse)) m_view->OnSetCursor(this, HTCLIENT, WM_MOUSEMOVE);
  m_view->OnMouseMove(MouseFlags(event->buttons(), event->modifiers()), pt);
  if (event->buttons() != Qt::NoButton) emit viewChanged();
}

// Drag events go to the drop target the view registered through the Qt service.
void EditorWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (QtDragDrop* dnd = CurrentQtDragDrop()) return dnd->DragEnter(this, event);
  event->ignore();
}

void EditorWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (QtDragDrop* dnd = CurrentQtDragDrop()) return dnd->DragMove(this, event);
  event->ignore();
}

void EditorWidget::dragLeaveEvent(QDragLeaveEvent*) {
  if (QtDragDrop* dnd = CurrentQtDragDrop()) dnd->DragLeave(this);
}

void EditorWidget::dropEvent(QDropEvent* event) {
  if (QtDragDrop* dnd = CurrentQtDragDrop()) {
    dnd->Drop(this, event);
    emit viewChanged();
    return;
  }
  event->ignore();
}

void EditorWidget::wheelEvent(QWheelEvent* event) {
  Track(event->modifiers(), event->buttons());
  if (!m_created) return;
  const int delta = event->angleDelta().y();
  if (delta == 0) {
    event->ignore();
    return;
  }
  const QPoint global = event->globalPosition().toPoint();
  const int handled =
      m_view->OnMouseWheel(MouseFlags(event->buttons(), event->modifiers()),
                           static_cast<short>(std::clamp(delta, -32768, 32767)),
                           CPoint(global.x(), global.y()));
  if (handled == 0) {
    event->ignore();
    return;
  }
  event->accept();
  emit viewChanged();
}

void EditorWidget::keyPressEvent(QKeyEvent* event) {
  Track(event->modifiers(), m_buttons);
  if (!m_created) return;
  const int key = event->key();
  if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
      key == Qt::Key_Meta || key == Qt::Key_AltGr) {
    return;
  }
  event->accept();
  MSG msg = KeyMessage(event);
  if (msg.message != 0 && m_view->PreTranslateMessage(&msg)) {
    OfferPrimarySelection();
    emit viewChanged();
    return;
  }
  // The characters the key typed: code points for a UTF-8 document, Windows-1252 bytes for
  // the other kind (a character the code page lacks is refused by the view); with Alt they
  // are system characters, which only the accelerators may take.
  const bool alt = (event->modifiers() & Qt::AltModifier) != 0;
  TypeCharacters(event->text(), alt);
  emit viewChanged();
}

void EditorWidget::TypeCharacters(const QString& text, bool alt) {
  for (const char32_t cp : text.toUcs4()) {
    unsigned ch = cp;
    if (cp >= 0x80 && !m_view->IsUtf8Text()) {
      const int byte = CodePointToCp1252Byte(cp);
      if (byte < 0) {
        if (!alt) m_view->OnUnicodeChar(cp);
        continue;
      }
      ch = static_cast<unsigned>(byte);
    }
    MSG chMsg{this, alt ? WM_SYSCHAR : WM_CHAR, ch, 0};
    if (!m_view->PreTranslateMessage(&chMsg) && !alt) m_view->OnChar(ch, 1, 0);
  }
}

void EditorWidget::inputMethodEvent(QInputMethodEvent* event) {
  if (m_created && !event->commitString().isEmpty()) {
    const QByteArray text = event->commitString().toUtf8();
    m_view->OnInputText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    emit viewChanged();
  }
  event->accept();
}

QVariant EditorWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
  if (query == Qt::ImEnabled) return m_created;
  if (query == Qt::ImCursorRectangle && m_created) {
    return m_caret.rect;
  }
  return QAbstractScrollArea::inputMethodQuery(query);
}

void EditorWidget::keyReleaseEvent(QKeyEvent* event) {
  Track(event->modifiers(), m_buttons);
  QAbstractScrollArea::keyReleaseEvent(event);
}

void EditorWidget::contextMenuEvent(QContextMenuEvent* event) {
  if (!m_created) return;
  const QPoint global = event->globalPos();
  m_view->OnContextMenu(this, CPoint(global.x(), global.y()));
  emit viewChanged();
}

void EditorWidget::timerEvent(QTimerEvent* event) {
  if (event->timerId() == m_blink.timerId()) {
    m_caret.blinkOn = !m_caret.blinkOn;
    UpdateCaretArea();
    return;
  }
  auto it = m_timers.find(event->timerId());
  if (it == m_timers.end()) {
    QAbstractScrollArea::timerEvent(event);
    return;
  }
  if (m_created) {
    m_view->OnTimer(it->second);
    emit viewChanged();
  }
}

}  // namespace quill::qt
