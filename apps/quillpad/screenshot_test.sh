#!/bin/sh
# Runs quillpad offscreen on the samples: --screenshot must write a non-empty PNG and
# --print-pdf a non-empty PDF.
set -eu
quillpad=$1 samples=$2 out=$3
export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
XDG_CONFIG_HOME=$XDG_RUNTIME_DIR/config
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
png=$out/quillpad_test.png
pdf=$out/quillpad_test.pdf
rm -f "$png" "$pdf"
"$quillpad" --screenshot "$png" "$samples/sram_inv_chain.sp" "$samples/metal_rules.svrf"
test -s "$png" || { echo "no screenshot written"; exit 1; }
head -c 8 "$png" | od -An -c | grep -q 'P   N   G' || { echo "not a PNG"; exit 1; }
"$quillpad" --print-pdf "$pdf" "$samples/sram_inv_chain.sp"
test -s "$pdf" || { echo "no PDF written"; exit 1; }
head -c 5 "$pdf" | grep -q '%PDF-' || { echo "not a PDF"; exit 1; }
# A file that cannot be opened is reported and gives a failure, not a crash.
if "$quillpad" --print-pdf "$pdf.missing" "$samples/no_such_file.sp" 2>"$out/quillpad_test.err"; then
  echo "printing a missing file succeeded"; exit 1
fi
grep -q "no_such_file.sp" "$out/quillpad_test.err" || { echo "the missing file is not named"; exit 1; }
# --help and --version answer without any display.
env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$quillpad" --help | grep -q -- '--print-pdf' ||
  { echo "--help does not list the options"; exit 1; }
env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$quillpad" --version | grep -q '^quillpad [0-9]' ||
  { echo "--version does not name the version"; exit 1; }
echo ok
