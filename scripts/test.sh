#!/usr/bin/env bash
# Installs what is missing, builds the project twice and runs every test in
# both builds: build/test (both generations of the program, benchmarks
# built but not run) and build/sanitize (address and undefined-behaviour
# sanitizers, current generation). Both use the Check build type (-O2 -g1);
# the run command builds RelWithDebInfo into build/normal.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
started=$SECONDS
stage() { echo "test: $1 ($((SECONDS - started)) s)"; }

build() {  # folder, extra cmake arguments...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Check "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

build build/test -DVK_SANITIZE=OFF -DVK_COMPAT=ON -DVK_BENCHMARKS=ON
stage "build/test built"
ctest --test-dir build/test -j "$jobs" --timeout 600 --output-on-failure
stage "build/test passed"

build build/sanitize -DVK_SANITIZE=ON -DVK_COMPAT=OFF -DVK_BENCHMARKS=OFF
stage "build/sanitize built"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp \
  ctest --test-dir build/sanitize -j "$jobs" --timeout 600 --output-on-failure
stage "build/sanitize passed"

bash scripts/fuzz.sh 30
stage "fuzzing done"
echo "test: all tests passed in the normal and sanitizer builds"
