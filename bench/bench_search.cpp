// Searching the 100 MB netlist through the view (FindText over the whole text, nothing
// found), and typing at the end of a 5,000-character line with the repaint of its row.
// Baselines in the same run: the whole file in memory searched by memmem, and grep as a
// process (grep -ciF for the plain search ignoring case, grep -cE for the expression).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "data.h"
#include "view_fixture.h"

namespace {

using namespace quill;
using bench::NetlistBytes;

// Occurs nowhere in the netlist (its letters do, in other words).
constexpr const char* kMissingText = "vdd_core_missing";
// An expression that does not match any line: a transistor line with a 9-digit width.
constexpr const char* kMissingRegex = "^M[0-9]+ .* w=[0-9]{9}u";

// The loaded netlist and a view attached to it, without a window.
struct Netlist {
  QuillTextBuffer buffer;
  bench::NetlistView view{&buffer};
  Netlist() {
    bench::QuietServices();
    InstallMemorySettingsStore();
    if (!buffer.LoadFromFile(bench::NetlistFileLF())) std::abort();
    view.AttachToBuffer(&buffer);
  }
};

Netlist& TheNetlist() {
  static Netlist netlist;
  return netlist;
}

void BM_MemmemWholeFile(benchmark::State& state) {
  const std::string& text = NetlistBytes();
  for (auto _ : state) {
    const void* hit = memmem(text.data(), text.size(), kMissingText, std::strlen(kMissingText));
    benchmark::DoNotOptimize(hit);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_MemmemWholeFile)->Unit(benchmark::kMillisecond);

// grep as a process, wall time; the count it prints must be 0.
void Grep(benchmark::State& state, const std::string& options, const char* pattern) {
  const std::string command =
      "grep " + options + " '" + pattern + "' '" + bench::NetlistFileLF() + "'";
  for (auto _ : state) {
    const auto began = std::chrono::steady_clock::now();
    std::FILE* child = ::popen(command.c_str(), "r");
    long count = -1;
    if (child == nullptr || std::fscanf(child, "%ld", &count) != 1) state.SkipWithError("grep failed");
    if (child != nullptr) ::pclose(child);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
    if (count != 0) state.SkipWithError("the pattern occurs in the file");
  }
}

void BM_GrepIgnoreCaseFixed(benchmark::State& state) { Grep(state, "-ciF", kMissingText); }
BENCHMARK(BM_GrepIgnoreCaseFixed)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_GrepExtendedRegex(benchmark::State& state) { Grep(state, "-cE", kMissingRegex); }
BENCHMARK(BM_GrepExtendedRegex)->Unit(benchmark::kMillisecond)->UseManualTime();

void FindMissing(benchmark::State& state, const char* what, unsigned long flags) {
  Netlist& netlist = TheNetlist();
  for (auto _ : state) {
    CPoint pos;
    int length = 0;
    if (netlist.view.FindText(what, CPoint(0, 0), flags, false, &pos, &length)) {
      state.SkipWithError("found");
    }
  }
  state.counters["lines"] = netlist.buffer.GetLineCount();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(NetlistBytes().size()));
}

void BM_FindTextIgnoreCase(benchmark::State& state) { FindMissing(state, kMissingText, 0); }
BENCHMARK(BM_FindTextIgnoreCase)->Unit(benchmark::kMillisecond);

void BM_FindTextMatchCase(benchmark::State& state) {
  FindMissing(state, kMissingText, SEARCH_MATCH_CASE);
}
BENCHMARK(BM_FindTextMatchCase)->Unit(benchmark::kMillisecond);

void BM_FindTextRegex(benchmark::State& state) {
  FindMissing(state, kMissingRegex, SEARCH_REGEX | SEARCH_MATCH_CASE);
}
BENCHMARK(BM_FindTextRegex)->Unit(benchmark::kMillisecond);

// One typed character at the end of a 5,000-character line, with the view's update and
// the repaint of its row; the character is taken back untimed.
void BM_TypeAtEndOfLongLine(benchmark::State& state) {
  std::string text = "before\n";
  for (int i = 0; text.size() < 7 + 5000; ++i) text += "M" + std::to_string(i) + " d g s b nch ";
  text.resize(7 + 5000);
  text += "\nafter\n";
  constexpr int kWidth = 20 + 200 * 8;
  bench::Scene<> scene(CSize(kWidth, 60 * 16), [&text](QuillTextBuffer& b) { b.LoadFromBuffer(text.c_str()); });
  QuillView& view = scene.view;
  HeadlessDC& dc = scene.dc;
  view.SetCursorPos(CPoint(5000, 1));
  view.EnsureVisible(CPoint(5000, 1));
  view.OnDraw(&dc);
  const int row = 1 * view.GetLineHeight();
  dc.SetClipBox(CRect(0, row, kWidth, row + view.GetLineHeight()));
  for (auto _ : state) {
    view.OnChar('x', 1, 0);
    view.OnDraw(&dc);
    state.PauseTiming();
    view.OnEditDeleteBack();
    view.OnDraw(&dc);
    state.ResumeTiming();
  }
  if (scene.buffer.GetLineLength(1) != 5000) state.SkipWithError("line length changed");
  view.OnDestroy();
}
BENCHMARK(BM_TypeAtEndOfLongLine)->Unit(benchmark::kMicrosecond)->Iterations(5000);

// A regular expression searched over one long line, forwards from its start and
// backwards (Find Previous) from its end, in the same run: a backward search walks the
// line from the right instead of restarting after every match. Each case: the line, the
// expression, and whether the matches lie where both directions meet them first (dense)
// or at the far end of the line for each direction (so both walk the whole line).
struct LineCase {
  const char* name;
  std::string (*line)();
  const char* what;
};

std::string NetlistLine(std::size_t size) {
  std::string line;
  for (int i = 0; line.size() < size; ++i) line += "M" + std::to_string(i) + " d g s b nch w=1u l=0.1u; ";
  line.resize(size);
  return line;
}
// The only match of "nmos" at the start and at the end of a 1 MB netlist line.
std::string OneMatchAtEachEnd() {
  std::string line = NetlistLine(1 << 20);
  line.replace(0, 4, "nmos");
  line.replace(line.size() - 4, 4, "nmos");
  return line;
}

const LineCase kLineCases[] = {
    {"a+ on 1 MB of a", [] { return std::string(1 << 20, 'a'); }, "a+"},
    {"[^;]+ on a 100 KB netlist line", [] { return NetlistLine(100 << 10); }, "[^;]+"},
    {"[^;]+ on a 1 MB netlist line", [] { return NetlistLine(1 << 20); }, "[^;]+"},
    {"nmos at the far end, 1 MB", OneMatchAtEachEnd, "nm[o]s"},
    {"no match, 1 MB", [] { return NetlistLine(1 << 20); }, "w=[0-9]{9}u"},
};

struct OneLineView : QuillView {
  std::string line;
  int GetLineCount() override { return 1; }
  int GetLineLength(int) override { return static_cast<int>(line.size()); }
  const char* GetLineChars(int) override { return line.data(); }
};

void RegexOverLine(benchmark::State& state) {
  bench::QuietServices();
  const LineCase& c = kLineCases[state.range(0)];
  const bool backward = state.range(1) != 0;
  OneLineView view;
  view.line = c.line();
  const int n = static_cast<int>(view.line.size());
  // The far-end case: forwards from just after the first match, backwards from just
  // before the last one, so that each finds the match at the other end.
  const bool farEnd = c.line == OneMatchAtEachEnd;
  const CPoint start = backward ? CPoint(farEnd ? n - 1 : n, 0) : CPoint(farEnd ? 1 : 0, 0);
  const unsigned long flags = SEARCH_REGEX | SEARCH_MATCH_CASE | (backward ? SEARCH_BACKWARD : 0);
  for (auto _ : state) {
    CPoint pos;
    int length = 0;
    const int found = view.FindTextInBlock(c.what, start, CPoint(0, 0), CPoint(n, 0), flags, false, &pos, &length);
    benchmark::DoNotOptimize(found);
    if (c.line != kLineCases[4].line && !found) state.SkipWithError("not found");
  }
  state.SetLabel(std::string(c.name) + (backward ? ", backward" : ", forward"));
}
BENCHMARK(RegexOverLine)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// An expression that explodes on a 100 KB line: the search gives up (nothing found, a
// reason on the status bar) in both directions.
void RegexGivesUp(benchmark::State& state) {
  bench::QuietServices();
  OneLineView view;
  view.line.assign(100 << 10, 'a');
  const int n = static_cast<int>(view.line.size());
  const bool backward = state.range(0) != 0;
  const unsigned long flags = SEARCH_REGEX | SEARCH_MATCH_CASE | (backward ? SEARCH_BACKWARD : 0);
  for (auto _ : state) {
    CPoint pos;
    int length = 0;
    if (view.FindTextInBlock("(a*)*b", CPoint(backward ? n : 0, 0), CPoint(0, 0), CPoint(n, 0), flags,
                             false, &pos, &length)) {
      state.SkipWithError("found");
    }
  }
  state.SetLabel(backward ? "(a*)*b, backward" : "(a*)*b, forward");
}
BENCHMARK(RegexGivesUp)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
