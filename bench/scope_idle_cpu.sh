#!/usr/bin/env bash
# CPU a connected scope window costs while it acquires in automatic mode and
# while the instrument is stopped: Oscilane on Qt's offscreen platform (a
# 1920 x 1200 screen, window maximised) connected to the simulated instrument
# on a loopback address, beside the same window left unconnected, each
# sampled over the same time.
#   bench/scope_idle_cpu.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
build=${1:-build}
seconds=${2:-10}
zelvo=$build/tools/zelvo/zelvo
[ -x "$build/app/Oscilane" ] && [ -x "$build/sim/zelvo-sim" ] && [ -x "$zelvo" ] ||
  { echo "build $build with the application first (tools/build.sh $build)" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A private runtime and settings directory: no clash with a running Oscilane.
export HOME=$work XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work/config
mkdir -p "$work/config"
chmod 700 "$work"
cat >"$work/screen.json" <<JSON
{"windowFrameMargins": false,
 "screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920, "height": 1200,
              "logicalDpiX": 96, "logicalDpiY": 96, "dpr": 1}]}
JSON
export QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json"

# A random loopback address keeps clear of another simulator on port 2001.
address=127.0.$((RANDOM % 200 + 20)).$((RANDOM % 200 + 20))
"$build/sim/zelvo-sim" --lan "$address" &
pids+=($!)

ticks=$(getconf CLK_TCK)
# utime + stime of a process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Percent of one core the process used over the sampling time, after a
# settling second.
sample() {
  local pid=$1 before after
  sleep 2
  kill -0 "$pid" 2>/dev/null || { echo "Oscilane ended early" >&2; exit 1; }
  before=$(cpu_ticks "$pid")
  sleep "$seconds"
  after=$(cpu_ticks "$pid")
  awk -v d=$((after - before)) -v t="$ticks" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * d / t / s }'
}

run() {
  "$build/app/Oscilane" --nologo --new scope "$@" &
  local pid=$!
  pids+=("$pid")
  sample "$pid"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

connected=$(run --connect "lan:$address")
# The instrument stopped through a recalled setup that differs only in that.
"$zelvo" --lan "$address" setup save "$work/running.setup" >/dev/null
sed 's/^running = 1\r$/running = 0\r/' "$work/running.setup" >"$work/stopped.setup"
"$zelvo" --lan "$address" setup load "$work/stopped.setup" >/dev/null
stopped=$(run --connect "lan:$address")
unconnected=$(run)
echo "connected scope window, automatic mode: ${connected} % of a core"
echo "connected scope window, stopped:        ${stopped} % of a core"
echo "unconnected scope window:               ${unconnected} % of a core"
awk -v c="$connected" -v u="$unconnected" \
  'BEGIN { if (u > 0) printf "ratio connected / unconnected = %.2f\n", c / u }'
