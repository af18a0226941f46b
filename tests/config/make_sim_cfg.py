#!/usr/bin/env python3
"""Writes resources/examples/sim-5x5.cfg: simulated 12-bit touches of a mildly non-linear
resistive sensor at the 25 default targets of a 5 x 5 grid.

Sensor model, in screen coordinates centred on the middle (x, y from -0.5 to 0.5):
  rotate by ROTATION_DEG, then bow each axis harmonically by a few per cent
  (u += BOW_U * u * cos(pi * v), v += BOW_V * v * cos(pi * u)), then scale and offset to counts.
Run: python3 tests/config/make_sim_cfg.py > resources/examples/sim-5x5.cfg
"""
import math

ROTATION_DEG = 1.2
BOW_U, BOW_V = 0.03, 0.025
SCALE_V, SCALE_W = 3700.0, 3650.0
CENTRE_V, CENTRE_W = 2047.5 + 35.0, 2047.5 - 20.0


def raw_touch(x, y):
    t = math.radians(ROTATION_DEG)
    u = x * math.cos(t) - y * math.sin(t)
    v = x * math.sin(t) + y * math.cos(t)
    u, v = u + BOW_U * u * math.cos(math.pi * v), v + BOW_V * v * math.cos(math.pi * u)
    clamp = lambda c: max(0, min(4095, int(round(c))))
    return clamp(CENTRE_V + SCALE_V * u), clamp(CENTRE_W + SCALE_W * v)


def main():
    lines = [
        "; Simulated 5 x 5 calibration, order 3: touches of a resistive sensor with an offset,",
        "; a 1.2 degree rotation and a few per cent of harmonic bow (tests/config/make_sim_cfg.py).",
        "[TARNIX-APP]",
        "NumGridRows=5",
        "NumGridPoints=25",
        "FitModelCode=13",
        "Simulate=1",
    ]
    centres = [0.1, 0.3, 0.5, 0.7, 0.9]
    for i in range(25):
        v, w = raw_touch(centres[i % 5] - 0.5, centres[i // 5] - 0.5)
        lines.append("TouchGridX%02d=%d" % (i, v))
        lines.append("TouchGridY%02d=%d" % (i, w))
    print("\r\n".join(lines), end="\r\n")


if __name__ == "__main__":
    main()
