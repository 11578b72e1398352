#!/usr/bin/env bash
# Installs what is missing, builds and starts Mirkan with the chart files given.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
bash "$here/tools/deps.sh"
cmake -S "$here" -B "$here/build" -G Ninja -DMIRKAN_SANITIZE=ON >/dev/null
cmake --build "$here/build" -j "$(nproc)" --target install_folder
args=()
for f in "$@"; do args+=("$(realpath -m -- "$f")"); done
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
exec "$here/build/bin/Mirkan" "${args[@]}"
