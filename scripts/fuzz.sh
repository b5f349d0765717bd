#!/usr/bin/env bash
# Builds the fuzz target of the socket message decoders with clang and
# libFuzzer (outside the g++ build) and runs it from the seed corpus.
#   scripts/fuzz.sh [SECONDS]     run time, 30 s unless given
# Inputs the run finds go to build/fuzz/corpus (the checked-in seeds under
# src/platform/remote/fuzz/corpus stay as they are); a crashing input is
# written to build/fuzz/ and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
root=$(pwd)
out=build/fuzz
mkdir -p "$out/corpus"

# The decoders and the runtime library under them (all of it, so that the
# target keeps linking whatever the library's parts come to use).
sources=(src/platform/remote/fuzz/FrameFuzz.cpp src/platform/remote/Wire.cpp)
for s in src/platform/core/*.cpp; do
  [[ $s == *_test.cpp ]] || sources+=("$s")
done

{
  echo "flags = -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined" \
       "-fno-sanitize-recover=undefined -I$root/src -I$root -DMSGPACK_DEFAULT_API_VERSION=3" \
       "-DVK_COMPAT_BUILD=0"
  echo "rule cxx"
  echo "  command = clang++ \$flags -MMD -MF \$out.d -c \$in -o \$out"
  echo "  depfile = \$out.d"
  echo "  deps = gcc"
  echo "rule link"
  echo "  command = clang++ \$flags \$in -o \$out -ldl"
  objects=()
  for s in "${sources[@]}"; do
    o="obj/$(basename "${s%.cpp}").o"
    objects+=("$o")
    echo "build $o: cxx $root/$s"
  done
  echo "build frame_fuzz: link ${objects[*]}"
} > "$out/build.ninja"
if ! ninja -C "$out" -j 2 frame_fuzz >"$out/build.log" 2>&1; then
  cat "$out/build.log"
  echo "fuzz: the target did not build"
  exit 1
fi

cp -n src/platform/remote/fuzz/corpus/* "$out/corpus/"
if ! "$out/frame_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$out/" -print_final_stats=1 "$out/corpus" >"$out/last-run.log" 2>&1; then
  tail -n 40 "$out/last-run.log"
  echo "fuzz: FAILED; the input is in $out/ (see $out/last-run.log)"
  exit 1
fi
grep -E '^(Done|stat::new_units_added)' "$out/last-run.log" || true
echo "fuzz: no failure in $seconds s"
