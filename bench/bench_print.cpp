// Printing and document statistics of the 100 MB netlist: the page layout of the whole
// text on an A4 page at 300 dpi (every line measured and wrapped in the printable width),
// one page printed onto the headless printer, and the properties dialog's counts of
// characters, words and lines. Baseline: memchr over the file's bytes for '\n'
// (BM_CountLinesBaseline).

#include <benchmark/benchmark.h>

#include "data.h"
#include "dialogs/statistics_dlg.h"
#include "platform/headless/headless_printer.h"
#include "view_fixture.h"

namespace {

using namespace quill;

bench::Scene<>& TheScene() {
  static bench::Scene<> scene(CSize(800, 600), bench::NetlistBytes());
  return scene;
}

void BM_CountLinesBaseline(benchmark::State& state) {
  const std::string& text = bench::NetlistBytes();
  for (auto _ : state) benchmark::DoNotOptimize(bench::CountLines(text));
}
BENCHMARK(BM_CountLinesBaseline)->Unit(benchmark::kMillisecond);

// A job's preparation and layout: the printer font, then every page break.
void BM_PageLayout(benchmark::State& state) {
  bench::Scene<>& scene = TheScene();
  HeadlessPrinterDC dc;
  CPrintInfo info;
  info.m_rectDraw = CRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
  for (auto _ : state) {
    scene.view.OnBeginPrinting(&dc, &info);
    scene.view.RecalcPageLayouts(&dc, &info);
    state.counters["pages"] = scene.view.GetPageCount();
    scene.view.OnEndPrinting(&dc, &info);
  }
  state.counters["lines"] = scene.buffer.GetLineCount();
}
BENCHMARK(BM_PageLayout)->Unit(benchmark::kMillisecond)->Iterations(5);

// One page in the middle of the text, drawn onto the recording printer.
void BM_PrintOnePage(benchmark::State& state) {
  bench::Scene<>& scene = TheScene();
  HeadlessPrinterDC dc;
  CPrintInfo info;
  info.m_rectDraw = CRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
  scene.view.OnBeginPrinting(&dc, &info);
  scene.view.RecalcPageLayouts(&dc, &info);
  info.m_nCurPage = static_cast<unsigned>(scene.view.GetPageCount() / 2);
  for (auto _ : state) {
    scene.view.OnPrint(&dc, &info);
    state.PauseTiming();
    dc.ClearOps();
    state.ResumeTiming();
  }
  scene.view.OnEndPrinting(&dc, &info);
}
BENCHMARK(BM_PrintOnePage)->Unit(benchmark::kMicrosecond);

void BM_PropertiesCounts(benchmark::State& state) {
  bench::Scene<>& scene = TheScene();
  TStatisticsDlg dlg(&scene.view);
  for (auto _ : state) {
    dlg.CalcStatistics();
    benchmark::DoNotOptimize(dlg.m_nWordsTotal);
  }
  state.counters["words"] = static_cast<double>(dlg.m_nWordsTotal);
}
BENCHMARK(BM_PropertiesCounts)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
