#!/usr/bin/env python3
"""Times tarnix-fit reading and fitting large simulated configurations and prints one line per
run: grid points, model code, seconds (best of REPEAT runs) and peak memory.

    bench/tools/tarnix_fit_large.py [TARNIX_FIT] [--repeat N]

TARNIX_FIT defaults to build/native/tools/tarnix_fit/tarnix-fit. Reports go to a scratch folder
that is removed afterwards. Goals on the project's 2-core machine: 2,500 points under 2 s and
10,000 points under 10 s, and every run under 100 MB.
"""
import argparse
import math
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
RUNS = [(50, 50, 13), (100, 100, 13), (50, 50, 43), (100, 100, 43)]


def raw_touch(x, y):
    """A mildly rotated and bowed 12-bit sensor, as the example configurations use."""
    t = math.radians(1.2)
    u = (x - 0.5) * math.cos(t) - (y - 0.5) * math.sin(t)
    v = (x - 0.5) * math.sin(t) + (y - 0.5) * math.cos(t)
    u, v = u + 0.03 * u * math.cos(math.pi * v), v + 0.025 * v * math.cos(math.pi * u)
    return 2082.5 + 3700.0 * u, 2027.5 + 3650.0 * v


def write_config(path, rows, columns, code):
    lines = ["[TARNIX-APP]", f"NumGridRows={rows}", f"NumGridPoints={rows * columns}",
             f"FitModelCode={code}", "Simulate=1"]
    for row in range(rows):
        for col in range(columns):
            n = row * columns + col
            v, w = raw_touch((col + 0.5) / columns, (row + 0.5) / rows)
            lines += [f"TouchGridX{n:02d}={v:.3f}", f"TouchGridY{n:02d}={w:.3f}"]
    with open(path, "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


def run_once(tool, cfg, reports):
    before = time.perf_counter()
    result = subprocess.run([tool, "--config", cfg, "--reports", reports],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    seconds = time.perf_counter() - before
    if result.returncode != 0:
        sys.exit(f"tarnix-fit failed ({result.returncode}): {result.stderr.strip()}")
    return seconds


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("tool", nargs="?",
                        default=os.path.join(ROOT, "build/native/tools/tarnix_fit/tarnix-fit"))
    parser.add_argument("--repeat", type=int, default=3)
    args = parser.parse_args()
    scratch = tempfile.mkdtemp(prefix="tarnix-fit-bench-")
    try:
        for rows, columns, code in RUNS:
            cfg = os.path.join(scratch, f"grid-{rows}x{columns}-{code}.cfg")
            write_config(cfg, rows, columns, code)
            reports = os.path.join(scratch, "reports")
            best = math.inf
            for _ in range(args.repeat):
                shutil.rmtree(reports, ignore_errors=True)
                best = min(best, run_once(args.tool, cfg, reports))
            peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024.0
            size = os.path.getsize(cfg) / 1e6
            print(f"{rows * columns:6d} points  FitModelCode={code}  cfg {size:4.2f} MB  "
                  f"{best:6.3f} s  peak so far {peak:5.1f} MB")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
