// Replace All of "nmos" by "nch" in a generated netlist, and its undo, in an EditorWidget
// of a main window with a status bar on the offscreen Qt platform: the view's real update
// path, and the paint that follows (events processed until the window is painted). The
// baseline is vim substituting the same file (load, :%s, write) in the same run; it is
// skipped when vim is not installed. Sizes: 10 and 100 MB (10^6 bytes).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "data.h"
#include "qt/quill_qt.h"
#include "view/search_flags.h"
#include "qt_bench_main.h"
#include "view_fixture.h"

namespace {

using namespace quill;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// One line of 1 MB: the netlist's lines joined by "; ".
std::string OneLineFile() {
  const std::string path = std::filesystem::temp_directory_path() / "quill-bench-one-line-1m.sp";
  if (!std::filesystem::exists(path)) {
    std::string text = bench::GenerateNetlist(1 << 20, "; ");
    text += "\n";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(text.data(), 1, text.size(), f) != text.size()) std::abort();
    std::fclose(f);
  }
  return path;
}

// The netlist view with Shift+F3 after a search the Find dialog would have recorded.
struct FindView : bench::NetlistView {
  using NetlistView::NetlistView;
  void FindPrevious(const std::string& what, unsigned long flags) {
    m_sLastFindText = what;
    m_dwLastFindFlags = flags;
    m_bHasLastFind = true;
    OnEditFindPrevious();
  }
};

// The main window of quillpad in small: an editor over the file and the status bar.
struct Window {
  explicit Window(const std::string& path) {
    if (!buffer.LoadFromFile(path.c_str())) std::abort();
    auto* editor = new qt::EditorWidget(std::make_unique<FindView>(&buffer));
    main.setCentralWidget(editor);
    main.resize(1200, 900);
    qt::InstallPlatform().SetStatusBar(main.statusBar());
    main.show();
    editor->InitialUpdate();
    QApplication::processEvents();
    view = editor->View();
  }
  ~Window() { view->DetachFromBuffer(); }
  QuillTextBuffer buffer;
  QMainWindow main;
  QuillView* view = nullptr;
};

void BM_ReplaceAllInEditorWidget(benchmark::State& state) {
  const std::string path = bench::MosNetlistFile(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    Window window(path);
    QuillView& view = *window.view;
    const int nLast = view.GetLineCount() - 1;
    auto start = Clock::now();
    const int count = view.ReplaceAll("nmos", "nch", SEARCH_MATCH_CASE, CPoint(0, 0),
                                      CPoint(view.GetLineLength(nLast), nLast));
    QApplication::processEvents();
    state.SetIterationTime(Seconds(start));
    state.counters["replacements"] = count;

    start = Clock::now();
    view.OnEditUndo();
    QApplication::processEvents();
    state.counters["undo_s"] = Seconds(start);
    // 1 when the undo gave back the text as loaded.
    std::string text;
    window.buffer.GetText(0, 0, nLast, window.buffer.GetLineLength(nLast), text, "\n");
    state.counters["undo_restored"] = text == bench::ReadFile(path);
  }
}
BENCHMARK(BM_ReplaceAllInEditorWidget)->Arg(10)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

// Shift+F3 with a regular expression, from the end of the file: "[^;]+" on a file of one
// 1 MB netlist line (the match is the line's last stretch), and on the 10 MB netlist an
// expression only its first line matches, so every line is searched backwards once.
void BM_FindPreviousInEditorWidget(benchmark::State& state) {
  const bool oneLine = state.range(0) == 0;
  const std::string path = oneLine ? OneLineFile() : bench::MosNetlistFile(10);
  const char* what = oneLine ? "[^;]+" : "^\\.subckt cell0 [a-z]+";
  for (auto _ : state) {
    Window window(path);
    auto& view = static_cast<FindView&>(*window.view);
    const int nLast = view.GetLineCount() - 1;
    view.SetCursorPos(CPoint(view.GetLineLength(nLast), nLast));
    auto start = Clock::now();
    view.FindPrevious(what, SEARCH_REGEX | SEARCH_MATCH_CASE);
    QApplication::processEvents();
    state.SetIterationTime(Seconds(start));
    state.counters["found_line"] = view.GetCursorPos().y;  // 0 on the netlist
  }
  state.SetLabel(oneLine ? "1 MB line, [^;]+" : "10 MB netlist, first line");
}
BENCHMARK(BM_FindPreviousInEditorWidget)->DenseRange(0, 1)->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

// vim searching the same files backwards from their end (load, G$, ?expr, quit).
void BM_Baseline_VimFindPrevious(benchmark::State& state) {
  const bool oneLine = state.range(0) == 0;
  const std::string path = oneLine ? OneLineFile() : bench::MosNetlistFile(10);
  if (std::system("command -v vim >/dev/null 2>&1") != 0) {
    state.SkipWithError("vim is not installed");
    return;
  }
  const std::string command = std::string("vim -u NONE -es -c 'normal G$' -c 'silent! ?") +
                              (oneLine ? "[^;]\\+" : "^\\.subckt cell0 [a-z]\\+") + "' -c 'q!' '" + path + "'";
  for (auto _ : state) {
    const auto start = Clock::now();
    (void)!std::system(command.c_str());
    state.SetIterationTime(Seconds(start));
  }
}
BENCHMARK(BM_Baseline_VimFindPrevious)->DenseRange(0, 1)->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_Baseline_Vim(benchmark::State& state) {
  const std::string path = bench::MosNetlistFile(static_cast<std::size_t>(state.range(0)));
  if (std::system("command -v vim >/dev/null 2>&1") != 0) {
    state.SkipWithError("vim is not installed");
    return;
  }
  const std::string copy = path + ".vim";
  const std::string command = "vim -u NONE -es -c '%s/nmos/nch/g' -c wq '" + copy + "'";
  for (auto _ : state) {
    std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) state.SkipWithError("vim failed");
    state.SetIterationTime(Seconds(start));
  }
  std::filesystem::remove(copy);
}
BENCHMARK(BM_Baseline_Vim)->Arg(10)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
