#!/usr/bin/env bash
# End-to-end check of quill-settings in a private config folder: import, list, export,
# a rejected import that changes nothing, export -> fresh store -> import -> same export in
# both formats, names with line breaks and NULs, export over a link, and a run short of
# file handles that keeps the store.
set -euo pipefail
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*" >&2; exit 1; }

"$tool" list >/dev/null || fail "list of a missing store"
[ ! -e "$XDG_CONFIG_HOME/quill/registry.db" ] || fail "list created the store"

printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Corvane\\Verurozu Doriru\\General]\r\n"AutoLoad"=dword:00000000\r\n"Face"="Courier \\"New\\" \\\\"\r\n"Margin"=hex:e8,03,\\\r\n  00,00\r\n' >"$work/in.reg"
"$tool" import "$work/in.reg" || fail "import"
"$tool" list 'software\corvane' | grep -q '"AutoLoad"=dword:00000000' || fail "list shows the value"

"$tool" export "$work/one.reg" || fail "export"
grep -q '"Margin"=hex:e8,03,00,00' "$work/one.reg" || fail "export writes hex"

printf 'REGEDIT4\n[HKCU\\Other]\n"ok"=dword:1\n"bad"=dword:zz\n' >"$work/bad.reg"
if "$tool" import "$work/bad.reg" 2>"$work/err"; then fail "bad import accepted"; fi
grep -q 'bad.reg:4:' "$work/err" || fail "error names the line: $(cat "$work/err")"
"$tool" export "$work/two.reg"
cmp -s "$work/one.reg" "$work/two.reg" || fail "a rejected import changed the store"

rm -rf "$XDG_CONFIG_HOME"
"$tool" import "$work/one.reg" || fail "import into a fresh store"
"$tool" export "$work/three.reg"
cmp -s "$work/one.reg" "$work/three.reg" || fail "export, import, export differs"
if "$tool" export "$work/x.reg" 'No\Such' 2>/dev/null; then fail "export of a missing key"; fi

"$tool" export --format=5 "$work/five.reg" || fail "export --format=5"
[ "$(head -c 4 "$work/five.reg" | od -An -tx1 | tr -d ' ')" = fffe5700 ] || fail "UTF-16 with a mark"
rm -rf "$XDG_CONFIG_HOME"
"$tool" import "$work/five.reg" || fail "import of --format=5"
"$tool" export "$work/four.reg"
cmp -s "$work/one.reg" "$work/four.reg" || fail "format 5 round trip differs"

# Names with CR, LF, NUL, backslashes and bytes beyond ASCII, and such a text value, come
# back byte for byte; an export is exactly the file that made the store.
rm -rf "$XDG_CONFIG_HOME"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Odd]\r\n\r\n["HKEY_CURRENT_USER\\\\Odd\\\\K\\r\\ney \xe9"]\r\n"a\\nb\\0c\\\\d\xff"=dword:00000001\r\n"t"=hex(1):6c,0d,0a,00,00\r\n\r\n' >"$work/odd.reg"
"$tool" import "$work/odd.reg" || fail "import of escaped names"
"$tool" export "$work/odd2.reg"
cmp -s "$work/odd.reg" "$work/odd2.reg" || fail "escaped names round trip: $(od -c "$work/odd2.reg")"
"$tool" export --format=5 "$work/odd5.reg"
rm -rf "$XDG_CONFIG_HOME"
"$tool" import "$work/odd5.reg" || fail "import of escaped names in format 5"
"$tool" export "$work/odd3.reg"
cmp -s "$work/odd.reg" "$work/odd3.reg" || fail "escaped names round trip in format 5"
rm -rf "$XDG_CONFIG_HOME"
"$tool" import "$work/one.reg"

# Export over a link writes the file it leads to, keeping its mode.
echo old >"$work/target.reg"; chmod 640 "$work/target.reg"; ln -s target.reg "$work/link.reg"
"$tool" export "$work/link.reg" || fail "export over a link"
[ -L "$work/link.reg" ] && cmp -s "$work/one.reg" "$work/target.reg" || fail "link followed"
[ "$(stat -c %a "$work/target.reg")" = 640 ] || fail "mode kept"
if "$tool" export "$work/no/such/dir.reg" 2>"$work/err"; then fail "export to a missing folder"; fi
grep -q 'cannot write .*: The system cannot find the path specified' "$work/err" ||
  fail "export says why: $(cat "$work/err")"

# Short of file handles: an error that says why, and the store stays where it is.
# One free handle: enough to load the program and open the database, not its WAL.
one_free_handle() {
  local n=0
  while [ -e "/proc/$BASHPID/fd/$n" ]; do n=$((n + 1)); done
  ulimit -n $((n + 1)) && exec "$tool" list
}
if [ -z "${QUILL_SANITIZED:-}" ]; then  # sanitizers need handles of their own
  if (one_free_handle) >/dev/null 2>"$work/err"; then fail "list without handles"; fi
  grep -q 'Too many open files' "$work/err" || fail "says why: $(cat "$work/err")"
  ls "$XDG_CONFIG_HOME/quill" | grep -q corrupt && fail "an intact store was moved aside"
fi
"$tool" list | grep -q '"AutoLoad"=dword:00000000' || fail "the store survives"
echo "quill-settings round trip: ok"
