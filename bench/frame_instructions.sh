#!/usr/bin/env bash
# Instructions of one whole scope frame (copy, panel refresh, repaint at
# 1600 x 1000) counted by callgrind over a run of frames, and per frame; then
# the same for frames whose upload is unchanged (a stopped instrument).
#   bench/frame_instructions.sh [BUILD_DIR] [FRAMES]
set -euo pipefail
build=${1:-build}
frames=${2:-50}
bench=$build/bench/scope_frame_bench
[ -x "$bench" ] || { echo "build $build with the application first" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "valgrind is missing: run tools/setup.sh" >&2; exit 1; }

out=$(mktemp)
trap 'rm -f "$out"' EXIT
# Only the counted frames: collection is on inside the measured function alone.
count() {
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} valgrind --tool=callgrind --callgrind-out-file="$out" \
    --toggle-collect="*$1*" "$bench" "$2=$frames" >/dev/null 2>&1
  total=$(awk '/^totals:/ { print $2 }' "$out")
  [ -n "$total" ] || { echo "callgrind wrote no totals" >&2; exit 1; }
}
count measuredFrames --frames
echo "instructions for $frames frames: $total"
awk -v t="$total" -v n="$frames" 'BEGIN { printf "instructions per frame: %.0f\n", t / n }'
count measuredUnchangedFrames --unchanged-frames
echo "instructions for $frames unchanged frames: $total"
awk -v t="$total" -v n="$frames" 'BEGIN { printf "instructions per unchanged frame: %.0f\n", t / n }'
