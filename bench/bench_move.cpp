// Moving through the highlighted 100 MB netlist with the view's commands, each with the
// repaint of a 60 x 200 screen (through a surface that draws nothing), after the first
// paint: Ctrl+End, Ctrl+Home, select all; and one word step with its row's repaint on a
// line of 5,000 characters. Medians of 5 repetitions.
// Baselines: memchr over the netlist's bytes for '\n' (BM_MemchrLines) and over the long
// line for a byte it does not hold (BM_MemchrLongLine).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "data.h"
#include "quill.h"
#include "platform/headless/headless_dc.h"
#include "platform/headless/headless_window.h"
#include "view/command_ids.h"

namespace {

using namespace quill;

constexpr int kRows = 60;
constexpr int kColumns = 200;
const CSize kClient(20 + kColumns * 8, kRows * 16);

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

// The netlist's lines, or one line of 5,000 characters of words, blanks and punctuation.
class Buffer : public QuillTextBuffer {
 public:
  explicit Buffer(const std::string& text) {
    InitNew(CRLF_MODE_UNIX);
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

std::string LongLine() {
  std::string line;
  const char* const words[] = {"vdd_net12", " ", "(", "m3", "),", " ", "w=0.42u", "  ", "l"};
  for (int i = 0; line.size() < 5000; ++i) line += words[i % 9];
  line.resize(5000);
  return line;
}

class NetlistView : public QuillView {
 public:
  explicit NetlistView(QuillTextBuffer* buffer) : m_buffer(buffer) {}
  TDocumentStyle* CreateStyle() override {
    auto* style = new TDocumentStyle(DOCTYPE_SPICE, "SPICE");
    style->SetSingleCommentsDelims("*", 0);
    style->SetSingleCommentsBOL(true, 0);
    style->SetSingleCommentsDelims("$", 1);
    style->SetIgnoreCase(true);
    style->InitKeywordSection("Devices", nullptr, "_.", false);
    for (const char* k : {"nch", "pch", ".subckt", ".ends"}) style->AddKeyword(k, "Devices");
    return style;
  }
  unsigned long ParseLine(const char* chars, int length, unsigned long cookie, int line,
                          TEXTBLOCK* buf, int& count) override {
    return GetTextStyle()->ParseLine(chars, length, cookie, line, buf, count);
  }
  QuillTextBuffer* LocateTextBuffer() override { return m_buffer; }

 private:
  QuillTextBuffer* m_buffer;
};

struct Scene {
  Buffer buffer;
  NetlistView view{&buffer};
  HeadlessWindow window{kClient};
  HeadlessDC dc{kClient, false};
  explicit Scene(const std::string& text) : buffer(text) {
    InstallMemorySettingsStore();
    if (view.OnCreate(&window) != 0) std::abort();
    view.OnInitialUpdate();
    window.SetFocus();
    view.OnSetFocus(nullptr);
    // The first paints: at the end (every cookie and the longest line) and at the start.
    view.OnCommand(ID_EDIT_TEXT_END);
    view.OnDraw(&dc);
    view.OnCommand(ID_EDIT_TEXT_BEGIN);
    view.OnDraw(&dc);
  }
};

Scene& Netlist() {
  static Scene scene(NetlistBytes());
  return scene;
}

Scene& LongLineScene() {
  static Scene scene(LongLine());
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
