#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-20}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DMIRKAN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzzers >build-fuzz/build.log 2>&1 || { tail -n 40 build-fuzz/build.log; echo "the fuzz targets did not build"; exit 1; }
shopt -s nullglob
for f in build-fuzz/fuzzbin/fuzz_*; do
  name=$(basename "$f")
  corpus=fuzz/corpus/${name#fuzz_}
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "fuzzing $name for ${secs}s"
  "$f" -max_total_time="$secs" -max_len=65536 -rss_limit_mb=2048 "$work" >"build-fuzz/$name.log" 2>&1 \
    || { tail -n 60 "build-fuzz/$name.log"; echo "$name found a fault"; exit 1; }
  rm -rf "$work"
done
