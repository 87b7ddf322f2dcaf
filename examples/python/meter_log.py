#!/usr/bin/env python3
"""Logs the meter to a CSV file: time, mode, value in base units, reading.

    PYTHONPATH=build/python python3 examples/python/meter_log.py lan:127.0.0.1 log.csv 20
"""
import csv
import sys
import time

import zelvo


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: meter_log.py INSTRUMENT FILE.csv SECONDS")
    name, path, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    try:
        with zelvo.open(name) as inst, open(path, "w", newline="") as out:
            rows = csv.writer(out)
            rows.writerow(["time_s", "mode", "base_value", "reading"])
            start = time.monotonic()
            while time.monotonic() - start < seconds:
                r = inst.meter()
                rows.writerow([f"{time.monotonic() - start:.3f}", r.mode.name,
                               "" if r.base_value is None else r.base_value, r.text])
                time.sleep(0.2)
    except zelvo.Error as e:
        sys.exit(f"meter_log: {e}")
    except KeyboardInterrupt:
        pass  # what was written stays


if __name__ == "__main__":
    main()
