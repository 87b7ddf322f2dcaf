#!/usr/bin/env python3
"""inst.capture() against the link library's own upload over UDP, side by
side in one process: the same simulated instrument on a loopback address,
the same library (the one the extension loaded), calls interleaved.

    PYTHONPATH=build/python python3 bench/python_capture_bench.py build/sim/zelvo-sim [N]

Prints the median time of each and their ratio; capture() includes making
the four traces' NumPy arrays.
"""
import ctypes
import os
import statistics
import subprocess
import sys
import time

import zelvo

BLOCK_SIZE = 10148  # ZELVO_SETTING_BLOCK_SIZE
LAN = 2


def handle(kind, number):
    return (kind << 16) | number


def main():
    sim, count = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 200
    n = os.getpid() * 131 + 11
    address = f"127.{1 + n % 250}.{(n // 250) % 256}.{1 + (n // 64000) % 126}"
    server = subprocess.Popen([sim, "--lan", address], stdout=subprocess.PIPE, text=True)
    try:
        server.stdout.readline()
        with zelvo.open("lan:" + address) as inst:
            library = ctypes.CDLL("libZelvoDLL.so.1")  # the extension's own copy
            h = handle(LAN, 15)  # a slot zelvo.open() hands out last
            if library.KwLanInit(h, address.encode()) != 0:
                sys.exit("the link library's own link did not open")
            block = (ctypes.c_uint8 * BLOCK_SIZE)()
            ours, theirs = [], []
            for _ in range(count):
                t = time.perf_counter()
                library.DSOUploadSetting(h, block)
                theirs.append(time.perf_counter() - t)
                t = time.perf_counter()
                inst.capture()
                ours.append(time.perf_counter() - t)
            library.KwLanClose(h)
        a, b = statistics.median(ours), statistics.median(theirs)
        print(f"{count} uploads: capture() {a * 1e6:.0f} us, DSOUploadSetting {b * 1e6:.0f} us, "
              f"ratio {a / b:.3f}")
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    main()
