// The main of a benchmark program that drives real widgets: the offscreen platform, the
// test mode and an in-memory settings store, so a run touches neither a display nor the
// user's settings.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

#include "settings/store.h"

inline int RunQtBenchmarks(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("QUILL_TEST_MODE", "1", 0);
  QApplication app(argc, argv);
  quill::InstallMemorySettingsStore();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
