#!/usr/bin/env bash
# Drag and drop between processes on a real X server: two quillpad windows and a line edit
# of another program (dnd_probe) side by side on Xvfb, the mouse driven by xdotool.
#   1. a word dragged from quillpad A to quillpad B moves: B has it, A has lost it;
#   2. a word dragged from A into the other program's line edit moves, its Windows-1252
#      byte arriving as the right character;
#   3. a word dropped where nothing takes it (the bare screen) stays in A;
#   4. the line edit's text dragged into B arrives with its characters as Windows-1252.
# Each window saves its text (Ctrl+S) and the files are compared. Exit 77 (skipped) without
# xvfb-run or xdotool.
# Usage: drag_test.sh QUILLPAD DND_PROBE
set -euo pipefail
quillpad=$1
probe=$2
for tool in xvfb-run xdotool; do
  command -v $tool >/dev/null || { echo "drag_test: $tool is missing, skipped"; exit 77; }
done
if [ -z "${QUILL_DRAG_TEST_ON_X:-}" ]; then
  exec env QUILL_DRAG_TEST_ON_X=1 xvfb-run -a -s "-screen 0 1280x720x24 -nolisten tcp" \
    bash "$0" "$@"
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime QUILL_TEST_MODE=1 QT_QPA_PLATFORM=xcb
# QUILL_DRAG_TEST_SHOT=PNG keeps the screen as it was when a check failed.
fail() {
  echo "drag_test: FAIL: $*" >&2
  [ -z "${QUILL_DRAG_TEST_SHOT:-}" ] || "$probe" shot "$QUILL_DRAG_TEST_SHOT" || true
  exit 1
}

# Starts a program, waits for its window and puts it at X Y in a W x H frame; sets $wid.
place() {
  local x=$1 y=$2 w=$3 h=$4
  shift 4
  "$@" >/dev/null 2>&1 &
  pids+=($!)
  wid=$(timeout 30 xdotool search --sync --onlyvisible --pid $! | head -1)
  [ -n "$wid" ] || fail "no window of $1"
  xdotool windowmove --sync "$wid" "$x" "$y" windowsize --sync "$wid" "$w" "$h"
  sleep 0.5
}

# Focuses a window and sends it keys.
keys() {
  local w=$1
  shift
  xdotool windowfocus --sync "$w"
  sleep 0.2
  xdotool key --delay 60 "$@"
  sleep 0.3
}

# Presses at X1 Y1, moves in small steps to X2 Y2 and releases there.
drag() {
  local x1=$1 y1=$2 x2=$3 y2=$4 i
  xdotool mousemove --sync "$x1" "$y1"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.2
  for i in $(seq 1 20); do
    xdotool mousemove --sync $((x1 + (x2 - x1) * i / 20)) $((y1 + (y2 - y1) * i / 20))
    sleep 0.05
  done
  sleep 0.4
  xdotool mouseup 1
  sleep 0.8
}

# The centre of the selected text in a window's rectangle (the selection's colour) in
# $sx $sy.
selection() {
  local pos
  pos=$("$probe" find "$selcolor" "$@") || fail "no selection on the screen"
  read -r sx sy <<<"$pos"
}

# Saves the document of a quillpad window and waits for its file to change.
save() {
  local w=$1 file=$2 before
  before=$(stat -c %Y.%s "$file"; md5sum <"$file")
  keys "$w" ctrl+s
  for _ in $(seq 1 20); do
    [ "$(stat -c %Y.%s "$file"; md5sum <"$file")" != "$before" ] && return
    sleep 0.2
  done
}

printf 'alpha b\xe9ta gamma delta\n' >"$work/a.txt"
# B holds a Windows-1252 byte, so it opens as a Windows-1252 document (an ASCII file
# would open in the default encoding, UTF-8).
printf 'one two \xb5\n' >"$work/b.txt"
place 0 0 600 300 "$quillpad" "$work/a.txt"
wa=$wid
place 640 0 600 300 "$quillpad" "$work/b.txt"
wb=$wid
place 0 400 400 80 "$probe" field "$work/field.txt"
wf=$wid

# The colour of selected text (the default style's, or QUILL_DRAG_TEST_SELECTION).
selcolor=${QUILL_DRAG_TEST_SELECTION:-000000}

# 1. "alpha " from A to B.
keys "$wa" ctrl+Home shift+ctrl+Right
selection 0 0 600 300
drag "$sx" "$sy" 940 200
save "$wb" "$work/b.txt"
save "$wa" "$work/a.txt"
LC_ALL=C grep -q 'alpha' "$work/b.txt" || fail "B did not get the word: $(od -c "$work/b.txt")"
LC_ALL=C grep -q 'alpha' "$work/a.txt" && fail "A kept the moved word: $(cat "$work/a.txt")"

# 2. "b\xe9ta " from A into the line edit (five characters: the word ends at the byte).
keys "$wa" ctrl+Home shift+Right shift+Right shift+Right shift+Right shift+Right
selection 0 0 600 300
drag "$sx" "$sy" 300 440
for _ in $(seq 1 25); do
  LC_ALL=C grep -q "$(printf 'b\xc3\xa9ta')" "$work/field.txt" && break
  sleep 0.2
done
LC_ALL=C grep -q "$(printf 'b\xc3\xa9ta')" "$work/field.txt" ||
  fail "the line edit did not get the word: $(od -c "$work/field.txt")"
save "$wa" "$work/a.txt"
LC_ALL=C grep -q "$(printf 'b\xe9ta')" "$work/a.txt" && fail "A kept the word the line edit took"

# 3. "gamma " dropped on the bare screen stays.
keys "$wa" ctrl+Home shift+ctrl+Right
selection 0 0 600 300
drag "$sx" "$sy" 1000 650
keys "$wa" ctrl+End space
save "$wa" "$work/a.txt"
LC_ALL=C grep -q 'gamma' "$work/a.txt" || fail "a drop that nobody took deleted the word"

# 4. The line edit's text into B.
# (All of it selected: its first characters are at the left of the line edit.)
keys "$wf" End shift+Home
drag 30 440 940 200
save "$wb" "$work/b.txt"
LC_ALL=C grep -q "$(printf 'caf\xe9')" "$work/b.txt" && LC_ALL=C grep -q "$(printf '\x80')" "$work/b.txt" ||
  fail "B did not get the line edit's text as Windows-1252: $(od -c "$work/b.txt")"
echo "drag_test: ok"
