// Painting the highlighted 100 MB netlist: a full screen (60 rows x 200 columns) through a
// surface that draws nothing, the first paint at the last line after a reset (every cookie
// computed), and one typed character with the view's update and the repaint of its row.
// Baseline: memchr over the file's bytes for '\n' (BM_MemchrLines).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "data.h"
#include "quill.h"
#include "platform/headless/headless_dc.h"
#include "platform/headless/headless_window.h"

namespace {

using namespace quill;

constexpr int kRows = 60;
constexpr int kColumns = 200;

std::string ReadFile(const std::string& path) {
  std::string data;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fseek(f, 0, SEEK_END);
    data.resize(static_cast<std::size_t>(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    const std::size_t got = std::fread(data.data(), 1, data.size(), f);
    data.resize(got);
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

// A host view for netlists: comments start with '*' at the line start or '$' after a
// blank, devices and directives are keywords.
class NetlistView : public QuillView {
 public:
  explicit NetlistView(QuillTextBuffer* buffer) : m_buffer(buffer) {}
  TDocumentStyle* CreateStyle() override {
    auto* style = new TDocumentStyle(DOCTYPE_SPICE, "SPICE");
    style->SetSingleCommentsDelims("*", 0);
    style->SetSingleCommentsBOL(true, 0);
    style->SetSingleCommentsPrefix("\x01", 0);
    style->SetSingleCommentsDelims("$", 1);
    style->SetSingleCommentsPrefix(" \t", 1);
    style->SetIgnoreCase(true);
    style->InitKeywordSection("Devices", nullptr, "_.", false);
    for (const char* k : {"nch", "pch", "nch_lvt", "pch_hvt", ".subckt", ".ends"}) {
      style->AddKeyword(k, "Devices");
    }
    return style;
  }
  unsigned long ParseLine(const char* chars, int length, unsigned long cookie, int line,
                          TEXTBLOCK* buf, int& count) override {
    return GetTextStyle()->ParseLine(chars, length, cookie, line, buf, count);
  }
  QuillTextBuffer* LocateTextBuffer() override { return m_buffer; }
  void SetTopLine(int line) { m_nTopLine = line; }
  int TopLine() const { return m_nTopLine; }

 private:
  QuillTextBuffer* m_buffer;
};

struct Scene {
  NetlistBuffer buffer;
  NetlistView view{&buffer};
  HeadlessWindow window{CSize(20 + kColumns * 8, kRows * 16)};
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

void BM_MemchrLines(benchmark::State& state) {
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
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_MemchrLines)->Unit(benchmark::kMillisecond);

void BM_PaintFullScreen(benchmark::State& state) {
  Scene& scene = TheScene();
  scene.view.SetTopLine(scene.buffer.GetLineCount() / 2);
  HeadlessDC dc(CSize(20 + kColumns * 8, kRows * 16), false);
  scene.view.OnDraw(&dc);  // cookies above the window, once
  for (auto _ : state) scene.view.OnDraw(&dc);
  state.counters["lines"] = scene.buffer.GetLineCount();
}
BENCHMARK(BM_PaintFullScreen)->Unit(benchmark::kMicrosecond);

void BM_FirstPaintAtLastLineAfterReset(benchmark::State& state) {
  Scene& scene = TheScene();
  HeadlessDC dc(CSize(20 + kColumns * 8, kRows * 16), false);
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
  Scene& scene = TheScene();
  const int line = scene.buffer.GetLineCount() / 2;
  scene.view.SetTopLine(line - kRows / 2);
  HeadlessDC dc(CSize(20 + kColumns * 8, kRows * 16), false);
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
