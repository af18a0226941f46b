"""The main job as a new user runs it on a fresh clone: scripts/calibrate headless from an empty
build folder (it configures and builds what it needs), the stand-in touching at a person's pace,
ending in a calibration record, its real error figures, the error map and the reports."""

import os
import re
import shutil
import subprocess
import unittest

SOURCE_DIR = os.environ["TARNIX_SOURCE_DIR"]
OUT_DIR = os.path.join(os.environ["TARNIX_ARTEFACT_DIR"], "calibrate")
EMPTY_BUILD_DIR = os.path.join(os.environ["TARNIX_ARTEFACT_DIR"], "build")
LIMIT_S = int(os.environ.get("TARNIX_TEST_TIMEOUT", "400")) - 20


class Calibrate(unittest.TestCase):
    def test_headless_run_ends_in_a_record_and_its_error_figures(self):
        shutil.rmtree(OUT_DIR, ignore_errors=True)
        shutil.rmtree(EMPTY_BUILD_DIR, ignore_errors=True)
        env = dict(os.environ, TARNIX_BUILD_DIR=EMPTY_BUILD_DIR)
        env.pop("DISPLAY", None)  # headless, as on a fresh machine without a desktop
        done = subprocess.run([os.path.join(SOURCE_DIR, "scripts", "calibrate"), "--out",
                               OUT_DIR], env=env, capture_output=True, text=True,
                              timeout=LIMIT_S, check=False)
        print(done.stdout)
        print(done.stderr)
        self.assertEqual(0, done.returncode, done.stderr[-2000:])
        self.assertNotIn("Traceback", done.stderr)
        self.assertIn("calibrate: configuring the win64 build", done.stderr)
        # The stand-in touches as a person would, and the run says so.
        self.assertIn("as a person would, 1 mm scatter per axis", done.stderr)
        for zone in ("inside hull", "whole area"):
            rms = re.search(zone + r": points \d+, RMS ([0-9.]+) px", done.stdout)
            self.assertIsNotNone(rms, zone)
            # A record fitted to the targets the stand-in touched is within a few pixels
            # everywhere; touches stored for the wrong targets put it tens of pixels off.
            self.assertLess(float(rms.group(1)), 12.0, zone)
        # The figures by zone in millimetres on the glass, pixels beside them, and the verdict.
        self.assertIn("panel: 344.2 x 193.6 mm", done.stdout)
        for zone in (r"inner area \(3.5 mm or more from every edge\)",
                     r"edge band \(within 3.5 mm of an edge\)"):
            figures = re.search(zone + r": points (\d+), RMS ([0-9.]+) mm \(([0-9.]+) px\), "
                                r"95th percentile [0-9.]+ mm \([0-9.]+ px\), worst ([0-9.]+) mm",
                                done.stdout)
            self.assertIsNotNone(figures, zone)
            points, rms_mm, rms_px, worst_mm = (float(v) for v in figures.groups())
            self.assertGreater(points, 0, zone)
            self.assertAlmostEqual(rms_mm, rms_px * 344.2 / 1920, delta=0.01 + 0.01 * rms_mm)
            # 1 mm of scatter leaves a millimetre or two; a grossly wrong record, tens.
            self.assertLess(worst_mm, 8.0, zone)
        self.assertRegex(done.stdout, r"requirement: inner area within \+/-1 mm (yes|NO) "
                                      r"\(worst [0-9.]+ mm\), edge band within \+/-2 mm (yes|NO)")
        with open(os.path.join(OUT_DIR, "CalibrationRecord.bin"), "rb") as f:
            self.assertEqual(1257, len(f.read()))
        with open(os.path.join(OUT_DIR, "CalibrationError.svg"), encoding="ascii") as f:
            self.assertIn("<svg", f.read())
        with open(os.path.join(OUT_DIR, "reports", "SvdFitOutputs.txt"), "rb") as f:
            self.assertIn(b"\r\n", f.read())
        shutil.rmtree(EMPTY_BUILD_DIR, ignore_errors=True)  # a whole build: keep only the results


if __name__ == "__main__":
    unittest.main()
