#!/usr/bin/env bash
# The main job: installs what quill needs, builds it and runs the component's benchmarks
# on generated data (a netlist, a long line, short lines).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2
for b in build/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions="${QUILL_BENCH_REPS:-3}" --benchmark_report_aggregates_only=true
done
