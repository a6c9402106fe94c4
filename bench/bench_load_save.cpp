// Loading and saving the generated files, with same-run baselines: a 32 KB read loop
// that counts '\n' (what `wc -l` does), a plain copy of the file (what `cp` does) and,
// for the saves, a copy through a 64 KB buffer into a new file that is flushed to disk
// and renamed over the old copy.
// The peak memory of a load is measured in a child process, as the rise of its resident
// set over the size of the file.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "data.h"
#include "platform/headless/fault_file_service.h"
#include "quill.h"
#include "view_fixture.h"

namespace {

using quill::QuillTextBuffer;

std::uint64_t FileSize(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

void BM_CountNewlines(benchmark::State& state, std::string (*file)()) {
  const std::string path = file();
  std::vector<char> chunk(32768);
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::size_t lines = 0;
    for (ssize_t n; (n = ::read(fd, chunk.data(), chunk.size())) > 0;)
      lines += static_cast<std::size_t>(std::count(chunk.data(), chunk.data() + n, '\n'));
    ::close(fd);
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileSize(path)));
}

// A copy of the file into a new one: with sync 0 as `cp` does it (128 KB reads and
// writes), with sync 1 as a careful save would (64 KB reads and writes into a temporary
// file, fsync, rename over the copy).
void BM_CopyFile(benchmark::State& state, std::string (*file)()) {
  const bool sync = state.range(0) != 0;
  const std::string path = file();
  const std::string copy = path + ".copy";
  const std::string temp = sync ? copy + ".tmp" : copy;
  std::vector<char> chunk(sync ? 64 * 1024 : 128 * 1024);
  for (auto _ : state) {
    const int in = ::open(path.c_str(), O_RDONLY);
    const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (ssize_t n; (n = ::read(in, chunk.data(), chunk.size())) > 0;)
      if (::write(out, chunk.data(), static_cast<std::size_t>(n)) != n) state.SkipWithError("write");
    if (sync && ::fsync(out) != 0) state.SkipWithError("fsync");
    ::close(in);
    ::close(out);
    if (sync && ::rename(temp.c_str(), copy.c_str()) != 0) state.SkipWithError("rename");
  }
  ::unlink(copy.c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileSize(path)));
}

// Peak resident memory a load adds, as a multiple of the file size, measured in a fresh
// process (this program started again with kPeakFlag): a process that has loaded before
// reuses memory it already holds.
constexpr char kPeakFlag[] = "--quill-peak-load";

double StatusKb(const char* key) {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind(key, 0) == 0) return std::stod(line.substr(std::strlen(key)));
  return 0.0;
}

// Runs before main when the program was started as the measuring child.
const bool g_measuringChild = [] {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::vector<std::string> args;
  for (std::string arg; std::getline(in, arg, '\0');) args.push_back(arg);
  if (args.size() != 3 || args[1] != kPeakFlag) return false;
  const double before = StatusKb("VmRSS:");
  QuillTextBuffer buffer;
  buffer.LoadFromFile(args[2]);
  std::printf("%f\n", (StatusKb("VmHWM:") - before) * 1024.0 / static_cast<double>(FileSize(args[2])));
  std::fflush(stdout);
  ::_exit(0);
}();

double PeakLoadRatio(const std::string& path) {
  const std::string command = "/proc/" + std::to_string(::getpid()) + "/exe " + kPeakFlag + " '" + path + "'";
  std::FILE* child = ::popen(command.c_str(), "r");
  if (child == nullptr) return 0;
  double ratio = 0;
  if (std::fscanf(child, "%lf", &ratio) != 1) ratio = 0;
  ::pclose(child);
  return ratio;
}

void BM_LoadFromFile(benchmark::State& state, std::string (*file)()) {
  quill::bench::QuietServices();
  const std::string path = file();
  int lines = 0;
  for (auto _ : state) {
    QuillTextBuffer buffer;
    if (!buffer.LoadFromFile(path)) state.SkipWithError("load failed");
    lines = buffer.GetLineCount();
    state.PauseTiming();
    buffer.FreeAll();
    state.ResumeTiming();
  }
  state.counters["lines"] = lines;
  state.counters["peak_x_size"] = PeakLoadRatio(path);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileSize(path)));
}

// Saving, by default through the real service (with its flush to disk); with sync set
// to 0 the flush is skipped to show the cost of the writing alone. The file is loaded
// once for all repetitions and saved once untimed before them: the first pass over the
// lines of a fresh load costs several times a later one whatever reads them (a plain
// loop over the lines too), and the copy baseline writes over its earlier copy as well.
void BM_SaveToFile(benchmark::State& state, std::string (*file)()) {
  quill::bench::QuietServices();
  const std::string path = file();
  const std::string target = path + ".saved";
  static std::string loadedPath;
  static QuillTextBuffer buffer;
  static struct Saved {
    std::vector<std::string> files;
    ~Saved() {
      for (const std::string& f : files) ::unlink(f.c_str());
    }
  } saved;
  if (loadedPath != path) {
    buffer.FreeAll();
    loadedPath = path;
    saved.files.push_back(target);
    if (!buffer.LoadFromFile(path) || !buffer.SaveToFile(target)) state.SkipWithError("load or save failed");
  }
  quill::FaultFileService noSync;
  noSync.m_bSkipSync = true;
  quill::ScopedFileService installed(state.range(0) ? nullptr : &noSync);
  for (auto _ : state)
    if (!buffer.SaveToFile(target)) state.SkipWithError("save failed");
  if (FileSize(target) != FileSize(path)) state.SkipWithError("saved size differs");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileSize(path)));
}

using quill::bench::NetlistFileCRLF;
using quill::bench::NetlistFileLF;
using quill::bench::ShortLinesFile;
using quill::bench::SingleLineFile;

#define QUILL_BENCH(fn, file) \
  BENCHMARK_CAPTURE(fn, file, file)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)

QUILL_BENCH(BM_CountNewlines, NetlistFileLF);
QUILL_BENCH(BM_CopyFile, NetlistFileLF)->ArgName("sync")->Arg(0);
QUILL_BENCH(BM_LoadFromFile, NetlistFileLF);
QUILL_BENCH(BM_LoadFromFile, NetlistFileCRLF);
QUILL_BENCH(BM_LoadFromFile, SingleLineFile);
QUILL_BENCH(BM_LoadFromFile, ShortLinesFile);
QUILL_BENCH(BM_CopyFile, NetlistFileLF)->ArgName("sync")->Arg(1);
// The 1 GB netlist, opt-in (QUILL_BENCH_BIG=1): its load against the 100 MB one's above.
const bool g_bigRegistered = quill::bench::BigBenchEnabled() &&
    benchmark::RegisterBenchmark("BM_LoadFromFile/BigNetlistFile", BM_LoadFromFile, &quill::bench::BigNetlistFile)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(3)
            ->ReportAggregatesOnly(true) != nullptr;
QUILL_BENCH(BM_SaveToFile, NetlistFileLF)->ArgName("sync")->Arg(1)->Arg(0);
QUILL_BENCH(BM_SaveToFile, NetlistFileCRLF)->ArgName("sync")->Arg(1)->Arg(0);
QUILL_BENCH(BM_CopyFile, ShortLinesFile)->ArgName("sync")->Arg(1);
QUILL_BENCH(BM_SaveToFile, ShortLinesFile)->ArgName("sync")->Arg(1)->Arg(0);

}  // namespace
