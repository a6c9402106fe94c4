// Edits in the middle of a 2.5-million-line buffer. Only the line-table pointer move may
// grow with the line count; BM_MemmoveLineTable measures that move alone as the baseline.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "data.h"
#include "quill.h"

namespace {

constexpr int kLines = 2'500'000;

class BenchBuffer : public quill::QuillTextBuffer {
 public:
  BenchBuffer() {
    InitNew(quill::CRLF_MODE_UNIX);
    // About 40 bytes a line; ask for a little more and keep the first kLines lines.
    const std::string text = quill::bench::GenerateNetlist(std::size_t{kLines} * 46, "\n");
    std::size_t pos = 0;
    AppendLine(0, text.data(), static_cast<int>(text.find('\n')));
    pos = text.find('\n') + 1;
    while (GetLineCount() < kLines && pos < text.size()) {
      std::size_t end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      InsertLine(text.data() + pos, static_cast<int>(end - pos));
      pos = end + 1;
    }
    while (GetLineCount() < kLines) InsertLine("* filler", -1);
  }
};

BenchBuffer& Buffer() {
  static BenchBuffer buffer;
  return buffer;
}

void BM_InsertCharMiddle(benchmark::State& state) {
  BenchBuffer& buf = Buffer();
  const int line = buf.GetLineCount() / 2;
  int endLine = 0, endChar = 0;
  for (auto _ : state) {
    buf.InsertText(nullptr, line, 3, "x", endLine, endChar, quill::UNDO_ACTION_TYPING);
    state.PauseTiming();
    buf.DeleteText(nullptr, line, 3, line, 4);
    state.ResumeTiming();
  }
  state.counters["lines"] = buf.GetLineCount();
}
BENCHMARK(BM_InsertCharMiddle)->Unit(benchmark::kMicrosecond);

void BM_InsertDeleteLineBreakMiddle(benchmark::State& state) {
  BenchBuffer& buf = Buffer();
  const int line = buf.GetLineCount() / 2;
  int endLine = 0, endChar = 0;
  for (auto _ : state) {
    buf.InsertText(nullptr, line, 3, "\r\n", endLine, endChar, quill::UNDO_ACTION_TYPING);
    buf.DeleteText(nullptr, line, 3, line + 1, 0, quill::UNDO_ACTION_BACKSPACE);
  }
}
BENCHMARK(BM_InsertDeleteLineBreakMiddle)->Unit(benchmark::kMicrosecond);

void BM_UndoPaste1000Lines(benchmark::State& state) {
  BenchBuffer& buf = Buffer();
  const int line = buf.GetLineCount() / 2;
  std::string paste;
  for (int i = 0; i < 1000; ++i) paste += "M" + std::to_string(i) + " net1 net2 vss nch w=1u l=0.1u\r\n";
  int endLine = 0, endChar = 0;
  quill::CPoint cursor;
  for (auto _ : state) {
    state.PauseTiming();
    buf.InsertText(nullptr, line, 0, paste.c_str(), endLine, endChar, quill::UNDO_ACTION_PASTE);
    state.ResumeTiming();
    buf.Undo(cursor);
  }
}
BENCHMARK(BM_UndoPaste1000Lines)->Unit(benchmark::kMicrosecond);

// Baseline: shifting a table of 2.5M pointers by one slot, as inserting or removing one
// line must.
void BM_MemmoveLineTable(benchmark::State& state) {
  std::vector<void*> table(kLines + 1, nullptr);
  bool up = true;
  for (auto _ : state) {
    if (up)
      std::memmove(table.data() + 1, table.data(), sizeof(void*) * kLines);
    else
      std::memmove(table.data(), table.data() + 1, sizeof(void*) * kLines);
    up = !up;
    benchmark::DoNotOptimize(table.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemmoveLineTable)->Unit(benchmark::kMicrosecond);

}  // namespace
