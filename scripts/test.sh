#!/usr/bin/env bash
# Builds quill and runs every test. Usage: scripts/test.sh [--sanitize] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=OFF
if [ "${1:-}" = "--sanitize" ]; then
  sanitize=ON
  shift
fi
build=${1:-build}
[ "$sanitize" = ON ] && build=${1:-build-asan}

cmake -S . -B "$build" -G Ninja -DQUILL_SANITIZE="$sanitize" \
  -DQUILL_BUILD_BENCH="$([ "$sanitize" = ON ] && echo OFF || echo ON)" >/dev/null
cmake --build "$build" -j2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" -j2 --output-on-failure
