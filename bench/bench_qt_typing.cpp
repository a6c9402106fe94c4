// Typing at the end of the generated long line (20 MB at the default size) in an
// EditorWidget of a main window whose status bar shows "Ln, Col" after every key, as
// quillpad's does, on the offscreen Qt platform. One iteration is one key press delivered
// to the widget and the events that follow it (the view's update, the status bar, the
// repaint). Half the keys type a character, the other half take one back, so the line
// keeps its length.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "data.h"
#include "platform/command_ui.h"
#include "qt/quill_qt.h"
#include "view/command_ids.h"
#include "qt_bench_main.h"
#include "view_fixture.h"

namespace {

using namespace quill;
using Clock = std::chrono::steady_clock;

struct Window {
  explicit Window(const std::string& path) {
    if (!buffer.LoadFromFile(path.c_str())) std::abort();
    editor = new qt::EditorWidget(std::make_unique<bench::NetlistView>(&buffer));
    main.setCentralWidget(editor);
    main.resize(1200, 900);
    position = new QLabel(&main);
    main.statusBar()->addPermanentWidget(position);
    qt::InstallPlatform().SetStatusBar(main.statusBar());
    QObject::connect(editor, &qt::EditorWidget::viewChanged, &main, [this] {
      CCmdUI state(ID_EDIT_INDICATOR_POSITION);
      editor->View()->OnUpdateCommand(ID_EDIT_INDICATOR_POSITION, &state);
      position->setText(QString::fromStdString(state.m_text.value_or("")));
    });
    main.show();
    editor->InitialUpdate();
    QApplication::processEvents();
  }
  ~Window() { editor->View()->DetachFromBuffer(); }
  void Key(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(editor, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(editor, &release);
    QApplication::processEvents();
  }
  QuillTextBuffer buffer;
  QMainWindow main;
  qt::EditorWidget* editor = nullptr;
  QLabel* position = nullptr;
};

void BM_TypeAtEndOfLongLineInEditorWidget(benchmark::State& state) {
  const std::string path = bench::SingleLineFile();
  Window window(path);
  window.Key(Qt::Key_End, Qt::ControlModifier, QString());
  const int length = window.buffer.GetLineLength(0);
  bool type = true;
  for (auto _ : state) {
    const auto start = Clock::now();
    if (type) window.Key(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    else window.Key(Qt::Key_Backspace, Qt::NoModifier, QString());
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    type = !type;
  }
  if (window.buffer.GetLineLength(0) != length) state.SkipWithError("the line changed its length");
  const std::string expected = "Ln 1, Col " + std::to_string(length + 1);
  if (window.position->text().toStdString() != expected) state.SkipWithError("the status bar is behind");
  state.counters["line_bytes"] = length;
}
BENCHMARK(BM_TypeAtEndOfLongLineInEditorWidget)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Iterations(200)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
