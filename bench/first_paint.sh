#!/usr/bin/env bash
# quillpad against vim (and grep for search) on the generated files, in one run.
#
# First screen: the median of N runs (default 5) of `quillpad --time-first-paint FILE`
# (offscreen Qt, from the start of main to the end of the first paint of the editor)
# against vim showing the same file in a 120 x 35 pseudo-terminal made by script(1):
# `vim -u NONE -i NONE -n -c redraw -c 'qa!' FILE`, timed from the start of script to vim's
# exit after the redraw (the first screen is drawn and flushed before the quit). CPU is
# user + system time of the whole process tree, peak memory its largest resident set
# (GNU time), as a multiple of the file's size.
# Typing: build/bench/bench_qt_typing (a key at the end of the long line through
# EditorWidget with a status bar showing Ln, Col). Search: build/bench/bench_search over
# the netlist (no match, whole file, through FindText) against grep -ciF and grep -cE run
# by this script (wall and user + system time).
#
# Usage: bench/first_paint.sh [BUILD_DIR] [N]; QUILL_BENCH_BIG=1 adds the 1 GB netlist.
# Without vim the vim columns stay empty.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-5}
quillpad=$build/apps/quillpad/quillpad
cmake --build "$build" --target quillpad gen_bench_data bench_search bench_qt_typing >/dev/null
mapfile -t files < <("$build"/bench/gen_bench_data)
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime"
have_vim=$(command -v vim >/dev/null && command -v script >/dev/null && echo 1 || echo 0)

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Runs a command under GNU time; prints "<cpu s> <peak KiB>".
timed() {
  /usr/bin/time -f '%U %S %M' -o "$runtime/time" "$@" >"$runtime/out" 2>/dev/null || true
  awk 'END {printf "%.3f %d\n", $1 + $2, $3}' "$runtime/time"  # the last line (GNU time may add one)
}

# Prints "<first paint> <cpu> <peak KiB>", medians of the runs, for quillpad and a file.
measure_quill() {
  local paint=() cpu=() peak=() c k
  for ((i = 0; i < runs; i++)); do
    read -r c k < <(timed "$quillpad" --time-first-paint "$1")
    paint+=("$(sed -n 's/first paint after \([0-9.]*\) s.*/\1/p' "$runtime/out")")
    cpu+=("$c")
    peak+=("$k")
  done
  echo "$(printf '%s\n' "${paint[@]}" | median) $(printf '%s\n' "${cpu[@]}" | median)" \
    "$(printf '%s\n' "${peak[@]}" | median)"
}

# The same for vim's first screen.
measure_vim() {
  local wall=() cpu=() peak=() c k s
  for ((i = 0; i < runs; i++)); do
    s=$(date +%s.%N)
    read -r c k < <(timed script -qfec \
      "stty rows 35 cols 120; vim -u NONE -i NONE -n -c redraw -c 'qa!' '$1'" /dev/null)
    wall+=("$(awk -v s="$s" -v e="$(date +%s.%N)" 'BEGIN {printf "%.3f", e - s}')")
    cpu+=("$c")
    peak+=("$k")
  done
  echo "$(printf '%s\n' "${wall[@]}" | median) $(printf '%s\n' "${cpu[@]}" | median)" \
    "$(printf '%s\n' "${peak[@]}" | median)"
}

echo "First screen, medians of $runs (wall s / CPU s / peak memory as a multiple of the file):"
printf '%-32s %22s %22s %14s %12s\n' file quillpad vim "paint / vim" "CPU / vim"
for f in "${files[@]}"; do
  size=$(stat -c %s "$f")
  read -r qp qc qk < <(measure_quill "$f")
  vp=0 vc=0 vk=0
  [[ $have_vim == 1 ]] && read -r vp vc vk < <(measure_vim "$f")
  awk -v f="$(basename "$f")" -v b="$size" -v qp="$qp" -v qc="$qc" -v qk="$qk" \
      -v vp="$vp" -v vc="$vc" -v vk="$vk" 'BEGIN {
    q = sprintf("%.3f / %.3f / %.2fx", qp, qc, qk * 1024 / b)
    v = vp > 0 ? sprintf("%.3f / %.3f / %.2fx", vp, vc, vk * 1024 / b) : "-"
    r = vp > 0 ? sprintf("%.2f", qp / vp) : "-"
    c = vc > 0 ? sprintf("%.2f", qc / vc) : "-"
    printf "%-32s %22s %22s %14s %12s\n", f, q, v, r, c }'
done

echo
echo "A key at the end of the long line through EditorWidget with the status bar (median of 3 x 200 keys):"
"$build"/bench/bench_qt_typing --benchmark_color=false 2>/dev/null |
  awk '$1 ~ /_median$/ {printf "  %.3f ms a key\n", $2}'

echo
echo "Whole-file search of the netlist without a match, medians of 5 (wall ms / CPU ms):"
# The texts bench_search looks for (kMissingText, kMissingRegex there).
netlist=${files[0]}
grep_ms() {
  local wall=() cpu=() c k s
  for ((i = 0; i < 5; i++)); do
    s=$(date +%s.%N)
    read -r c k < <(timed grep "$@" "$netlist")
    wall+=("$(awk -v s="$s" -v e="$(date +%s.%N)" 'BEGIN {printf "%.1f", (e - s) * 1000}')")
    cpu+=("$(awk -v c="$c" 'BEGIN {printf "%.1f", c * 1000}')")
  done
  echo "$(printf '%s\n' "${wall[@]}" | median) $(printf '%s\n' "${cpu[@]}" | median)"
}
read -r gfw gfc < <(grep_ms -ciF 'vdd_core_missing')
read -r gew gec < <(grep_ms -cE '^M[0-9]+ .* w=[0-9]{9}u')
"$build"/bench/bench_search --benchmark_filter='FindTextIgnoreCase|FindTextRegex' \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_color=false 2>/dev/null |
  awk -v gfw="$gfw" -v gfc="$gfc" -v gew="$gew" -v gec="$gec" '
    $1 ~ /_median$/ { n = $1; sub(/_median$/, "", n); w[n] = $2; c[n] = $4 }
    END {
      printf "  ignoring case: quill %.1f / %.1f, grep -ciF %.1f / %.1f, ratio %.2f / %.2f\n",
        w["BM_FindTextIgnoreCase"], c["BM_FindTextIgnoreCase"], gfw, gfc,
        w["BM_FindTextIgnoreCase"] / gfw, c["BM_FindTextIgnoreCase"] / gfc
      printf "  regular expression: quill %.1f / %.1f, grep -cE %.1f / %.1f, ratio %.2f / %.2f\n",
        w["BM_FindTextRegex"], c["BM_FindTextRegex"], gew, gec,
        w["BM_FindTextRegex"] / gew, c["BM_FindTextRegex"] / gec }'
