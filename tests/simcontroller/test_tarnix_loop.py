"""Whole-program test of the closed loop: Tarnix.exe calibrates through the stand-in with a
script of screen points at its 25 default targets, the stand-in stores the record, and
simcontroller-check measures the record's real error against the sensor model."""
import os
import re
import time
import unittest

import winebench

PROGRAMS = [winebench.target_file(t) for t in
            ("Tarnix", "simcontroller_dll", "QuvaDkMon", "QuvaStrings_ENG", "simcontroller-check")]
DEFAULTS = os.path.join(winebench.SOURCE_DIR, "resources", "defaults")


def wait_for(predicate, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(0.2)
    return False


class TarnixLoop(unittest.TestCase):
    def test_a_scripted_pass_gives_a_record_with_sub_pixel_error(self):
        with winebench.WineBench(name="sim-tarnix-loop") as bench:
            folder = bench.install(PROGRAMS + [os.path.join(DEFAULTS, f) for f in
                                               ("Tarnix.cfg", "QuvaOptions.ini", "QuvaVideo.txt")])
            # The default 5 x 5 grid on the 1024 x 768 screen: cell centres, in pixels.
            # A person's reaction: a touch sooner than 150 ms after its target appears is dropped.
            points = ["point 0 %d %d delay=200" % (int((c + 0.5) / 5 * 1024), int((r + 0.5) / 5 * 768))
                      for r in range(5) for c in range(5)]
            bench.write_file(os.path.join(folder, "SimTouches.txt"), "\n".join(points) + "\n")
            bench.write_file(os.path.join(folder, "SimController.ini"),
                             "[SimController]\nTouchSource=script\n")
            tarnix = bench.run(bench.program_path("Tarnix.exe"), timeout=120)
            log = bench.data_path("Zeph", "Touch", "SimController")
            record = os.path.join(log, "CalibrationData-0.bin")
            self.assertTrue(wait_for(lambda: os.path.exists(record), 60),
                            "no record; Tarnix output:\n" + tarnix.stderr()[-2000:])
            tarnix.kill()
            with open(os.path.join(log, "Touches.log"), encoding="ascii") as f:
                self.assertEqual(25, sum("delivered" in line for line in f))
            with open(record, "rb") as f:
                self.assertEqual(1257, len(f.read()))

            check = bench.run(bench.program_path("simcontroller-check.exe"),
                              ["C:\\ProgramData\\Zeph\\Touch\\SimController\\CalibrationData-0.bin",
                               "--settings", "C:\\Program Files\\Zeph\\Touch\\SimController.ini"],
                              timeout=60, capture_debug=False)
            self.assertEqual(0, check.wait(60), check.stdout() + check.stderr())
            out = check.stdout()
            print(out)
            inside = re.search(r"inside hull: points \d+, RMS ([0-9.]+) px", out)
            self.assertIsNotNone(inside, out)
            # Order 3 on the mildly bowed default sensor: well under a pixel and a half.
            self.assertLess(float(inside.group(1)), 1.5)
            self.assertTrue(os.path.exists(record + ".svg"))


if __name__ == "__main__":
    unittest.main()
