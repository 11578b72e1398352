#!/usr/bin/env bash
# Installs what is missing, builds with the sanitizers and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/deps.sh
jobs=$(nproc)
cmake -S . -B build -G Ninja -DMIRKAN_SANITIZE=ON >/dev/null
cmake --build build -j "$jobs"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Short fuzzing runs where clang's libFuzzer is at hand.
fuzz_rc=0
if [ -d fuzz ] && command -v clang++ >/dev/null; then
  bash tools/fuzz.sh 20 || fuzz_rc=$?
fi

rc=0
ctest --test-dir build -j "$jobs" --output-on-failure --timeout 300 2>&1 | tee build/ctest.log || rc=$?
# The slowest tests of this run: each must stay well inside its 120-s limit.
echo "Slowest tests:"
grep -E '^ *[0-9]+/[0-9]+ Test +#' build/ctest.log | sed -E 's/^.*Test +#[0-9]+: ([^ ]+) .* ([0-9.]+) sec$/\2 s  \1/' |
  sort -rn | head -5 || true
if [ $fuzz_rc -ne 0 ]; then
  echo "Fuzzing failed (see above)."
  exit $fuzz_rc
fi
exit $rc
