#!/usr/bin/env python3
"""Draws the window's pictures as 16-colour files: the Accept and Retry button bitmaps (65 x 56)
and the window icon (32 x 32). Run it from anywhere; it writes beside itself."""
import math
import os
import struct

# The standard 16-colour palette (index: (r, g, b)).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, DARK_GREEN, DARK_BLUE, LIGHT_GREY, GREY, RED, GREEN, WHITE = 0, 2, 4, 7, 8, 9, 10, 15


def canvas(width, height, colour):
    return [[colour] * width for _ in range(height)]


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def stroke(pixels, points, half_width, colour):
    """A polyline of the given half width."""
    for y, row in enumerate(pixels):
        for x in range(len(row)):
            if any(segment_distance(x + 0.5, y + 0.5, *points[i], *points[i + 1]) <= half_width
                   for i in range(len(points) - 1)):
                row[x] = colour


def fill_triangle(pixels, a, b, c, colour):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    for y, row in enumerate(pixels):
        for x in range(len(row)):
            p = (x + 0.5, y + 0.5)
            d1, d2, d3 = side(p, a, b), side(p, b, c), side(p, c, a)
            if not ((d1 < 0 or d2 < 0 or d3 < 0) and (d1 > 0 or d2 > 0 or d3 > 0)):
                row[x] = colour


def accept_picture():
    pixels = canvas(65, 56, LIGHT_GREY)
    stroke(pixels, [(15, 29), (27, 42), (51, 13)], 4.5, DARK_GREEN)
    stroke(pixels, [(15, 29), (27, 42), (51, 13)], 2.5, GREEN)
    return pixels


def retry_picture():
    pixels = canvas(65, 56, LIGHT_GREY)
    centre_x, centre_y, radius = 40, 27, 12
    arc = [(centre_x + radius * math.sin(a), centre_y - radius * math.cos(a))
           for a in (math.pi * k / 12 for k in range(13))]
    path = [(14, centre_y - radius)] + arc + [(24, centre_y + radius)]
    stroke(pixels, path, 3.0, DARK_BLUE)
    tip_y = centre_y + radius
    fill_triangle(pixels, (9, tip_y), (25, tip_y - 10), (25, tip_y + 10), DARK_BLUE)
    return pixels


def icon_picture():
    pixels = canvas(32, 32, LIGHT_GREY)
    for y in range(32):
        for x in range(32):
            r = math.hypot(x + 0.5 - 16, y + 0.5 - 16)
            if r <= 15:
                pixels[y][x] = WHITE
            if 13.5 <= r <= 15 or 9 <= r <= 10.5 or 4.5 <= r <= 6:
                pixels[y][x] = RED
    stroke(pixels, [(16, 3), (16, 29)], 1.0, BLACK)
    stroke(pixels, [(3, 16), (29, 16)], 1.0, BLACK)
    return pixels


def packed_rows(pixels):
    """Bottom-up rows of 4-bit indices, each padded to a multiple of 4 bytes."""
    rows = []
    for row in reversed(pixels):
        data = bytearray()
        for x in range(0, len(row), 2):
            high = row[x]
            low = row[x + 1] if x + 1 < len(row) else 0
            data.append(high << 4 | low)
        while len(data) % 4:
            data.append(0)
        rows.append(bytes(data))
    return b"".join(rows)


def info_header(width, height, image_bytes):
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_bytes, 2835, 2835,
                       16, 16) + palette


def bitmap_file(pixels):
    image = packed_rows(pixels)
    header = info_header(len(pixels[0]), len(pixels), len(image))
    offset = 14 + len(header)
    return struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset) + header + image


def icon_file(pixels):
    width, height = len(pixels[0]), len(pixels)
    image = packed_rows(pixels)
    mask_row = ((width + 31) // 32) * 4
    mask = bytes(mask_row * height)  # every pixel opaque
    body = info_header(width, height * 2, len(image) + len(mask)) + image + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width, height, 16, 0, 1, 4, len(body), 6 + 16)
    return directory + entry + body


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outputs = {"accept.bmp": bitmap_file(accept_picture()),
               "retry.bmp": bitmap_file(retry_picture()),
               "tarnix.ico": icon_file(icon_picture())}
    for name, data in outputs.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
