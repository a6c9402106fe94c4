#!/usr/bin/env bash
# quillpad's first paint on the generated files: the median of N runs (default 5) of
# `quillpad --time-first-paint`, less the median start-up with a small sample file, as a
# multiple of the median time of loading the file alone (reported by the same runs).
# Usage: bench/first_paint.sh [BUILD_DIR] [N]; QUILL_BENCH_BIG=1 adds the 1 GB netlist.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-5}
quillpad=$build/apps/quillpad/quillpad
cmake --build "$build" --target quillpad gen_bench_data >/dev/null
mapfile -t files < <("$build"/bench/gen_bench_data)
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime"

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Prints "<first paint median> <load median> <peak KiB median>" for a file.
measure() {
  local paint=() load=() peak=()
  for ((i = 0; i < runs; i++)); do
    local out
    out=$(/usr/bin/time -f 'peak %M' "$quillpad" --time-first-paint "$1" 2>&1 >/dev/stdout | grep -E 'first paint|peak')
    paint+=("$(sed -n 's/first paint after \([0-9.]*\) s.*/\1/p' <<<"$out")")
    load+=("$(sed -n 's/.*loading the files \([0-9.]*\) s.*/\1/p' <<<"$out")")
    peak+=("$(sed -n 's/peak \([0-9]*\)/\1/p' <<<"$out")")
  done
  echo "$(printf '%s\n' "${paint[@]}" | median) $(printf '%s\n' "${load[@]}" | median) $(printf '%s\n' "${peak[@]}" | median)"
}

read -r start _ _ < <(measure samples/sram_inv_chain.sp)
echo "start-up with a small file: $start s (median of $runs)"
for f in "${files[@]}"; do
  read -r paint load peak < <(measure "$f")
  size=$(stat -c %s "$f")
  awk -v f="$(basename "$f")" -v p="$paint" -v l="$load" -v s="$start" -v k="$peak" -v b="$size" 'BEGIN {
    printf "%s: first paint %.3f s, load %.3f s, (paint - start-up) / load = %.2f, peak memory %.2f x the file\n",
      f, p, l, (p - s) / l, k * 1024 / b }'
done
