#!/usr/bin/env python3
"""Writes null.cur: a 32 x 32 monochrome cursor whose every pixel is transparent.

Usage: make_null_cursor.py [OUTPUT]   (default: null.cur beside this script)

Layout: the 6-byte cursor directory, one 16-byte entry (hot spot 0, 0), then the image as a
BITMAPINFOHEADER with doubled height, a two-colour table, the XOR mask (all 0) and the AND
mask (all 1): AND 1 with XOR 0 leaves the screen unchanged, so nothing is drawn.
"""
import os
import struct
import sys

SIZE = 32
ROW_BYTES = SIZE // 8  # one bit per pixel; 32 bits are already a multiple of four bytes


def null_cursor_bytes():
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 1, 0, 0, 0, 0, 2, 0)
    colours = struct.pack("<II", 0x00000000, 0x00FFFFFF)
    xor_mask = bytes(ROW_BYTES * SIZE)
    and_mask = b"\xff" * (ROW_BYTES * SIZE)
    image = header + colours + xor_mask + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 0, 0, len(image), 6 + 16)
    return directory + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "null.cur")
    with open(output, "wb") as f:
        f.write(null_cursor_bytes())


if __name__ == "__main__":
    main()
