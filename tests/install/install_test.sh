#!/usr/bin/env bash
# Installs quill from BUILD_DIR into a temporary prefix, then builds against that prefix
# only: the example host through find_package(quill CONFIG) (and runs it offscreen for one
# screenshot), and a small core program through pkg-config.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "install_test: $*" >&2; exit 1; }

# The layout a consumer relies on.
for f in include/quill/quill.h include/quill/buffer/text_buffer.h include/quill/qt/quill_qt.h; do
  [ -f "$prefix/$f" ] || fail "missing $f"
done
# quillpad's menu entry names the installed program and icon.
desktop=$prefix/share/applications/quillpad.desktop
[ -f "$desktop" ] && [ -f "$prefix/share/icons/hicolor/scalable/apps/quillpad.svg" ] \
  || fail "no application entry or icon"
grep -qx 'Exec=quillpad %F' "$desktop" && grep -qx 'Icon=quillpad' "$desktop" \
  && [ -x "$prefix/bin/quillpad" ] || fail "the application entry does not match the install"
QT_QPA_PLATFORM=offscreen "$prefix/bin/quillpad" --version >/dev/null \
  || fail "the installed quillpad does not start"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
pc=$(find "$prefix" -name quill-core.pc)
[ -n "$pc" ] || fail "no quill-core.pc"
libdir=$(dirname "$(dirname "$pc")")
[ -e "$libdir/libquill_core.so" ] && [ -e "$libdir/libquill.so" ] || fail "libraries not in $libdir"
[ -f "$libdir/cmake/quill/quillConfig.cmake" ] || fail "no CMake package"
if grep -rqF -e "$source" -e "$build" "$libdir/cmake/quill" "$libdir/pkgconfig"; then
  fail "the installed package refers to the source or build tree"
fi

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S "$source/examples/minimal_host" -B "$tmp/example" "${generator[@]}" \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY=ON >"$tmp/configure.log" \
  || { cat "$tmp/configure.log"; fail "the example does not configure"; }
grep -q "^quill_DIR:PATH=$libdir/cmake/quill$" "$tmp/example/CMakeCache.txt" \
  || fail "the example found quill elsewhere: $(grep ^quill_DIR "$tmp/example/CMakeCache.txt")"
cmake --build "$tmp/example" -j2 >"$tmp/build.log" || { cat "$tmp/build.log"; fail "the example does not build"; }

mkdir -m 700 "$tmp/runtime"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$tmp/runtime" QUILL_TEST_MODE=1 \
  timeout 60 "$tmp/example/minimal_host" --screenshot "$tmp/shot.png"
[ -s "$tmp/shot.png" ] || fail "the example wrote no screenshot"

# pkg-config: a core program that edits and saves a buffer.
cat >"$tmp/tiny.cpp" <<'CPP'
#include <quill.h>
#include <cstdio>
int main(int argc, char** argv) {
  quill::QuillTextBuffer buffer;
  buffer.InitNew(quill::CRLF_MODE_UNIX);
  int line = 0, column = 0;
  buffer.InsertText(nullptr, 0, 0, "one\r\ntwo", line, column);
  std::printf("%d\n", buffer.GetLineCount());
  return argc > 1 && buffer.SaveToFile(argv[1]) ? 0 : 1;
}
CPP
export PKG_CONFIG_PATH=$libdir/pkgconfig
pkg-config --exists --print-errors quill-qt || fail "quill-qt.pc does not resolve"
pkg-config --libs quill-qt | grep -q -- -lquill || fail "quill-qt.pc does not link libquill"
# shellcheck disable=SC2046
${CXX:-c++} -std=c++20 "$tmp/tiny.cpp" -o "$tmp/tiny" $(pkg-config --cflags --libs quill-core) \
  || fail "a pkg-config build against quill-core fails"
[ "$(QUILL_TEST_MODE=1 LD_LIBRARY_PATH=$libdir "$tmp/tiny" "$tmp/tiny.txt")" = 2 ] || fail "the pkg-config program misbehaves"
[ "$(od -An -c "$tmp/tiny.txt" | tr -d ' ')" = 'one\ntwo' ] || fail "the pkg-config program saved: $(od -c "$tmp/tiny.txt")"
echo "install_test: installed package, example host and pkg-config build all work"
