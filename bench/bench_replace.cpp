// Replace all of a word in the 100 MB netlist through the Replace dialog (headless host,
// "Replace &All", one undo group), against the same replacement done on the file's bytes
// in memory in the same run. "continuation" occurs about 126,000 times in the netlist.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "data.h"
#include "dialogs/find_dlg.h"
#include "platform/headless/headless_dialog_runner.h"
#include "resources/dlg_find.h"
#include "view_fixture.h"

namespace {

using namespace quill;

constexpr const char* kWord = "continuation";
constexpr const char* kReplacement = "cont";

void BM_ReplaceAllInView(benchmark::State& state) {
  HeadlessApplicationServices& services = bench::QuietServices();
  InstallMemorySettingsStore();
  ScopedHeadlessDialogs dialogs;
  for (auto _ : state) {
    state.PauseTiming();
    QuillTextBuffer buffer;
    if (!buffer.LoadFromFile(bench::NetlistFileLF())) std::abort();
    bench::NetlistView view(&buffer);
    view.AttachToBuffer(&buffer);
    dialogs.Push([](HeadlessDialogSession& s) {
      s.Type(IDC_EDIT_TEXT, kWord);
      s.Type(IDC_EDIT_REPLACE_WITH, kReplacement);
      s.Press(IDC_EDIT_REPLACE);
      s.Close();
    });
    services.m_messages.clear();
    state.ResumeTiming();
    view.OnEditReplace();
    state.PauseTiming();
    if (services.m_messages.empty()) std::abort();
    state.SetLabel(services.m_messages.back().text);
    view.DetachFromBuffer();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ReplaceAllInView)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)
    ->ReportAggregatesOnly(true);

void BM_ReplaceAllInMemory(benchmark::State& state) {
  const std::string& bytes = bench::NetlistBytes();
  const std::string word = kWord;
  const std::string replacement = kReplacement;
  for (auto _ : state) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t from = 0;
    long count = 0;
    for (std::size_t at; (at = bytes.find(word, from)) != std::string::npos; from = at + word.size()) {
      out.append(bytes, from, at - from);
      out += replacement;
      ++count;
    }
    out.append(bytes, from, std::string::npos);
    benchmark::DoNotOptimize(out.data());
    state.counters["replacements"] = static_cast<double>(count);
  }
}
BENCHMARK(BM_ReplaceAllInMemory)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
