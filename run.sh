#!/usr/bin/env bash
# Installs what is missing, builds an optimised Mirkan (in build-run/, apart from the checking
# build of test.sh) and starts it with the chart files given.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
bash "$here/tools/deps.sh"
cmake -S "$here" -B "$here/build-run" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIRKAN_SANITIZE=OFF >/dev/null
cmake --build "$here/build-run" -j "$(nproc)" --target install_folder
args=()
for f in "$@"; do args+=("$(realpath -m -- "$f")"); done
exec "$here/build-run/bin/Mirkan" "${args[@]}"
