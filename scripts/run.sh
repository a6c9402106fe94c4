#!/usr/bin/env bash
# The main job: installs what quill needs, builds it and starts quillpad, the demo host, on
# the sample netlist. Without a display ($DISPLAY and $WAYLAND_DISPLAY unset) it renders
# the window offscreen into build/quillpad.png instead. QUILL_RUN_BENCH=1 first runs the
# component's benchmarks on generated data (a netlist, a long line, short lines).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2
if [ "${QUILL_RUN_BENCH:-0}" = 1 ]; then
  for b in build/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_repetitions="${QUILL_BENCH_REPS:-3}" --benchmark_report_aggregates_only=true
  done
fi

quillpad=build/apps/quillpad/quillpad
files=(samples/sram_inv_chain.sp samples/metal_rules.svrf samples/logic_deck.drc
       samples/ring_buffer.c samples/transient_run.log)
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$quillpad" "${files[@]}"
fi
shot=build/quillpad.png
echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): writing a screenshot of quillpad"
echo "to $shot instead of opening its window."
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime" \
  "$quillpad" --screenshot "$shot" "${files[@]}"
echo "Wrote $(pwd)/$shot"
