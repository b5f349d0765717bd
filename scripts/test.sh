#!/usr/bin/env bash
# Installs what is missing, builds the project twice (normal and with the
# address and undefined-behaviour sanitizers) and runs every test in both.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
build() {  # folder, extra cmake arguments...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

build build/normal
ctest --test-dir build/normal -j "$jobs" --output-on-failure

build build/sanitize -DVK_SANITIZE=ON -DVK_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/sanitize -j "$jobs" --output-on-failure
bash scripts/fuzz.sh 30
echo "test: all tests passed in the normal and sanitizer builds"
