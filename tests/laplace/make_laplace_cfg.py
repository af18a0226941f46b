#!/usr/bin/env python3
"""Writes resources/examples/sim-5x5-laplace.cfg: a symmetric Laplace calibration (model kind 4,
final polynomial order 3) of simulated 12-bit touches at the 25 default targets of a 5 x 5 grid.

Sensor model, in screen coordinates centred on the middle (x, y from -0.5 to 0.5): rotate by
ROTATION_DEG, then bow each axis harmonically by a few per cent
(u += BOW_U * u * cos(pi * v), v += BOW_V * v * cos(pi * u)), then scale and offset to counts.
Run: python3 tests/laplace/make_laplace_cfg.py > resources/examples/sim-5x5-laplace.cfg
"""
import math

ROTATION_DEG = 1.5
BOW_U, BOW_V = 0.035, 0.03
SCALE_V, SCALE_W = 3720.0, 3660.0
CENTRE_V, CENTRE_W = 2047.5 + 40.0, 2047.5 - 25.0


def raw_touch(x, y):
    t = math.radians(ROTATION_DEG)
    u = x * math.cos(t) - y * math.sin(t)
    v = x * math.sin(t) + y * math.cos(t)
    u, v = u + BOW_U * u * math.cos(math.pi * v), v + BOW_V * v * math.cos(math.pi * u)
    clamp = lambda c: max(0, min(4095, int(round(c))))
    return clamp(CENTRE_V + SCALE_V * u), clamp(CENTRE_W + SCALE_W * v)


def main():
    lines = [
        "; Simulated 5 x 5 calibration with the symmetric Laplace model (kind 4) and a final",
        "; polynomial of order 3 on the default 9 x 9 virtual grid: touches of a resistive sensor",
        "; with an offset, a 1.5 degree rotation and a few per cent of harmonic bow",
        "; (tests/laplace/make_laplace_cfg.py).",
        "[TARNIX-APP]",
        "NumGridRows=5",
        "NumGridPoints=25",
        "FitModelCode=43",
        "Nxside=9",
        "Nyside=9",
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
