// One DWORD read and one DWORD write through registry_int on the SQLite settings store in a
// private XDG_CONFIG_HOME, with a stat() of the database file as the same-run baseline.
// Run with --benchmark_repetitions=9 --benchmark_report_aggregates_only=true for medians.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/format.h"
#include "settings/regfile.h"
#include "settings/registry.h"
#include "settings/sqlite_store.h"

namespace {

const std::string kPath = "Software\\Corvane\\Verurozu Doriru\\General\\TabSize";

// The store of the whole run: a temporary config folder, removed at exit.
struct BenchStore {
  std::string dir;
  BenchStore() {
    std::string templ =
        (std::filesystem::temp_directory_path() / "quill-bench-settings-XXXXXX").string();
    dir = mkdtemp(templ.data()) ? templ : "/tmp";
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    quill::SetSettingsStore(std::make_shared<quill::SqliteSettingsStore>(quill::DefaultSettingsPath()));
    registry_int<int>(kPath, HKEY_CURRENT_USER, 0).write(4);
  }
  ~BenchStore() {
    quill::SetSettingsStore(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

BenchStore& Store() {
  static BenchStore store;
  return store;
}

void BM_StatBaseline(benchmark::State& state) {
  Store();
  std::string file = quill::DefaultSettingsPath();
  struct stat st;
  for (auto _ : state) {
    int rc = ::stat(file.c_str(), &st);
    benchmark::DoNotOptimize(rc);
  }
}
BENCHMARK(BM_StatBaseline);

void BM_ReadDword(benchmark::State& state) {
  Store();
  for (auto _ : state) {
    int v = registry_int<int>(kPath, HKEY_CURRENT_USER, 0).read();
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_ReadDword);

void BM_WriteDword(benchmark::State& state) {
  Store();
  int i = 0;
  for (auto _ : state) {
    registry_int<int>(kPath, HKEY_CURRENT_USER, 0).write(++i);
  }
}
BENCHMARK(BM_WriteDword);

// Importing 20,000 keys into a fresh database.
void BM_Import(benchmark::State& state) {
  static const quill::RegFile file = [] {
    std::string text = "REGEDIT4\n";
    for (int i = 0; i < 20000; ++i) text += quill::Format("[HKCU\\Big\\K%d]\n\"v\"=dword:%x\n", i, i);
    quill::RegFile parsed;
    quill::RegFileError error;
    quill::ParseRegFile(text, &parsed, &error);
    return parsed;
  }();
  std::string db = Store().dir + "/import.db";
  for (auto _ : state) {
    state.PauseTiming();
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db + suffix);
    state.ResumeTiming();
    quill::SqliteSettingsStore store(db);
    benchmark::DoNotOptimize(quill::ApplyRegFile(store, file));
  }
}
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond);

}  // namespace
