// Printing and document statistics of the 100 MB netlist: the page layout of the whole
// text on an A4 page at 300 dpi (every line measured and wrapped in the printable width),
// one page printed onto the headless printer, and the properties dialog's counts of
// characters, words and lines. Baseline: memchr over the file's bytes for '\n'
// (BM_CountLinesBaseline).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "data.h"
#include "dialogs/statistics_dlg.h"
#include "platform/headless/headless_printer.h"
#include "platform/headless/headless_window.h"
#include "quill.h"

namespace {

using namespace quill;

std::string ReadFile(const std::string& path) {
  std::string data;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fseek(f, 0, SEEK_END);
    data.resize(static_cast<std::size_t>(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    data.resize(std::fread(data.data(), 1, data.size(), f));
    std::fclose(f);
  }
  return data;
}

const std::string& NetlistBytes() {
  static const std::string data = ReadFile(bench::NetlistFileLF());
  return data;
}

class NetlistBuffer : public QuillTextBuffer {
 public:
  NetlistBuffer() {
    InitNew(CRLF_MODE_UNIX);
    const std::string& text = NetlistBytes();
    const char* p = text.data();
    const char* end = p + text.size();
    bool first = true;
    while (p < end) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      if (nl == nullptr) nl = end;
      if (first) {
        AppendLine(0, p, static_cast<int>(nl - p));
        first = false;
      } else {
        InsertLine(p, static_cast<int>(nl - p));
      }
      p = nl + 1;
    }
  }
};

class NetlistView : public QuillView {
 public:
  explicit NetlistView(QuillTextBuffer* buffer) : m_buffer(buffer) {}
  TDocumentStyle* CreateStyle() override { return new TDocumentStyle(DOCTYPE_SPICE, "SPICE"); }
  QuillTextBuffer* LocateTextBuffer() override { return m_buffer; }

 private:
  QuillTextBuffer* m_buffer;
};

struct Scene {
  NetlistBuffer buffer;
  NetlistView view{&buffer};
  HeadlessWindow window{CSize(800, 600)};
  Scene() {
    InstallMemorySettingsStore();
    if (view.OnCreate(&window) != 0) std::abort();
    view.OnInitialUpdate();
  }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void BM_CountLinesBaseline(benchmark::State& state) {
  const std::string& text = NetlistBytes();
  for (auto _ : state) {
    std::size_t lines = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
      ++lines;
      ++p;
    }
    benchmark::DoNotOptimize(lines);
  }
}
BENCHMARK(BM_CountLinesBaseline)->Unit(benchmark::kMillisecond);

// A job's preparation and layout: the printer font, then every page break.
void BM_PageLayout(benchmark::State& state) {
  Scene& scene = TheScene();
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
  Scene& scene = TheScene();
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
  Scene& scene = TheScene();
  TStatisticsDlg dlg(&scene.view);
  for (auto _ : state) {
    dlg.CalcStatistics();
    benchmark::DoNotOptimize(dlg.m_nWordsTotal);
  }
  state.counters["words"] = static_cast<double>(dlg.m_nWordsTotal);
}
BENCHMARK(BM_PropertiesCounts)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
