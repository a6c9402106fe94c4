// Moving through the highlighted 100 MB netlist with the view's commands, each with the
// repaint of a 60 x 200 screen (through a surface that draws nothing), after the first
// paint: Ctrl+End, Ctrl+Home, select all; and one word step with its row's repaint on a
// line of 5,000 characters. Medians of 5 repetitions.
// Baselines: memchr over the netlist's bytes for '\n' (BM_MemchrLines) and over the long
// line for a byte it does not hold (BM_MemchrLongLine).

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "data.h"
#include "view/command_ids.h"
#include "view_fixture.h"

namespace {

using namespace quill;
using Scene = bench::Scene<>;

constexpr int kColumns = 200;
const CSize kClient(20 + kColumns * 8, 60 * 16);

// One line of 5,000 characters of words, blanks and punctuation.
std::string LongLine() {
  std::string line;
  const char* const words[] = {"vdd_net12", " ", "(", "m3", "),", " ", "w=0.42u", "  ", "l"};
  for (int i = 0; line.size() < 5000; ++i) line += words[i % 9];
  line.resize(5000);
  return line;
}

// The first paints: at the end (every cookie and the longest line) and at the start.
bool FirstPaints(Scene& scene) {
  scene.window.SetFocus();
  scene.view.OnSetFocus(nullptr);
  scene.view.OnCommand(ID_EDIT_TEXT_END);
  scene.view.OnDraw(&scene.dc);
  scene.view.OnCommand(ID_EDIT_TEXT_BEGIN);
  scene.view.OnDraw(&scene.dc);
  return true;
}

Scene& Netlist() {
  static Scene scene(kClient, bench::NetlistBytes());
  [[maybe_unused]] static const bool painted = FirstPaints(scene);
  return scene;
}

Scene& LongLineScene() {
  static Scene scene(kClient, LongLine());
  [[maybe_unused]] static const bool painted = FirstPaints(scene);
  return scene;
}

void BM_MemchrLines(benchmark::State& state) {
  const std::string& text = bench::NetlistBytes();
  for (auto _ : state) benchmark::DoNotOptimize(bench::CountLines(text));
}
BENCHMARK(BM_MemchrLines)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Runs `command` and the repaint, with `back` (untimed) before each run.
void MoveAndRepaint(benchmark::State& state, Scene& scene, unsigned command, unsigned back) {
  for (auto _ : state) {
    state.PauseTiming();
    scene.view.OnCommand(back);
    scene.view.OnDraw(&scene.dc);
    state.ResumeTiming();
    scene.view.OnCommand(command);
    scene.view.OnDraw(&scene.dc);
  }
  state.counters["lines"] = scene.buffer.GetLineCount();
}

void BM_CtrlEndWithRepaint(benchmark::State& state) {
  MoveAndRepaint(state, Netlist(), ID_EDIT_TEXT_END, ID_EDIT_TEXT_BEGIN);
}
BENCHMARK(BM_CtrlEndWithRepaint)->Unit(benchmark::kMillisecond)->Iterations(50)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_CtrlHomeWithRepaint(benchmark::State& state) {
  MoveAndRepaint(state, Netlist(), ID_EDIT_TEXT_BEGIN, ID_EDIT_TEXT_END);
}
BENCHMARK(BM_CtrlHomeWithRepaint)->Unit(benchmark::kMillisecond)->Iterations(50)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SelectAllWithRepaint(benchmark::State& state) {
  MoveAndRepaint(state, Netlist(), ID_EDIT_SELECT_ALL, ID_EDIT_DESELECT_ALL);
}
BENCHMARK(BM_SelectAllWithRepaint)->Unit(benchmark::kMillisecond)->Iterations(50)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_MemchrLongLine(benchmark::State& state) {
  const std::string line = LongLine();
  for (auto _ : state) benchmark::DoNotOptimize(std::memchr(line.data(), '#', line.size()));
}
BENCHMARK(BM_MemchrLongLine)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Ctrl+Right along the line with the repaint of its row; at the end of the line the
// cursor goes back to its start, untimed.
void BM_WordStepLongLineWithRepaint(benchmark::State& state) {
  Scene& scene = LongLineScene();
  scene.dc.SetClipBox(CRect(0, 0, kClient.cx, 16));
  for (auto _ : state) {
    if (scene.view.GetCursorPos().x >= 5000) {
      state.PauseTiming();
      scene.view.OnCommand(ID_EDIT_TEXT_BEGIN);
      scene.view.OnDraw(&scene.dc);
      state.ResumeTiming();
    }
    scene.view.OnCommand(ID_EDIT_WORD_RIGHT);
    scene.view.OnDraw(&scene.dc);
  }
}
BENCHMARK(BM_WordStepLongLineWithRepaint)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
