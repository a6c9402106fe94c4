// Edits in the middle of a 2.5-million-line buffer. Only the line-table pointer move may
// grow with the line count; BM_MemmoveLineTable measures that move alone as the baseline.
// Undo and redo of a Replace All of 1M matches, against cp of a file of the same size.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

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

// Undo and redo of one Replace All of 1M matches ("nmos" -> "nch", one per line): one
// group of 2M records. BM_CopySameSizeFile (cp of a file of the same size) is the
// baseline.
constexpr int kReplaceLines = 1'000'000;
constexpr char kReplaceLine[] = "M1 out in vss vss nmos w=1u l=0.1u";

class ReplacedBuffer : public quill::QuillTextBuffer {
 public:
  ReplacedBuffer() {
    InitNew(quill::CRLF_MODE_UNIX);
    for (int i = 1; i < kReplaceLines; ++i) InsertLine(kReplaceLine);
    AppendLine(0, kReplaceLine);
    const int nAt = static_cast<int>(std::strstr(kReplaceLine, "nmos") - kReplaceLine);
    int endLine = 0, endChar = 0;
    BeginUndoGroup();
    for (int i = 0; i < kReplaceLines; ++i) {
      DeleteText(nullptr, i, nAt, i, nAt + 4, quill::UNDO_ACTION_REPLACE);
      InsertText(nullptr, i, nAt, "nch", endLine, endChar, quill::UNDO_ACTION_REPLACE);
    }
    FlushUndoGroup(nullptr);
  }
};

ReplacedBuffer& Replaced() {
  static ReplacedBuffer buffer;
  return buffer;
}

void BM_UndoReplaceAll1M(benchmark::State& state) {
  ReplacedBuffer& buf = Replaced();
  quill::CPoint cursor;
  for (auto _ : state) {
    buf.Undo(cursor);
    state.PauseTiming();
    const int last = buf.GetLineCount() - 1;
    if (std::string(buf.GetLineChars(last), buf.GetLineLength(last)) != kReplaceLine)
      state.SkipWithError("undo left a replacement");
    buf.Redo(cursor);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoReplaceAll1M)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_RedoReplaceAll1M(benchmark::State& state) {
  ReplacedBuffer& buf = Replaced();
  quill::CPoint cursor;
  for (auto _ : state) {
    state.PauseTiming();
    buf.Undo(cursor);
    state.ResumeTiming();
    buf.Redo(cursor);
  }
}
BENCHMARK(BM_RedoReplaceAll1M)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_CopySameSizeFile(benchmark::State& state) {
  const std::string from = "/tmp/quill-bench-undo-" + std::to_string(getpid()) + ".txt";
  const std::string to = from + ".copy";
  {
    std::ofstream out(from, std::ios::binary);
    for (int i = 0; i < kReplaceLines; ++i) out << kReplaceLine << '\n';
  }
  const std::string command = "cp '" + from + "' '" + to + "'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
  }
  std::remove(from.c_str());
  std::remove(to.c_str());
}
BENCHMARK(BM_CopySameSizeFile)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)
    ->ReportAggregatesOnly(true);

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
