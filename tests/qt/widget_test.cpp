// The editor widget on the offscreen platform: a real window painting a derived view.

#include <QScrollBar>
#include <QWheelEvent>

#include <memory>
#include <string>

#include "qt_fixture.h"

namespace quill::qt::testing {
namespace {

// A loaded buffer shown in a widget of the given size.
class Editor {
 public:
  Editor(const std::string& text, QSize size) {
    TempFile file(text);
    EXPECT_EQ(buffer.LoadFromFile(file.Path().c_str()), 1);
    auto owned = std::make_unique<CLikeView>(&buffer);
    view = owned.get();
    widget = std::make_unique<EditorWidget>(std::move(owned));
    widget->resize(size);
    widget->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
    widget->InitialUpdate();
  }
  QImage Grab() const { return widget->viewport()->grab().toImage(); }
  // The pixels of text cells on screen.
  QRect Cells(int line, int column, int count = 1) const {
    const int cw = view->GetCharWidth();
    const int lh = view->GetLineHeight();
    return QRect(view->GetMarginWidth() + (column - view->OffsetChar()) * cw,
                 (line - view->TopLine()) * lh, cw * count, lh);
  }
  void Focus() {
    widget->activateWindow();
    widget->setFocus();
    EXPECT_TRUE(QTest::qWaitForWindowActive(widget.get()));
    QApplication::processEvents();
  }

  QuillTextBuffer buffer;
  CLikeView* view = nullptr;
  std::unique_ptr<EditorWidget> widget;
};

std::string ManyLines(int count) {
  // Every tenth line holds a keyword, the others are comments.
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += i % 10 == 0 ? "int x;" : "// note";
    text += "\r\n";
  }
  return text;
}

TEST(EditorWidget, PaintsRunsInTheStyleColours) {
  Editor e("int main() {\r\n  // a comment\r\n  return 0;\r\n}\r\n", QSize(400, 200));
  ASSERT_TRUE(e.widget->IsCreated());
  // One whole-pixel cell per byte, as wide as the font's rounded advance.
  EXPECT_GT(e.view->GetCharWidth(), 4);
  EXPECT_GT(e.view->GetLineHeight(), 8);
  const QImage image = e.Grab();
  ASSERT_EQ(image.size(), e.widget->viewport()->size());

  // "int": keyword text on the keyword background, nothing of the comment colour.
  const QRect keyword = e.Cells(0, 0, 3);
  EXPECT_GT(CountNear(image, keyword, kKeywordText), 4);
  EXPECT_GT(CountNear(image, keyword, kKeywordBack, 0), keyword.width() * keyword.height() / 2);
  EXPECT_EQ(CountNear(image, keyword, kCommentText), 0);
  // "main" is normal text on the default background.
  const QRect normal = e.Cells(0, 4, 4);
  EXPECT_GT(CountNear(image, normal, kText, 60), 4);
  EXPECT_EQ(CountNear(image, normal, kKeywordText), 0);
  EXPECT_GT(CountNear(image, normal, kBackground, 0), normal.width() * normal.height() / 2);
  // "// a comment" from column 2.
  const QRect comment = e.Cells(1, 2, 12);
  EXPECT_GT(CountNear(image, comment, kCommentText), 10);
  EXPECT_GT(CountNear(image, comment, kCommentBack, 0), comment.width() * comment.height() / 2);
  EXPECT_EQ(CountNear(image, comment, kKeywordText), 0);
  // The margin and the rows below the text.
  const int lh = e.view->GetLineHeight();
  EXPECT_EQ(image.pixelColor(3, 1), Q(kMargin));
  EXPECT_EQ(image.pixelColor(200, 6 * lh + 2), Q(kBackground));
}

TEST(EditorWidget, SelectionAndCaretShowWhileFocused) {
  Editor e("int main() {\r\n  // a comment\r\n  return 0;\r\n}\r\n", QSize(400, 200));
  e.widget->clearFocus();
  EXPECT_FALSE(e.widget->CaretVisible());
  e.view->Select(CPoint(4, 0), CPoint(8, 0));  // "main"
  QImage image = e.Grab();
  // Without focus the selection is not shown.
  EXPECT_EQ(CountNear(image, e.Cells(0, 4, 4), kSelectionBack, 0), 0);

  e.Focus();
  ASSERT_TRUE(e.view->Focused());
  ASSERT_TRUE(e.widget->CaretVisible());
  EXPECT_TRUE(e.widget->CaretSolid());
  EXPECT_EQ(e.widget->CaretRect(), QRect(e.Cells(0, 8).left(), 0, 2, e.view->GetLineHeight()));
  image = e.Grab();
  const QRect selected = e.Cells(0, 4, 4);
  EXPECT_GT(CountNear(image, selected, kSelectionBack, 0), selected.width() * selected.height() / 2);
  EXPECT_GT(CountNear(image, selected, kSelectionText, 60), 4);
  // The keyword before it keeps its colours.
  EXPECT_EQ(CountNear(image, e.Cells(0, 0, 3), kSelectionBack, 0), 0);
  EXPECT_GT(CountNear(image, e.Cells(0, 0, 3), kKeywordText), 4);

  e.view->Select(CPoint(2, 1), CPoint(2, 1));
  EXPECT_EQ(e.widget->CaretRect().topLeft(), e.Cells(1, 2).topLeft());
  e.widget->clearFocus();
  QApplication::processEvents();
  EXPECT_FALSE(e.view->Focused());
  EXPECT_FALSE(e.widget->CaretVisible());
}

TEST(EditorWidget, ResizeScrollBarAndWheelMoveTheText) {
  Editor e(ManyLines(200), QSize(300, 200));
  QScrollBar* bar = e.widget->verticalScrollBar();
  const int lines = e.view->GetScreenLines();
  ASSERT_GT(lines, 2);
  EXPECT_EQ(lines, e.widget->viewport()->height() / e.view->GetLineHeight());
  EXPECT_TRUE(bar->isEnabled());
  EXPECT_EQ(bar->pageStep(), lines);
  // The last position shows the last page (and the empty line after the last break).
  EXPECT_EQ(bar->maximum(), e.view->GetLineCount() - lines);

  e.widget->resize(500, 400);
  QApplication::processEvents();
  const int taller = e.view->GetScreenLines();
  EXPECT_GT(taller, lines);
  EXPECT_EQ(bar->maximum(), e.view->GetLineCount() - taller);
  QImage image = e.Grab();
  EXPECT_EQ(image.size(), e.widget->viewport()->size());
  // The text is 7 columns wide: no horizontal scrolling.
  EXPECT_FALSE(e.widget->horizontalScrollBar()->isEnabled());

  // One notch of the wheel towards the user scrolls down four lines.
  QWheelEvent wheel(QPointF(50, 50), e.widget->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                    QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(e.widget->viewport(), &wheel);
  EXPECT_EQ(e.view->TopLine(), 4);
  EXPECT_EQ(bar->value(), 4);

  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  const int top = e.view->TopLine();
  EXPECT_GT(top, 4);
  EXPECT_EQ(bar->value(), top);

  // Thumb to line 50, a keyword line: the first row shows it.
  bar->setSliderPosition(50);
  bar->triggerAction(QAbstractSlider::SliderMove);
  ASSERT_EQ(e.view->TopLine(), 50);
  EXPECT_EQ(bar->value(), 50);
  image = e.Grab();
  EXPECT_GT(CountNear(image, e.Cells(50, 0, 3), kKeywordText), 4);
  EXPECT_EQ(CountNear(image, e.Cells(51, 0, 7), kKeywordText), 0);
  EXPECT_GT(CountNear(image, e.Cells(51, 0, 7), kCommentText), 4);

  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(e.view->TopLine(), 0);
  image = e.Grab();
  EXPECT_GT(CountNear(image, e.Cells(0, 0, 3), kKeywordText), 4);
}

TEST(EditorWidget, ScrollInfoMapsOntoTheBar) {
  Editor e("x\r\n", QSize(300, 200));
  Window& window = *e.widget;
  SCROLLINFO info{SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 99, 10, 5};
  window.SetScrollInfo(SB_VERT, info, true);
  QScrollBar* bar = e.widget->verticalScrollBar();
  // 100 items, 10 on a page: the last page starts at 90.
  EXPECT_EQ(bar->maximum(), 90);
  EXPECT_EQ(bar->pageStep(), 10);
  EXPECT_TRUE(bar->isEnabled());
  EXPECT_EQ(window.SetScrollPos(SB_VERT, 12, true), 5);
  EXPECT_EQ(bar->value(), 12);
  SCROLLINFO back;
  ASSERT_TRUE(window.GetScrollInfo(SB_VERT, back, SIF_ALL));
  EXPECT_TRUE(back.nMin == 0 && back.nMax == 99 && back.nPage == 10u && back.nPos == 12);
  // Everything fits: the bar stays, disabled.
  info.nMax = 3;
  window.SetScrollInfo(SB_VERT, info, true);
  EXPECT_FALSE(bar->isEnabled());
  EXPECT_TRUE(bar->isVisible());
}

TEST(EditorWidget, WindowReportsKeysButtonsAndMouse) {
  Editor e("int x;\r\n", QSize(300, 200));
  Window& window = *e.widget;
  QWidget* viewport = e.widget->viewport();
  QTest::mousePress(viewport, Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 10));
  EXPECT_LT(window.GetKeyState(VK_SHIFT), 0);
  EXPECT_EQ(window.GetKeyState(VK_CONTROL), 0);
  EXPECT_LT(window.GetKeyState(0x01), 0);  // left button
  EXPECT_EQ(window.GetCursorPos(), CPoint(30, 10));
  QTest::mouseMove(viewport, QPoint(60, 25));
  EXPECT_EQ(window.GetCursorPos(), CPoint(60, 25));
  QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(60, 25));
  EXPECT_EQ(window.GetKeyState(0x01), 0);
  EXPECT_EQ(window.GetKeyState(VK_SHIFT), 0);
  // A press gives the editor the focus.
  EXPECT_TRUE(window.HasFocus());

  window.SetCursor(CursorShape::Margin);
  EXPECT_EQ(viewport->cursor().shape(), Qt::BitmapCursor);
  window.SetCursor(CursorShape::IBeam);
  EXPECT_EQ(viewport->cursor().shape(), Qt::IBeamCursor);
}

TEST(EditorWidget, ViewWithoutStyleGetsNoWindow) {
  auto view = std::make_unique<QuillView>();
  EditorWidget widget(std::move(view));
  widget.resize(200, 100);
  widget.show();
  EXPECT_FALSE(widget.IsCreated());
  EXPECT_EQ(widget.View()->GetWindow(), nullptr);
  // Painting and events are harmless.
  widget.InitialUpdate();
  EXPECT_FALSE(widget.viewport()->grab().isNull());
}

TEST(EditorSplitter, PanesOfOneBufferShowItsEdits) {
  QuillTextBuffer buffer;
  buffer.InitNew(CRLF_MODE_DOS);
  EditorSplitter splitter(2, 1);
  auto* top = new EditorWidget(std::make_unique<CLikeView>(&buffer));
  auto* bottom = new EditorWidget(std::make_unique<CLikeView>(&buffer));
  splitter.SetPane(0, 0, top);
  splitter.SetPane(1, 0, bottom);
  splitter.resize(400, 300);
  splitter.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&splitter));
  top->InitialUpdate();
  bottom->InitialUpdate();

  EXPECT_EQ(bottom->GetDlgCtrlID(), AFX_IDW_PANE_FIRST + 16);
  EXPECT_TRUE(bottom->IsSplitterPane());
  EXPECT_EQ(bottom->GetPane(0, 0), top->View());
  EXPECT_EQ(top->GetPane(1, 0), bottom->View());
  EXPECT_EQ(top->GetPane(0, 1), nullptr);

  int endLine = 0;
  int endChar = 0;
  buffer.InsertText(nullptr, 0, 0, "while x", endLine, endChar);
  for (EditorWidget* pane : {top, bottom}) {
    auto* view = static_cast<CLikeView*>(pane->View());
    const QImage image = pane->viewport()->grab().toImage();
    const QRect word(view->GetMarginWidth(), 0, 5 * view->GetCharWidth(), view->GetLineHeight());
    EXPECT_GT(CountNear(image, word, kKeywordText), 4);
  }
}

}  // namespace
}  // namespace quill::qt::testing
