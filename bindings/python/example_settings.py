#!/usr/bin/env python3
"""Prints the first instrument's scope settings and writes CH1 to a CSV file.

    python3 example_settings.py [ch1.csv]
"""

import csv
import sys

import zelvo_sdk


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "ch1.csv"
    kit = zelvo_sdk.Kit()
    found = kit.instruments()
    if not found:
        print("no instrument found on USB", file=sys.stderr)
        return 1
    index = found[0]
    info = kit.device_info(index)
    print(f"instrument {info['name']} {info['serial_number']}")
    settings = kit.all_settings(index)
    for k, name in enumerate(("CH1", "CH2", "MATH", "REF")):
        ch = settings.record.channels[k]
        print(f"{name}: {'on' if ch.shown else 'off'}, volts index {ch.voltsIndex}, "
              f"{ch.voltsValue * 0.01:g} mV/div, position {ch.position}, "
              f"{settings.record.waveforms[k].sampleCount} samples")
    print(f"time base index {settings.time_base}")
    with open(out, "w", newline="") as f:
        writer = csv.writer(f, lineterminator="\n")
        writer.writerow(["sample", "volts"])
        for i, v in enumerate(settings.traces_volts[0]):
            writer.writerow([i, "" if v is None else f"{v:.4f}"])
    print(f"CH1 written to {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
