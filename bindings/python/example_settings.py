#!/usr/bin/env python3
"""Prints an instrument's scope settings and writes its CH1 trace to a CSV file.

    PYTHONPATH=build/python python3 example_settings.py [ch1.csv [usb:0]]
"""

import csv
import math
import sys

import zelvo


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "ch1.csv"
    name = sys.argv[2] if len(sys.argv) > 2 else "usb:0"
    try:
        with zelvo.open(name) as inst:
            info = inst.info()
            settings = inst.settings()
            ch1 = inst.capture()["CH1"]
    except zelvo.Error as e:
        print(f"example_settings: {e}", file=sys.stderr)
        return 1
    print(f"instrument {info.name} {info.serial}")
    for channel, c in settings.channels.items():
        print(f"{channel}: {'on' if c.on else 'off'}, {c.volts_per_div:g} V/div, "
              f"{c.coupling} coupling, probe {c.probe}X")
    print(f"time base {settings.time_per_div:g} s/div")
    with open(out, "w", newline="") as f:
        writer = csv.writer(f, lineterminator="\n")
        writer.writerow(["sample", "volts"])
        for i, v in enumerate(ch1.volts):
            writer.writerow([i, "" if math.isnan(v) else f"{v:.4f}"])
    print(f"CH1 written to {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
