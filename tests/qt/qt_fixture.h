#pragma once
// A derived view with a C-like style, sample files and pixel probes for the widget tests.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMessageBox>
#include <QTest>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "buffer/text_buffer.h"
#include "support/temp_dir.h"
#include "qt/quill_qt.h"
#include "style/document_style.h"
#include "view/input_fixture.h"
#include "view/quill_view.h"

namespace quill::qt::testing {

// Colours of the test style, all distinct.
constexpr COLORREF kBackground = RGB(250, 250, 240);
constexpr COLORREF kText = RGB(90, 0, 90);
constexpr COLORREF kCommentText = RGB(0, 128, 0);
constexpr COLORREF kCommentBack = RGB(230, 255, 230);
constexpr COLORREF kKeywordText = RGB(0, 0, 255);
constexpr COLORREF kKeywordBack = RGB(255, 235, 235);
constexpr COLORREF kSelectionBack = RGB(0, 0, 0);      // colour index 4
constexpr COLORREF kSelectionText = RGB(255, 255, 255);  // colour index 5
constexpr COLORREF kMargin = RGB(230, 230, 230);         // colour index 3

// The view tests' host-style view in the widget tests' own colours, keywords not bold;
// selecting also moves the caret there.
class CLikeView : public quill::testing::InputView {
 public:
  using InputView::InputView;
  TDocumentStyle* CreateStyle() override {
    TDocumentStyle* style = InputView::CreateStyle();
    style->SetKeywordColor(kKeywordBack, "Keywords", 0, 0);
    style->SetKeywordColor(kKeywordText, "Keywords", 1, 0);
    for (const char* k : {"while", "if"}) style->AddKeyword(k, "Keywords");
    style->SetDefaultColor(kBackground, 0, 0);
    style->SetDefaultColor(kText, 1, 0);
    style->SetCommentsColor(kCommentText, 1, 0);
    style->SetCommentsColor(kCommentBack, 0, 0);
    style->SetModified(false);
    return style;
  }
  int GetBold(int) override { return 0; }
  void Select(CPoint start, CPoint end) {
    ProbeView::Select(start, end);
    m_ptCursorPos = end;
    InvalidateLines(start.y, end.y);
    UpdateCaret();
  }
};

// A loaded buffer in an editor widget, the central widget of a shown main window, with the
// Qt platform installed and message boxes recorded and accepted. The buffer outlives the
// window, whose editor's view is attached to it.
class EditorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    services = &InstallPlatform();
    services->SetMessageBoxHook([this](QMessageBox& box) {
      messages.push_back(box.text().toStdString());
      box.accept();
    });
  }
  void TearDown() override {
    delete window.takeCentralWidget();
    services->SetMessageBoxHook(nullptr);
    UninstallPlatform();
  }
  void Show(const std::string& text, QSize size = QSize(500, 300)) {
    ASSERT_EQ(buffer.LoadFromFile(dir.Write("sample.c", text).c_str()), 1);
    auto owned = std::make_unique<CLikeView>(&buffer);
    view = owned.get();
    widget = new EditorWidget(std::move(owned));
    window.setCentralWidget(widget);
    window.resize(size);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    widget->InitialUpdate();
    Focus();
  }
  void Focus() {
    window.activateWindow();
    widget->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QApplication::processEvents();
  }
  std::string Text() { return quill::testing::Joined(buffer); }
  std::pair<CPoint, CPoint> Selection() const {
    CPoint start;
    CPoint end;
    view->GetSelection(start, end);
    return {start, end};
  }
  QImage Grab() const { return widget->viewport()->grab().toImage(); }
  // The pixels of text cells on screen, and a point inside the first of them.
  QRect Cells(int line, int column, int count = 1) const {
    const int cw = view->GetCharWidth();
    const int lh = view->GetLineHeight();
    return QRect(view->GetMarginWidth() + (column - view->m_nOffsetChar) * cw,
                 (line - view->m_nTopLine) * lh, cw * count, lh);
  }
  QPoint At(int column, int line) const { return Cells(line, column).topLeft() + QPoint(1, 2); }

  quill_test::TempDir dir;
  QtApplicationServices* services = nullptr;
  std::vector<std::string> messages;
  QuillTextBuffer buffer;
  QMainWindow window;
  CLikeView* view = nullptr;
  EditorWidget* widget = nullptr;
};

inline QColor Q(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// Pixels of the rectangle whose colour is within tolerance of c.
inline int CountNear(const QImage& image, const QRect& rect, COLORREF c, int tolerance = 24) {
  const QColor want = Q(c);
  int n = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) {
      const QColor got = image.pixelColor(x, y);
      n += std::abs(got.red() - want.red()) + std::abs(got.green() - want.green()) +
               std::abs(got.blue() - want.blue()) <= tolerance;
    }
  return n;
}

}  // namespace quill::qt::testing
