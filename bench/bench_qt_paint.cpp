// One full repaint of a 1200 x 900 editor of highlighted C-like text on the offscreen Qt
// platform, against QPainter filling the same rectangle once.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <memory>
#include <string>

#include "buffer/text_buffer.h"
#include "qt/quill_qt.h"
#include "qt_bench_main.h"
#include "style/document_style.h"
#include "view/quill_view.h"

namespace {

using namespace quill;

class CView : public QuillView {
 public:
  explicit CView(QuillTextBuffer* buffer) : m_buffer(buffer) {}
  QuillTextBuffer* LocateTextBuffer() override { return m_buffer; }
  TDocumentStyle* CreateStyle() override {
    auto* style = new TDocumentStyle(DOCTYPE_CPP, nullptr);
    style->SetCommentsDelims("/*", "*/");
    style->SetSingleCommentsDelims("//", 0);
    style->SetStringDelims("\"", "\"");
    style->InitKeywordSection("C", nullptr, "_", false);
    for (const char* k : {"int", "return", "while", "if", "for", "const", "char", "static"})
      style->AddKeyword(k, "C");
    style->SetModified(false);
    return style;
  }
  unsigned long ParseLine(const char* chars, int length, unsigned long cookie, int line,
                          TEXTBLOCK* buf, int& items) override {
    return GetTextStyle()->ParseLine(chars, length, cookie, line, buf, items);
  }
  COLORREF GetColor(int index) override {
    // A few distinct colours, so that runs really switch colour.
    if (index >= 256 && index < 512) return RGB(0, 0, 200);
    if (index == 6) return RGB(0, 128, 0);
    if (index == 9) return RGB(160, 0, 0);
    if (index == 4) return RGB(0, 0, 0);
    if (index == 3) return RGB(230, 230, 230);
    if (index == 2 || index == 5) return index == 2 ? RGB(0, 0, 0) : RGB(255, 255, 255);
    return RGB(255, 255, 255);
  }

 private:
  QuillTextBuffer* m_buffer;
};

std::string SampleText() {
  std::string text;
  for (int i = 0; i < 400; ++i) {
    text += "static int f" + std::to_string(i) +
            "(const char* s, int n) { if (n > 0) return s[0] + n; /* sum */ return \"text\"[n]; }"
            " // a comment that runs on towards the right edge of a wide window\r\n";
    text += "  while (n-- > 0) { count += table[n] * 3; }\r\n";
  }
  return text;
}

struct Editor {
  Editor() {
    buffer.InitNew(CRLF_MODE_DOS);
    int endLine = 0;
    int endChar = 0;
    const std::string text = SampleText();
    buffer.InsertText(nullptr, 0, 0, text.c_str(), endLine, endChar);
    widget = std::make_unique<qt::EditorWidget>(std::make_unique<CView>(&buffer));
    widget->resize(1200, 900);
    widget->show();
    QApplication::processEvents();
    // The viewport, not the frame with its scroll bars, is 1200 x 900.
    const QSize frame = widget->size() - widget->viewport()->size();
    widget->resize(QSize(1200, 900) + frame);
    widget->InitialUpdate();
    QApplication::processEvents();
  }
  ~Editor() { widget.reset(); }
  QuillTextBuffer buffer;
  std::unique_ptr<qt::EditorWidget> widget;
};

void BM_RepaintEditor(benchmark::State& state) {
  Editor editor;
  QWidget* viewport = editor.widget->viewport();
  for (auto _ : state) {
    viewport->repaint();
  }
  state.counters["width"] = viewport->width();
  state.counters["height"] = viewport->height();
}
BENCHMARK(BM_RepaintEditor)->Unit(benchmark::kMillisecond);

void BM_Baseline_FillRect(benchmark::State& state) {
  QImage image(1200, 900, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, 1200, 900), QColor(250, 250, 240));
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_Baseline_FillRect)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
