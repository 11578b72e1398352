#!/usr/bin/env bash
# Saves a picture of the frame with a sample chart open, under a virtual X server.
# Usage: tools/screenshot.sh [install folder] [output.png] [chart] [gesture]
# gesture: "band" (a rubber band being drawn) or "preview" (a placement preview) on the canvas.
# The program runs from a scratch copy of the install folder, so its settings file stays there.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bin="${1:-$here/build/bin}"
out="${2:-$here/build/artifacts/frame.png}"
chart="${3:-samples/nexal_sample.nxl}"
gesture="${4:-}"
command -v xvfb-run >/dev/null || { echo "xvfb-run is not installed" >&2; exit 1; }
[ -x "$bin/Mirkan" ] || { echo "no program at $bin/Mirkan" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$bin/Mirkan" "$bin"/*.dfn "$work/"
cp -r "$bin/samples" "$work/"
[ -f "$bin/libzq_tone2.so" ] && cp "$bin"/lib*.so* "$work/" 2>/dev/null || true
mkdir -p "$(dirname "$out")"
rm -f "$out"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
MIRKAN_SCREENSHOT="$out" MIRKAN_SCREENSHOT_GESTURE="$gesture" timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" "$work/Mirkan" "$work/$chart"
[ -s "$out" ] || { echo "no picture was saved" >&2; exit 1; }
echo "saved $out"
