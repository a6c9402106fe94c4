// Line parser throughput on the 100 MB netlist: cookies only (what the view computes for
// lines it does not paint) and with runs (what painting asks for), with a SPICE-like and
// a C-like style; and on a 100 MB SPEF file with quillpad's SPEF language. Baseline in
// the same run: memchr scanning the buffer for '\n'.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "data.h"
#include "languages.h"
#include "style/document_style.h"

namespace {

using quill::DocumentType;
using quill::TDocumentStyle;
using quill::TEXTBLOCK;

struct Netlist {
  std::string text;
  std::vector<std::string_view> lines;
  std::size_t maxLine = 0;
};

Netlist Load(const std::string& path) {
  // The views point into the text, whose buffer moves with the returned value.
  Netlist n;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  n.text = all.str();
  std::size_t start = 0;
  while (start < n.text.size()) {
    std::size_t end = n.text.find('\n', start);
    if (end == std::string::npos) end = n.text.size();
    n.lines.emplace_back(n.text.data() + start, end - start);
    if (end - start > n.maxLine) n.maxLine = end - start;
    start = end + 1;
  }
  return n;
}

const Netlist& Data() {
  static const Netlist data = Load(quill::bench::NetlistFileLF());
  return data;
}

const Netlist& SpefData() {
  static const Netlist data = Load(quill::bench::SpefFile());
  return data;
}

TDocumentStyle SpiceStyle() {
  TDocumentStyle s(quill::DOCTYPE_SPICE, nullptr);
  s.SetIgnoreCase(true);
  s.SetSingleCommentsDelims("*", 0);
  s.SetSingleCommentsPrefix(" \t", 0);
  s.SetSingleCommentsDelims("$", 1);
  s.SetSingleCommentsPrefix(" \t", 1);
  s.SetSingleCommentsBOL(false, 1);
  s.SetSingleCommentsDelims(";", 2);
  s.SetStringDelims("\"", "\"");
  s.SetCharDelims("'", "'");
  s.InitKeywordSection("Statements", nullptr, "._", false);
  for (const char* k : {".subckt", ".ends", ".model", ".param", ".include", ".lib", ".option",
                        ".tran", ".dc", ".ac", ".end", ".global", ".temp", ".measure", ".print"})
    s.AddKeyword(k, "Statements");
  s.InitKeywordSection("Models", nullptr, nullptr, false);
  for (const char* k : {"nch", "pch", "nch_lvt", "pch_hvt", "res", "cap"}) s.AddKeyword(k, "Models");
  return s;
}

TDocumentStyle CStyle() {
  TDocumentStyle s(quill::DOCTYPE_CPP, nullptr);
  s.SetCommentsDelims("/*", "*/");
  s.SetSingleCommentsDelims("//", 0);
  s.SetStringDelims("\"", "\"");
  s.SetCharDelims("'", "'");
  s.SetPreprocChar('#');
  s.InitKeywordSection("C/C++ Keywords", nullptr, "_", false);
  for (const char* k : {"auto", "break", "case", "char", "const", "continue", "default", "do",
                        "double", "else", "enum", "extern", "float", "for", "goto", "if", "int",
                        "long", "register", "return", "short", "signed", "sizeof", "static",
                        "struct", "switch", "typedef", "union", "unsigned", "void", "volatile",
                        "while", "class", "namespace", "template", "typename", "public"})
    s.AddKeyword(k, "C/C++ Keywords");
  return s;
}

TDocumentStyle SpefStyle() {
  TDocumentStyle s(quill::DOCTYPE_SPEF, nullptr);
  quillpad::DefineLanguage(s);
  return s;
}

void Parse(benchmark::State& state, const TDocumentStyle& style, bool withRuns,
           const Netlist& data = Data()) {
  std::vector<TEXTBLOCK> runs(3 * data.maxLine + 3);
  std::size_t totalRuns = 0;
  for (auto _ : state) {
    unsigned long cookie = 0;
    for (std::string_view line : data.lines) {
      int count = 0;
      cookie = style.ParseLine(line.data(), static_cast<int>(line.size()), cookie, 0,
                               withRuns ? runs.data() : nullptr, count);
      totalRuns += static_cast<std::size_t>(count);
    }
    benchmark::DoNotOptimize(cookie);
  }
  benchmark::DoNotOptimize(totalRuns);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.text.size()));
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(data.text.size()) / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
}

void BM_MemchrNewlines(benchmark::State& state) {
  const Netlist& data = Data();
  for (auto _ : state) {
    std::size_t lines = 0;
    const char* p = data.text.data();
    const char* end = p + data.text.size();
    while (const void* hit = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
      ++lines;
      p = static_cast<const char*>(hit) + 1;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.text.size()));
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(data.text.size()) / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
}

void BM_SpiceCookies(benchmark::State& state) { Parse(state, SpiceStyle(), false); }
void BM_SpiceRuns(benchmark::State& state) { Parse(state, SpiceStyle(), true); }
void BM_CCookies(benchmark::State& state) { Parse(state, CStyle(), false); }
void BM_CRuns(benchmark::State& state) { Parse(state, CStyle(), true); }
void BM_SpefCookies(benchmark::State& state) { Parse(state, SpefStyle(), false, SpefData()); }
void BM_SpefRuns(benchmark::State& state) { Parse(state, SpefStyle(), true, SpefData()); }

BENCHMARK(BM_MemchrNewlines)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_SpiceCookies)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_SpiceRuns)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_CCookies)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_CRuns)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_SpefCookies)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_SpefRuns)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace
