"""The calibration window's pictures under Wine, checked by pixels: the first grid target of a
1920 x 1080 area, the background, the instruction text, the countdown on the first frame after the
window was painted anew, and a mini target of a 330-twip caption.
The screenshots stay in the test's artefact folder."""

import math
import time
import unittest

import winebench
from pass_setup import target
from window_setup import Installation

BACKGROUND = (140, 215, 242)
RED = (255, 0, 0)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
REPAINTS = 8  # the countdown's own tick redraws it once a second: each repaint is one chance


def wait_for_target(bench, name, cx, cy, arm, timeout=20.0):
    """A screenshot with the whole target at (cx, cy) on it, once it shows after its dwell. Wine
    may put a drawing on the screen stroke by stroke: the rings come first, then the cross's
    vertical arm (which blackens the centre), its horizontal arm last. Before the window's first
    frame reaches the screen all of it is black: the background beside the target's square says
    the window is there."""
    deadline = time.monotonic() + timeout
    while True:
        image = bench.image(bench.screenshot(name))
        drawn = (image.pixel(cx, cy) == BLACK and image.pixel(cx + arm - 1, cy) == BLACK
                 and image.pixel(cx + arm + 2, cy + arm + 2) == BACKGROUND)
        if drawn or time.monotonic() > deadline:
            return image
        time.sleep(0.2)


class TargetPixels:
    """Checks of a drawn target: red rings at the given radii on white, a black cross."""

    def assert_rings(self, image, cx, cy, radii, size):
        # Along four rays 3 pixels beside the cross arms: red within a pixel and a half of each
        # ring, white halfway between rings, background outside the target square.
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            ox, oy = (0, 3) if dx else (3, 0)
            def at(r):
                return image.pixel(cx + ox + dx * r, cy + oy + dy * r)
            def near_red(q):
                return any(at(r) == RED for r in range(0, size)
                           if abs(math.hypot(ox + dx * r, oy + dy * r) - q) <= 1.5)
            for q in radii:
                self.assertTrue(near_red(q), "no red ring of radius %d on ray %r" % (q, (dx, dy)))
            rings = sorted(radii)
            for inner, outer in zip(rings, rings[1:]):
                mid = (inner + outer) // 2
                r = int(round(math.sqrt(max(mid * mid - 9, 0))))
                self.assertEqual(at(r), WHITE, "between rings %d and %d" % (inner, outer))
            self.assertEqual(at(size // 2 + 3), BACKGROUND)

    def assert_cross(self, image, cx, cy, arm):
        for d in range(-arm + 1, arm):
            self.assertEqual(image.pixel(cx + d, cy), BLACK)
            self.assertEqual(image.pixel(cx, cy + d), BLACK)


class FirstTarget(unittest.TestCase, TargetPixels):
    def test_first_grid_target_on_a_1920_by_1080_area(self):
        with winebench.WineBench("drawing-first-target", screen=(1920, 1080)) as bench:
            inst = Installation(bench)
            proc = inst.run()
            window = bench.wait_window("^Tarnix - Calibration$")
            image = wait_for_target(bench, "first-target", 192, 108, 42)
            self.check_countdown_after_repaints(bench)
            bench.key("Escape", window=window)
            self.assertEqual(proc.wait(20), 0)

            self.assertEqual(image.pixel(192, 108), BLACK)  # the centre of the cross
            self.assert_rings(image, 192, 108, (44, 32, 21, 10), 90)
            self.assert_cross(image, 192, 108, 42)
            self.assertEqual(image.pixel(192 + 48, 108), BACKGROUND)
            for x, y in ((5, 5), (1900, 1060), (960, 300), (600, 900)):
                self.assertEqual(image.pixel(x, y), BACKGROUND)
            # The instruction text: red pixels in the band just below cy + 60, none above it.
            text_band = [image.pixel(x, y) for y in range(600, 620) for x in range(700, 1220)]
            self.assertGreater(text_band.count(RED), 50)
            above = [image.pixel(x, y) for y in range(560, 600) for x in range(700, 1220)]
            self.assertEqual(above.count(RED), 0)

    def check_countdown_after_repaints(self, bench):
        """The countdown's band (the bottom 60 pixels) shows red text in the first frame after
        each complete repaint, before the next tick of the countdown could draw it."""
        tool = target("other_program_tool", "tests/whole/other_program_tool.exe")
        for round_number in range(REPAINTS):
            self.assertEqual(0, bench.wine([tool, "repaint", "Tarnix - Calibration"])[0])
            image = bench.image(bench.screenshot("repainted-%d" % round_number))
            band = [image.pixel(x, y) for y in range(1020, 1060) for x in range(760, 1160)]
            self.assertGreater(band.count(RED), 20, "no countdown after repaint %d" % round_number)


class MiniTarget(unittest.TestCase, TargetPixels):
    def test_mini_target_of_22_pixels_for_a_caption_of_330_twips(self):
        # Order 1 on a 2 x 2 grid with mini target 1 enabled: after the four grid targets the
        # fifth target is mini slot 0, at (0.98625, 0.018333) of the area = (1893, 19).
        cfg = ("[TARNIX-APP]\nNumGridRows=2\nNumGridPoints=4\nFitModelCode=11\n"
               "InfluenceRadius1=0.01\n")
        with winebench.WineBench("drawing-mini-target", screen=(1920, 1080)) as bench:
            inst = Installation(bench, cfg=cfg)
            bench.reg_add(r"HKCU\Control Panel\Desktop\WindowMetrics", "CaptionHeight", "-330")
            proc = inst.run()
            window = bench.wait_window("^Tarnix - Calibration$")
            for n, (x, y) in enumerate(((480, 270), (1440, 270), (480, 810), (1440, 810))):
                wait_for_target(bench, "grid-%d" % (n + 1), x, y, 42)
                time.sleep(0.2)  # a person's reaction: sooner touches are dropped as bounces
                bench.click(x, y)
            image = wait_for_target(bench, "mini-target", 1893, 19, 8)
            bench.key("Escape", window=window)
            self.assertEqual(proc.wait(20), 0)
            self.assertEqual(image.pixel(1893, 19), BLACK)
            self.assert_rings(image, 1893, 19, (10, 4), 22)
            self.assert_cross(image, 1893, 19, 8)
            self.assertEqual(image.pixel(480, 270), BACKGROUND)  # the grid target is gone


if __name__ == "__main__":
    unittest.main()
