// One line of 20 MB (the generated single-line file) in a 1200 x 900 editor: loading it,
// the first paint after the load, a repaint, the first End after the load, End, Home, a
// word step and a typed character at its end, each with its repaint; the scan for parse
// states alone and the parse of the whole line with runs that painting the end took
// before. Baseline: memchr over the line's bytes for '\n'.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "data.h"
#include "view_fixture.h"

namespace {

using namespace quill;

const CSize kClient(1200, 900);

// The netlist view with the moves the cases need.
class LineView : public bench::NetlistView {
 public:
  using NetlistView::NetlistView;
  // A word step to the right: past the current word and the blanks after it.
  void WordRight() {
    const char* chars = GetLineChars(0);
    const int length = GetLineLength(0);
    int x = m_ptCursorPos.x;
    while (x < length && chars[x] != ' ') ++x;
    while (x < length && chars[x] == ' ') ++x;
    MoveTo(x);
  }
  void MoveTo(int x) {
    SetCursorPos(CPoint(x, 0));
    EnsureVisible(CPoint(x, 0));
  }
};

// The single-line file, loaded and painted once.
struct Scene : bench::Scene<LineView> {
  Scene()
      : bench::Scene<LineView>(kClient, [](QuillTextBuffer& b) {
          if (!b.LoadFromFile(bench::SingleLineFile())) std::abort();
        }) {
    view.OnDraw(&dc);
  }
  int Length() { return buffer.GetLineLength(0); }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void BM_MemchrLine(benchmark::State& state) {
  Scene& scene = TheScene();
  const char* chars = scene.buffer.GetLineChars(0);
  const std::size_t length = static_cast<std::size_t>(scene.Length());
  for (auto _ : state) benchmark::DoNotOptimize(std::memchr(chars, '\n', length));
}
BENCHMARK(BM_MemchrLine)->Unit(benchmark::kMillisecond);

void BM_LoadLongLine(benchmark::State& state) {
  bench::QuietServices();
  const std::string path = bench::SingleLineFile();
  for (auto _ : state) {
    QuillTextBuffer buffer;
    if (!buffer.LoadFromFile(path)) state.SkipWithError("load failed");
    state.PauseTiming();
    buffer.FreeAll();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadLongLine)->Unit(benchmark::kMillisecond)->Iterations(5);

// The first paint of a freshly loaded buffer (every cache of the view empty).
void BM_FirstPaintLongLine(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) {
    state.PauseTiming();
    scene.view.UpdateView(nullptr, nullptr, UPDATE_FLAG_RESET, -1);
    state.ResumeTiming();
    scene.view.OnDraw(&scene.dc);
  }
}
BENCHMARK(BM_FirstPaintLongLine)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RepaintLongLine(benchmark::State& state) {
  Scene& scene = TheScene();
  scene.view.MoveTo(0);
  scene.view.OnDraw(&scene.dc);
  for (auto _ : state) scene.view.OnDraw(&scene.dc);
}
BENCHMARK(BM_RepaintLongLine)->Unit(benchmark::kMicrosecond);

// End, then (untimed) back with Home; Home, then (untimed) End; each with its repaint.
void BM_EndOfLongLine(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) {
    scene.view.MoveTo(scene.Length());
    scene.view.OnDraw(&scene.dc);
    state.PauseTiming();
    scene.view.MoveTo(0);
    scene.view.OnDraw(&scene.dc);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_EndOfLongLine)->Unit(benchmark::kMicrosecond)->Iterations(20);

// The first End after a load: every cache of the view is empty, so the columns and the
// parse states of the whole line are computed.
void BM_FirstEndOfLongLine(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) {
    state.PauseTiming();
    scene.view.UpdateView(nullptr, nullptr, UPDATE_FLAG_RESET, -1);
    scene.view.MoveTo(0);
    scene.view.OnDraw(&scene.dc);
    state.ResumeTiming();
    scene.view.MoveTo(scene.Length());
    scene.view.OnDraw(&scene.dc);
  }
}
BENCHMARK(BM_FirstEndOfLongLine)->Unit(benchmark::kMicrosecond)->Iterations(20);

void BM_ScanLongLineStates(benchmark::State& state) {
  Scene& scene = TheScene();
  const char* chars = scene.buffer.GetLineChars(0);
  const int length = scene.Length();
  for (auto _ : state) {
    TParseCheckpoints states;
    int count = 0;
    benchmark::DoNotOptimize(scene.view.GetTextStyle()->ParseLinePart(
        chars, length, 0, 0, states, length, length, nullptr, count));
  }
}
BENCHMARK(BM_ScanLongLineStates)->Unit(benchmark::kMillisecond);

void BM_ParseWholeLongLine(benchmark::State& state) {
  Scene& scene = TheScene();
  const char* chars = scene.buffer.GetLineChars(0);
  const int length = scene.Length();
  std::unique_ptr<QuillView::TEXTBLOCK, void (*)(void*)> runs(
      static_cast<QuillView::TEXTBLOCK*>(std::malloc((static_cast<std::size_t>(length) * 3 + 3) *
                                                     sizeof(QuillView::TEXTBLOCK))),
      std::free);
  for (auto _ : state) {
    int count = 0;
    benchmark::DoNotOptimize(
        scene.view.GetTextStyle()->ParseLine(chars, length, 0, 0, runs.get(), count));
  }
}
BENCHMARK(BM_ParseWholeLongLine)->Unit(benchmark::kMillisecond);

void BM_HomeOfLongLine(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) {
    state.PauseTiming();
    scene.view.MoveTo(scene.Length());
    scene.view.OnDraw(&scene.dc);
    state.ResumeTiming();
    scene.view.MoveTo(0);
    scene.view.OnDraw(&scene.dc);
  }
}
BENCHMARK(BM_HomeOfLongLine)->Unit(benchmark::kMicrosecond)->Iterations(20);

void BM_WordStepInLongLine(benchmark::State& state) {
  Scene& scene = TheScene();
  scene.view.MoveTo(0);
  scene.view.OnDraw(&scene.dc);
  for (auto _ : state) {
    scene.view.WordRight();
    scene.view.OnDraw(&scene.dc);
  }
}
BENCHMARK(BM_WordStepInLongLine)->Unit(benchmark::kMicrosecond)->Iterations(50);

// A character typed at the end, then (untimed) removed again.
void BM_TypeAtEndOfLongLine(benchmark::State& state) {
  Scene& scene = TheScene();
  scene.view.MoveTo(scene.Length());
  scene.view.OnDraw(&scene.dc);
  int endLine = 0;
  int endChar = 0;
  for (auto _ : state) {
    const int length = scene.Length();
    scene.buffer.InsertText(&scene.view, 0, length, "x", endLine, endChar, UNDO_ACTION_TYPING);
    scene.view.MoveTo(length + 1);
    scene.view.OnDraw(&scene.dc);
    state.PauseTiming();
    scene.buffer.DeleteText(&scene.view, 0, length, 0, length + 1);
    scene.view.MoveTo(length);
    scene.view.OnDraw(&scene.dc);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TypeAtEndOfLongLine)->Unit(benchmark::kMicrosecond)->Iterations(20);

}  // namespace
