"""The fleet report as a browser draws it: a fleet of eight kiosks of one monitor model, three with
a shifted sensor, exported by tarnix-history and reported by tarnix-fleet; headless Chromium's DOM
lists the three first with their finding, and its screenshot shows their rows marked and a drift
chart in every row. Skipped (status 77) when chromium is not installed."""

import os
import re
import shutil
import struct
import subprocess
import sys
import unittest

HISTORY = os.environ.get("TARNIX_HISTORY", "")
FLEET = os.environ.get("TARNIX_FLEET", "")
WORK = os.environ.get("TARNIX_PAGE_WORK", "/tmp/tarnix-fleet-page")
CHROMIUM = shutil.which("chromium") or shutil.which("chromium-browser")
SHIFTED = {"kiosk-3", "kiosk-5", "kiosk-8"}
FINDING = "the sensor or its mounting differs from its siblings"
CHART = (0x1F, 0x6F, 0xD1)  # the drift chart's line
DIFFERS = (0xFD, 0xE2, 0xE1)  # the background of a differing kiosk's row
SIZE = (1600, 1000)


def record(shift, jitter):
    """A 1920 x 1080 record, nearly linear with a little bow, moved across by shift counts."""
    r = bytearray(1257)
    struct.pack_into("<i", r, 69, 1)
    struct.pack_into("<2i", r, 77, 1920, 1080)
    struct.pack_into("<10i", r, 109, 40 + shift + jitter, 18000, 120, 300, -200, 150, 900, 0,
                     400, 0)
    struct.pack_into("<10i", r, 269, -60 - jitter, -90, 18500, 100, 250, -300, 0, 500, 0, 700)
    struct.pack_into("<i", r, 429, 1)
    struct.pack_into("<i", r, 445, 3)
    struct.pack_into("<2i", r, 449, 2047, 4095)
    return bytes(r)


def write_history(folder, shifted, jitter):
    """Three calibrations; a shifted kiosk's sensor moved 140 counts (4 mm) before the last."""
    os.makedirs(folder)
    for day in (1, 2, 3):
        name = os.path.join(folder, "2026110%d-100000-s0" % day)
        with open(name + ".bin", "wb") as f:
            f.write(record(140 if shifted and day == 3 else 0, jitter))
        with open(name + ".cfg", "w", newline="\r\n") as f:
            f.write("; Date: 2026-11-0%d 10:00:00\n; Sequence: %d\n; Expected error (mm): 0.4\n"
                    "; Monitor maker: ABC\n; Monitor model: T22\n"
                    "; Glass size: 476.6 x 268.1 mm (monitor EDID)\n"
                    "[TARNIX-APP]\nScreenWidth=476.6\nScreenHeight=268.1\n" % (day, day))


def colour_rows(rgb, width, colour):
    """The pixel rows of the raw RGB picture that hold a pixel of the colour."""
    stride, needle, rows = width * 3, bytes(colour), []
    for y in range(len(rgb) // stride):
        line = rgb[y * stride:(y + 1) * stride]
        at = line.find(needle)
        while at >= 0 and at % 3:
            at = line.find(needle, at + 1)
        if at >= 0:
            rows.append(y)
    return rows


def bands(rows):
    """Runs of consecutive row numbers, as (first, last)."""
    out = []
    for y in rows:
        if out and y == out[-1][1] + 1:
            out[-1] = (out[-1][0], y)
        else:
            out.append((y, y))
    return out


class FleetPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(WORK, ignore_errors=True)
        exports = os.path.join(WORK, "exports")
        os.makedirs(exports)
        for n in range(1, 9):
            name = "kiosk-%d" % n
            write_history(os.path.join(WORK, name), name in SHIFTED, (n * 5) % 11 - 5)
            subprocess.run([HISTORY, "export", "--folder", os.path.join(WORK, name), "--machine",
                            name, "--out", os.path.join(exports, name + ".json")], check=True)
        cls.page = os.path.join(WORK, "fleet.html")
        subprocess.run([FLEET, exports, "--out", cls.page], check=True)

    def chromium(self, *args):
        return subprocess.run([CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu",
                               "--hide-scrollbars", "--window-size=%d,%d" % SIZE] + list(args) +
                              ["file://" + self.page], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, text=True, timeout=120)

    def test_the_dom_lists_the_shifted_kiosks_first_with_their_finding(self):
        dom = self.chromium("--dump-dom").stdout
        rows = re.findall(r"<tr[^>]*>(.*?)</tr>", dom, re.S)
        kiosks = [row for row in rows if "kiosk-" in row]
        self.assertEqual(8, len(kiosks), dom)
        first = {re.search(r"kiosk-\d", row).group(0) for row in kiosks[:3]}
        self.assertEqual(SHIFTED, first)
        self.assertTrue(all(FINDING in row for row in kiosks[:3]))
        self.assertFalse(any(FINDING in row for row in kiosks[3:]))
        self.assertEqual(8, dom.count("<polyline"))
        self.assertIn("8 kiosks, 3 differing", dom)

    def test_the_screenshot_shows_the_marked_rows_and_a_chart_in_each_row(self):
        shot = os.path.join(WORK, "fleet.png")
        self.chromium("--screenshot=" + shot)
        self.assertTrue(os.path.exists(shot), "no screenshot")
        rgb = subprocess.run(["convert", shot, "-depth", "8", "rgb:-"], check=True,
                             stdout=subprocess.PIPE).stdout
        self.assertEqual(SIZE[0] * SIZE[1] * 3, len(rgb))
        charts = bands(colour_rows(rgb, SIZE[0], CHART))
        marked = bands(colour_rows(rgb, SIZE[0], DIFFERS))
        self.assertEqual(8, len(charts), charts)  # one chart a kiosk, each in a row of its own
        self.assertEqual(3, len(marked), marked)  # the three marked rows, first, each a chart
        for row, chart in zip(marked, charts):
            self.assertLessEqual(row[0], chart[0])
            self.assertGreaterEqual(row[1], chart[1])
        self.assertLess(marked[-1][1], charts[3][0])


if __name__ == "__main__":
    if not CHROMIUM:
        print("fleet_page skipped: chromium is not installed (Debian package chromium)")
        sys.exit(77)
    unittest.main()
