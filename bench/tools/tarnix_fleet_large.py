#!/usr/bin/env python3
"""Times tarnix-fleet on a generated fleet and prints the exports' size, the seconds and the peak
memory of the HTML and the JSON report.

    bench/tools/tarnix_fleet_large.py [--kiosks N] [--entries N] [--bin DIR] [--keep DIR]

The fleet: N kiosks (default 10,000), each an export of a history of --entries calibrations
(default 20) written by tarnix-history export from a generated history folder and then varied per
kiosk (name, serial, monitor model among five, a little jitter of every record, one kiosk in 50
with its sensor moved). DIR of --bin holds tarnix-history and tarnix-fleet (default
build/native/tools/...). Goal on the project's 2-core machine: 10,000 kiosks x 20 entries in at
most 30 s and 1 GB.
"""
import argparse
import json
import os
import random
import resource
import shutil
import struct
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
MODELS = ["T15", "T19", "T22", "T27", "T32"]


def record(shift):
    """A 1257-byte record of a 1920 x 1080 area, a nearly linear order-3 mapping."""
    r = bytearray(1257)
    struct.pack_into("<i", r, 69, 1)
    struct.pack_into("<2i", r, 77, 1920, 1080)
    struct.pack_into("<10i", r, 109, 40 + shift, 18000, 120, 300, -200, 150, 900, 0, 400, 0)
    struct.pack_into("<10i", r, 269, -60, -90, 18500, 100, 250, -300, 0, 500, 0, 700)
    struct.pack_into("<i", r, 429, 1)
    struct.pack_into("<i", r, 445, 3)
    struct.pack_into("<2i", r, 449, 2047, 4095)
    return bytes(r)


def template(history_tool, folder, entries):
    """One real export of a history of `entries` calibrations, each moved a little further."""
    os.makedirs(folder)
    for n in range(entries):
        name = os.path.join(folder, "20261101-%06d-s0" % n)
        with open(name + ".bin", "wb") as f:
            f.write(record(3 * n))
        with open(name + ".cfg", "w", newline="\r\n") as f:
            f.write("; Date: 2026-11-01 10:00:00\n; Sequence: %d\n; Expected error (mm): 0.4\n"
                    "; Monitor maker: ABC\n; Monitor model: T22\n; Monitor serial: SN\n"
                    "; Glass size: 476.6 x 268.1 mm (monitor EDID)\n"
                    "[TARNIX-APP]\nScreenWidth=476.6\nScreenHeight=268.1\n" % (n + 1))
    out = subprocess.run([history_tool, "export", "--folder", folder, "--machine", "template"],
                         check=True, stdout=subprocess.PIPE).stdout
    return json.loads(out)


def write_fleet(document, folder, kiosks):
    os.makedirs(folder)
    rng = random.Random(5)
    total = 0
    for k in range(kiosks):
        document["Machine"] = "kiosk-%05d" % k
        screen = document["Screens"][0]
        screen["Serial"] = "SN-%05d" % k
        screen["Model"] = MODELS[k % len(MODELS)]
        moved = 140 if k % 50 == 7 else 0
        for entry in document["Entries"]:
            coefficients = entry["Record"]["CoeffX"]
            coefficients[0] = 40 + rng.randint(-8, 8) + moved
        text = json.dumps(document, separators=(",", ":"))
        with open(os.path.join(folder, "kiosk-%05d.json" % k), "w") as f:
            f.write(text)
        total += len(text)
    return total


def timed(command):
    before = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    seconds = time.perf_counter() - before
    if result.returncode != 0:
        sys.exit("%s failed (%d): %s" % (command[0], result.returncode, result.stderr.strip()))
    return seconds


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--kiosks", type=int, default=10000)
    parser.add_argument("--entries", type=int, default=20)
    parser.add_argument("--bin", default=os.path.join(ROOT, "build/native/tools"))
    parser.add_argument("--keep", help="generate the fleet here and keep it")
    args = parser.parse_args()
    history_tool = os.path.join(args.bin, "tarnix_history", "tarnix-history")
    fleet_tool = os.path.join(args.bin, "tarnix_fleet", "tarnix-fleet")
    scratch = args.keep or tempfile.mkdtemp(prefix="tarnix-fleet-bench-")
    try:
        document = template(history_tool, os.path.join(scratch, "history"), args.entries)
        exports = os.path.join(scratch, "exports")
        size = write_fleet(document, exports, args.kiosks)
        print("%d exports of %d entries: %.0f MB" % (args.kiosks, args.entries, size / 1e6))
        for kind in ("html", "json"):
            out = os.path.join(scratch, "fleet." + kind)
            command = [fleet_tool, exports, "--out", out] + (["--json"] if kind == "json" else [])
            seconds = timed(command)
            peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024.0
            print("tarnix-fleet %-4s  %6.2f s  peak so far %6.1f MB  report %5.1f MB"
                  % (kind, seconds, peak, os.path.getsize(out) / 1e6))
    finally:
        if not args.keep:
            shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
