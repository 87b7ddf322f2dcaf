#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job.
#   tools/run.sh                 start a simulated instrument on loopback and use it;
#                                with a display, then also show it live in Oscilane
#   tools/run.sh --lan ADDRESS   use the instrument at ADDRESS instead
# Further arguments go to the zelvo client (for example: info, meter, settings, screen).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/setup.sh
bash tools/build.sh build >/dev/null

if [ "${1:-}" = "--lan" ]; then
  exec build/tools/zelvo/zelvo "$@"
fi

address=127.0.0.1
build/sim/zelvo-sim --lan "$address" &
sim=$!
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null || true' EXIT
sleep 0.3
build/tools/zelvo/zelvo --lan "$address" --screen zelvo-screen.bmp "$@"

# With a display, a person also gets the live scope of the same instrument;
# the script then ends with Oscilane's exit status when its window is closed.
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  build/app/Oscilane --nologo --connect "lan:$address"
fi
