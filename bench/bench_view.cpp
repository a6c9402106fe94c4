// Painting the highlighted 100 MB netlist: a full screen (60 rows x 200 columns) through a
// surface that draws nothing, the first paint at the last line after a reset (every cookie
// computed), and one typed character with the view's update and the repaint of its row.
// Baseline: memchr over the file's bytes for '\n' (BM_MemchrLines).

#include <benchmark/benchmark.h>

#include "data.h"
#include "view_fixture.h"

namespace {

using namespace quill;
using bench::NetlistBytes;

constexpr int kRows = 60;
constexpr int kColumns = 200;

bench::Scene<>& TheScene() {
  static bench::Scene<> scene(CSize(20 + kColumns * 8, kRows * 16), NetlistBytes());
  return scene;
}

void BM_MemchrLines(benchmark::State& state) {
  const std::string& text = NetlistBytes();
  for (auto _ : state) benchmark::DoNotOptimize(bench::CountLines(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_MemchrLines)->Unit(benchmark::kMillisecond);

void BM_PaintFullScreen(benchmark::State& state) {
  bench::Scene<>& scene = TheScene();
  scene.view.SetTopLine(scene.buffer.GetLineCount() / 2);
  HeadlessDC& dc = scene.dc;
  scene.view.OnDraw(&dc);  // cookies above the window, once
  for (auto _ : state) scene.view.OnDraw(&dc);
  state.counters["lines"] = scene.buffer.GetLineCount();
}
BENCHMARK(BM_PaintFullScreen)->Unit(benchmark::kMicrosecond);

void BM_FirstPaintAtLastLineAfterReset(benchmark::State& state) {
  bench::Scene<>& scene = TheScene();
  HeadlessDC& dc = scene.dc;
  for (auto _ : state) {
    state.PauseTiming();
    scene.view.UpdateView(nullptr, nullptr, UPDATE_FLAG_RESET, -1);
    scene.view.SetTopLine(scene.buffer.GetLineCount() - kRows);
    state.ResumeTiming();
    scene.view.OnDraw(&dc);
  }
}
BENCHMARK(BM_FirstPaintAtLastLineAfterReset)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TypeCharAndRepaintRow(benchmark::State& state) {
  bench::Scene<>& scene = TheScene();
  const int line = scene.buffer.GetLineCount() / 2;
  scene.view.SetTopLine(line - kRows / 2);
  HeadlessDC dc(CSize(20 + kColumns * 8, kRows * 16), false);  // clipped below
  scene.view.OnDraw(&dc);
  const int row = line - scene.view.TopLine();
  dc.SetClipBox(CRect(0, row * 16, 20 + kColumns * 8, row * 16 + 16));
  int endLine = 0;
  int endChar = 0;
  for (auto _ : state) {
    scene.buffer.InsertText(nullptr, line, 3, "x", endLine, endChar, UNDO_ACTION_TYPING);
    scene.view.OnDraw(&dc);
    state.PauseTiming();
    scene.buffer.DeleteText(nullptr, line, 3, line, 4);
    scene.view.OnDraw(&dc);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TypeCharAndRepaintRow)->Unit(benchmark::kMicrosecond)->Iterations(20000);

}  // namespace
