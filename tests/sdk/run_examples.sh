#!/usr/bin/env bash
# Runs the developer kit's C example and the Python package's example against
# a simulated instrument on the simulated USB bus, and checks what they write.
# usage: run_examples.sh ZELVO_SIM C_EXAMPLE PYTHON_EXAMPLES [PYTHON PACKAGE_DIR]
# Without the interpreter and package folder (trees built without the Python
# package) the Python example is left out.
set -euo pipefail
sim=$1 example=$2 python_dir=$3 python=${4:-} package_dir=${5:-}
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
"$sim" --usb "$work/bus.sock" >"$work/sim.log" 2>&1 &
pid=$!
for _ in $(seq 100); do [ -S "$work/bus.sock" ] && break; sleep 0.05; done
export ZELVO_USB_SIM="$work/bus.sock" ZELVO_USB_IDS=1209:0001

check_csv() {
  local file=$1 lines
  lines=$(wc -l <"$file")
  [ "$lines" -eq 1201 ] || { echo "$file has $lines lines, expected 1201"; exit 1; }
  head -1 "$file" | grep -qx 'sample,volts' || { echo "$file: bad header"; exit 1; }
  # CH1 is a sine of 1 V amplitude: some samples near +1 V and some near -1 V.
  awk -F, 'NR>1 && $2>0.8 {hi=1} NR>1 && $2<-0.8 {lo=1} END {exit !(hi && lo)}' "$file" ||
    { echo "$file does not hold the CH1 sine"; exit 1; }
}

"$example" "$work/c.csv" | tee "$work/c.out"
grep -q '^CH1: on' "$work/c.out"
check_csv "$work/c.csv"

if [ -n "$package_dir" ]; then
  PYTHONPATH="$package_dir" "$python" "$python_dir/example_settings.py" "$work/py.csv" usb:0 |
    tee "$work/py.out"
  grep -q '^CH1: on' "$work/py.out"
  check_csv "$work/py.csv"
fi
echo "examples passed"
