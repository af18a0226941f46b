"""Verifying the calibration the driver holds (Tarnix.exe -V) under Wine at 1024 x 768 with the
stand-in's pointer source (this script presses each target as the program traces and shows it):
with no calibration known, a clear line and status 2; after a calibration, touches within the
requirement, status 0, a history entry of kind verification and nothing written to the driver;
after the stand-in's sensor moved, not within, status 1, and the screen's Calibrate starts a
calibration; and the window in the user's language and display scale."""

import json
import os
import re
import time
import unittest

import winebench
from pass_setup import (BACKGROUND, GRID_5X5, PassInstall, grid_targets, target, wait_for)

WIDTH, HEIGHT = 1024, 768
ACCEPT = (WIDTH // 2 - 40, HEIGHT // 2 + 92)
BUTTON_Y = HEIGHT // 2 + 76  # the verdict's buttons, 40 high, 56 below the centre
CLOSE_ALONE = (WIDTH // 2, BUTTON_Y)
CALIBRATE, CLOSE_BESIDE = (WIDTH // 2 - 90, BUTTON_Y), (WIDTH // 2 + 90, BUTTON_Y)
TITLE = "^Tarnix - Calibration$"
VERIFY_TITLE = "^Tarnix - Verification$"
WRITE = "QuvaIF_WriteCalibrationData("
PLAN = re.compile(r"verifying screen 0, history entry (\S+), at (\d+) places")
TARGET = re.compile(r"verification target (\d+) at x=(\d+) y=(\d+)")
SENTENCE = re.compile(r"Verified at (\d+) places: ([0-9., and]+) mm: (within|not within) the "
                      r"requirement \(bound ([0-9.]+) mm\)")
NOTHING = "No calibration of touch screen 0 is known: nothing to verify; calibrate it first"
# The moved sensor: OffsetX 14 -> 94 counts, 80 / (0.9 x 4095) of the 306.4 mm glass, 6.7 mm.
MOVED = "[Sensor]\nOffsetX=94\n"


def traces(proc):
    return "\n".join(proc.debug_strings())


class Verify(unittest.TestCase):
    def test_nothing_to_verify_then_within_then_moved(self):
        with winebench.WineBench("verify", screen=(WIDTH, HEIGHT)) as bench:
            inst = PassInstall(bench, cfg=GRID_5X5, source="pointer")
            bench.install(target("tarnix-history", "tools/tarnix_history/tarnix-history.exe"))
            self.nothing_to_verify(bench, inst)
            calibration = self.calibrate(bench, inst)
            self.within(bench, inst, calibration)
            self.moved(bench, inst, calibration)

    def test_the_window_in_the_users_language_and_display_scale(self):
        """With no calibration known, in French at 150 %: the window's title from the French
        library, its line broken to fit the screen, its Close button half as large again as at
        100 % (240 x 60 pixels)."""
        with winebench.WineBench("verify-french-scaled", screen=(WIDTH, HEIGHT)) as bench:
            inst = PassInstall(bench, cfg=GRID_5X5, source="pointer")
            bench.install(target("QuvaStrings_FRE", "resources/QuvaStrings_FRE.dll"))
            bench.reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", 144, kind="REG_DWORD")
            proc = inst.run(args=["-V"], env={"LC_ALL": "fr_FR.UTF-8"})
            window = bench.wait_window("^Tarnix - V")
            self.assertEqual("Tarnix - Vérification",
                             bench.x(["xdotool", "getwindowname", str(window)]).strip())
            self.assertTrue(wait_for(lambda: NOTHING in traces(proc), 10))  # traced in English
            middle = HEIGHT // 2 + 42 * 2 + 30  # the button's middle row at 150 %
            self.assertTrue(wait_for(lambda: inst.pixel(WIDTH // 2, middle) != BACKGROUND, 10))
            row = inst.pixels(WIDTH // 2 - 200, middle, 400, 1)
            drawn = sorted(dx for (dx, _), rgb in row.items() if rgb != BACKGROUND)
            self.assertAlmostEqual(240, drawn[-1] - drawn[0] + 1, delta=2)
            # The line, longer than the screen is wide at this scale, is broken to fit it.
            band = HEIGHT // 2 - 2 * 42, 3 * 42
            for x in (0, WIDTH - 8):
                edge = inst.pixels(x, band[0], 8, band[1]).values()
                self.assertEqual({BACKGROUND}, set(edge), "text cut at the edge x=%d" % x)
            bench.screenshot("nothing-to-verify-french-150")
            inst.touch((WIDTH // 2, middle))
            self.assertEqual(2, proc.wait(30))

    def history_tool(self, bench, inst, args):
        proc = bench.run(inst.folder + "/tarnix-history.exe", args, timeout=60,
                         capture_debug=False, cwd=inst.folder)
        self.assertEqual(0, proc.wait(60), proc.stderr())
        return proc.stdout().splitlines()

    def nothing_to_verify(self, bench, inst):
        proc = inst.run(args=["-V"])
        bench.wait_window(VERIFY_TITLE)
        self.assertTrue(wait_for(lambda: NOTHING in traces(proc), 10), traces(proc)[-2000:])
        self.assertTrue(wait_for(lambda: inst.pixel(*CLOSE_ALONE) != BACKGROUND, 10))
        bench.screenshot("nothing-to-verify")
        inst.touch(CLOSE_ALONE)
        self.assertEqual(2, proc.wait(30))
        self.assertEqual(0, inst.count_calls(WRITE))

    def calibrate(self, bench, inst):
        proc = inst.run(timeout=120)
        bench.wait_window(TITLE)
        for at in grid_targets(WIDTH, HEIGHT):
            self.assertTrue(inst.wait_target_shown(at, timeout=20), at)
            inst.touch(at)
        inst.press(ACCEPT)
        self.assertEqual(0, proc.wait(30))
        self.assertEqual(1, inst.count_calls(WRITE))
        return list(self.entries(bench))[0]

    def history_folder(self, bench):
        return bench.data_path("Zeph", "Touch", "History")

    def verify(self, bench, inst, name):
        """Runs Tarnix.exe -V, touches each target where it is traced once it shows, and returns
        the process, the places planned and the verdict traced (places, misses, verdict,
        bound)."""
        proc = inst.run(args=["-V"], timeout=120)
        bench.wait_window(VERIFY_TITLE)
        self.assertTrue(wait_for(lambda: PLAN.search(traces(proc)), 10), traces(proc)[-2000:])
        places = int(PLAN.search(traces(proc)).group(2))
        for k in range(1, places + 1):
            self.assertTrue(wait_for(lambda: len(TARGET.findall(traces(proc))) >= k, 20))
            number, x, y = TARGET.findall(traces(proc))[k - 1]
            self.assertEqual(k, int(number))
            self.assertTrue(inst.wait_target_shown((int(x), int(y)), timeout=10), (x, y))
            if k == 1:
                bench.screenshot(name + "-first-target")
            inst.touch((int(x), int(y)))
        self.assertTrue(wait_for(lambda: SENTENCE.search(traces(proc)), 20), traces(proc)[-2000:])
        verdict = SENTENCE.search(traces(proc))
        misses = [float(v) for v in re.split(r", | and ", verdict.group(2))]
        self.assertEqual(places, int(verdict.group(1)))
        self.assertEqual(places, len(misses))
        self.assertTrue(wait_for(lambda: inst.pixel(*CLOSE_ALONE) != BACKGROUND or
                                 inst.pixel(*CLOSE_BESIDE) != BACKGROUND, 10), "no verdict")
        bench.screenshot(name)
        return proc, places, misses, verdict.group(3), float(verdict.group(4))

    def entries(self, bench):
        folder = self.history_folder(bench)
        out = {}
        for name in sorted(os.listdir(folder)):
            if name.endswith(".cfg"):
                with open(os.path.join(folder, name), encoding="latin-1", newline="") as f:
                    out[name[:-4]] = f.read()
        return out

    def within(self, bench, inst, calibration):
        proc, places, misses, verdict, bound = self.verify(bench, inst, "within")
        self.assertGreaterEqual(places, 3)
        self.assertEqual("within", verdict)
        self.assertLess(max(misses), bound)
        self.assertTrue(PLAN.search(traces(proc)).group(1) == calibration)
        inst.press(CLOSE_ALONE)
        self.assertEqual(0, proc.wait(30))
        self.assertEqual(1, inst.count_calls(WRITE), "the verification wrote to the driver")
        entries = self.entries(bench)
        self.assertEqual(2, len(entries), list(entries))
        verification = [text for name, text in entries.items() if name != calibration][0]
        self.assertIn("\r\n; Kind: verification\r\n", verification)
        self.assertIn("\r\n; Verified entry: %s\r\n" % calibration, verification)
        for k, miss in enumerate(misses, start=1):
            kept = re.search(r"; Verify miss %d \(mm\): ([0-9.]+)" % k, verification)
            self.assertAlmostEqual(miss, float(kept.group(1)), delta=0.051)
        self.assertIn("; Within the requirement: yes", verification)
        rows = self.history_tool(bench, inst, ["list"])
        self.assertEqual(2, len(rows), rows)
        self.assertTrue(rows[0].startswith(calibration) and rows[0].endswith("  live"), rows)
        self.assertIn("verification of %s" % calibration, rows[1])
        self.assertFalse(rows[1].endswith("live"), rows)

    def moved(self, bench, inst, calibration):
        with open(os.path.join(inst.folder, "SimController.ini"), "a", newline="\r\n") as ini:
            ini.write(MOVED)
        proc, places, misses, verdict, bound = self.verify(bench, inst, "moved")
        self.assertEqual("not within", verdict)
        self.assertGreater(max(misses), bound)
        self.assertAlmostEqual(6.7, sum(misses) / len(misses), delta=2.0)
        self.assertTrue(wait_for(lambda: inst.pixel(*CALIBRATE) != BACKGROUND, 10))
        self.assertNotEqual(BACKGROUND, inst.pixel(*CLOSE_BESIDE))
        bench.screenshot("moved-offers-calibration")
        inst.touch(CALIBRATE)
        window = bench.wait_window(TITLE)  # a normal pass starts
        self.assertIn("a calibration follows", traces(proc))
        bench.key("Escape", window=window)
        self.assertEqual(1, proc.wait(30))
        self.assertEqual(1, inst.count_calls(WRITE))
        rows = self.history_tool(bench, inst, ["list"])
        self.assertEqual(3, len(rows), rows)
        self.assertTrue(rows[0].endswith("  live"), rows)  # still the calibration
        self.assertIn("not within", rows[2])
        # The export gives both verifications as such, the calibration's monitor, no drift.
        self.history_tool(bench, inst, ["export", "--out", "kiosk.json"])
        with open(os.path.join(inst.folder, "kiosk.json"), encoding="utf-8") as f:
            entries = json.load(f)["Entries"]
        self.assertEqual(["calibration", "verification", "verification"],
                         [e["Kind"] for e in entries])
        self.assertEqual([None, True, False], [e["Passed"] for e in entries])
        self.assertEqual([True, None, None], [e["Accepted"] for e in entries])  # nobody accepts one
        self.assertEqual([None, None], [e["DriftSinceFirst"]["Mm"] for e in entries[1:]])


if __name__ == "__main__":
    unittest.main()
