"""Tarnix.exe at display scales other than 100 %: the same scripted pass at 96 DPI, and started at
144 DPI (Wine's LogPixels) then told of a change to 192 DPI while pushed off its area. The window
covers the screen exactly, the first target is drawn pixel for pixel the same, the record is the
same, while the text and the Accept and Retry buttons grow with the scale. A scale change after a
refused fit keeps the buttons of that state: Retry alone."""

import time
import unittest

import winebench
from pass_setup import BACKGROUND, GRID_5X5, PassInstall, grid_targets, target, wait_for

SIZE = (1024, 768)
TITLE = "Tarnix - Calibration"
TARGETS = grid_targets(*SIZE)
SCRIPT = ("point 0 %d %d delay=4000\n" % TARGETS[0] +
          "".join("point 0 %d %d\n" % t for t in TARGETS[1:]))
RED = (255, 0, 0)
# The stand-in's touches scatter by about 0.1 mm: a bound far below refuses the pass.
REFUSED_CFG = GRID_5X5 + "MaxTouchScatter=0.01\n"


def scaled(pixels, dpi):
    return pixels * dpi // 96


class Run:
    """What one pass showed and wrote."""

    def __init__(self, start_dpi, change_to=None):
        self.dpi = change_to or start_dpi
        with winebench.WineBench("window-scale-%d" % self.dpi, screen=SIZE) as bench:
            inst = PassInstall(bench, source="script", script=SCRIPT)
            bench.reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", start_dpi,
                          kind="REG_DWORD")
            self.look(bench, inst, change_to)

    def look(self, bench, inst, change_to):
        proc = inst.run(timeout=90)
        window = bench.wait_window("^%s$" % TITLE)
        self.first_shown = inst.wait_target_shown(TARGETS[0])
        if change_to:
            tool = target("dpi_change_tool", "tests/whole/dpi_change_tool.exe")
            self.told = bench.wine([tool, TITLE, str(change_to)])[0] == 0
            self.first_shown = self.first_shown and inst.wait_target_shown(TARGETS[0])
        self.geometry = bench.window_geometry(window)
        x, y = TARGETS[0]
        self.target_box = inst.pixels(x - 40, y - 40, 81, 81)
        self.record = inst.record() if wait_for(lambda: inst.record() is not None, 40) else None
        cx, cy = SIZE[0] // 2, SIZE[1] // 2
        wait_for(lambda: inst.pixel(cx - scaled(20, self.dpi),
                                    cy + scaled(100, self.dpi)) != BACKGROUND, 10)
        self.text_rows, self.accept_width = settled(lambda: self.result_figures(inst))
        bench.screenshot("finished-at-%d-dpi" % self.dpi)
        bench.key("Escape", window=window)
        self.exit_code = proc.wait(20)

    def result_figures(self, inst):
        """The rows of result text between the centre and the buttons, and the width of what is
        drawn on a row across the Accept button."""
        cx, cy = SIZE[0] // 2, SIZE[1] // 2
        text = inst.pixels(0, cy + scaled(50, self.dpi), SIZE[0], scaled(30, self.dpi))
        rows = len({y for (x, y), rgb in text.items() if rgb == RED})
        row = inst.pixels(0, cy + scaled(110, self.dpi), cx, 1)
        return rows, sum(1 for rgb in row.values() if rgb != BACKGROUND)


def settled(read, timeout=10.0):
    """What read() gives once two reads 0.3 s apart agree: the finished state's text and buttons
    are drawn window by window, and Wine may show each one stroke by stroke."""
    deadline = time.monotonic() + timeout
    last = read()
    while True:
        time.sleep(0.3)
        now = read()
        if now == last or time.monotonic() > deadline:
            return now
        last = now


def button_widths(inst, dpi):
    """The widths of what is drawn on the row across the buttons, left (Accept) and right (Retry)
    of the centre."""
    cx, cy = SIZE[0] // 2, SIZE[1] // 2
    row = inst.pixels(0, cy + scaled(110, dpi), SIZE[0], 1)
    left = sum(1 for (x, _), rgb in row.items() if x < cx and rgb != BACKGROUND)
    right = sum(1 for (x, _), rgb in row.items() if x >= cx and rgb != BACKGROUND)
    return left, right


class DisplayScale(unittest.TestCase):
    def test_targets_area_and_record_stay_in_pixels_text_and_buttons_scale(self):
        normal = Run(96)
        changed = Run(144, change_to=192)
        self.assertTrue(changed.told, "the window was not found")
        for run in (normal, changed):
            self.assertTrue(run.first_shown)
            self.assertEqual((0, 0) + SIZE, run.geometry)
            self.assertEqual(1257, len(run.record or b""))
            self.assertEqual(0, run.exit_code)
        self.assertEqual(normal.target_box, changed.target_box)
        self.assertEqual(normal.record, changed.record)
        self.assertGreater(normal.text_rows, 0)
        self.assertGreater(normal.accept_width, 0)
        self.assertGreaterEqual(changed.text_rows, 1.6 * normal.text_rows)
        self.assertGreaterEqual(changed.accept_width, 1.8 * normal.accept_width)

    def test_a_scale_change_after_a_refused_fit_keeps_retry_alone(self):
        with winebench.WineBench("window-scale-refused", screen=SIZE) as bench:
            inst = PassInstall(bench, cfg=REFUSED_CFG, source="script", script=SCRIPT)
            bench.reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", 144, kind="REG_DWORD")
            proc = inst.run(timeout=90)
            window = bench.wait_window("^%s$" % TITLE)
            # Buttons only once every touch is in: until then a target's rings cross their row.
            self.assertTrue(wait_for(lambda: len(inst.delivered()) >= len(TARGETS), 60))
            self.assertTrue(wait_for(lambda: button_widths(inst, 144)[1] > 0, 40), "no Retry")
            accept, retry_before = settled(lambda: button_widths(inst, 144))
            bench.screenshot("refused-at-144-dpi")
            self.assertEqual(0, accept)
            tool = target("dpi_change_tool", "tests/whole/dpi_change_tool.exe")
            self.assertEqual(0, bench.wine([tool, TITLE, "192"])[0])
            self.assertTrue(wait_for(lambda: button_widths(inst, 192)[1] > 0, 10), "no Retry")
            bench.screenshot("refused-at-192-dpi")
            accept, retry = settled(lambda: button_widths(inst, 192))
            self.assertEqual(0, accept)
            self.assertGreaterEqual(retry, 1.2 * retry_before)
            self.assertIsNone(inst.record())
            bench.key("Escape", window=window)
            self.assertEqual(0, proc.wait(20))


if __name__ == "__main__":
    unittest.main()
