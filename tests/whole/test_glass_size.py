"""The glass size from the monitor under Wine at 1920 x 1080: the monitor's EDID (written where
Wine keeps it, the monitor device's "Device Parameters"; Wine under Xvfb has none of its own) says
1210 x 680 mm, a 55-inch panel.
The stand-in's script touches target 1 8 x 6 pixels off, the rest right, then target 1 again.
With GlassSize=Monitor that touch is 6 mm off on the glass and asked again, and the history entry
measures in the monitor's millimetres; with the file's 306.4 x 230.4 mm it is under 2 mm off and
kept; with GlassSize=Monitor and no EDID the file's size stands and the trace says so."""

import glob
import os
import re
import unittest

import winebench
from pass_setup import BACKGROUND, GRID_5X5, PassInstall, grid_targets, wait_for

RED = (255, 0, 0)

WIDTH, HEIGHT = 1920, 1080
TITLE = "^Tarnix - Calibration$"
ACCEPT = (WIDTH // 2 - 40, HEIGHT // 2 + 92)
TARGETS = grid_targets(WIDTH, HEIGHT)
DISPLAY_KEY = r"HKLM\System\CurrentControlSet\Enum\DISPLAY"
MONITOR_CFG = GRID_5X5 + "GlassSize=Monitor\n"


def edid_55_inch():
    """An EDID 1.4 base block: maker ABC, product 0x5B08, a 1210 x 680 mm preferred timing, the
    name "KIOSK 55" and the serial "SN-0042"."""
    b = bytearray(128)
    b[0:8] = bytes([0, 255, 255, 255, 255, 255, 255, 0])
    maker = 1 << 10 | 2 << 5 | 3
    b[8], b[9], b[10], b[11] = maker >> 8, maker & 255, 0x08, 0x5B
    b[18], b[19], b[21], b[22] = 1, 4, 121, 68
    timing = 54
    b[timing], b[timing + 1] = 0x02, 0x3A
    b[timing + 12], b[timing + 13] = 1210 & 255, 680 & 255
    b[timing + 14] = (1210 >> 8) << 4 | 680 >> 8
    for offset, tag, text in ((72, 0xFC, b"KIOSK 55\n    "), (90, 0xFF, b"SN-0042\n     ")):
        b[offset + 3] = tag
        b[offset + 5:offset + 18] = text
    b[127] = (256 - sum(b[:127]) % 256) % 256
    return bytes(b)


def monitor_parameter_keys(bench):
    """The "Device Parameters" keys of the monitors Wine lists. Wine writes them anew when the
    first program that uses the display starts: one does first, so that an EDID written
    afterwards stays while the wineserver runs."""
    bench.wine(["rundll32", "user32.dll,GetDesktopWindow"], timeout=60)
    code, out = bench.wine(["reg", "query", DISPLAY_KEY, "/s"], timeout=60)
    if code != 0:
        raise AssertionError("no monitor devices: " + out)
    return [line.strip() for line in out.splitlines()
            if line.startswith("HKEY_") and line.strip().endswith("\\Device Parameters")]


def script():
    (x, y) = TARGETS[0]
    rest = "".join("point 0 %d %d\n" % at for at in TARGETS[1:])
    return "point 0 %d %d\n" % (x + 8, y + 6) + rest + "point 0 %d %d\n" % (x, y)


def text_lines_above_buttons(inst):
    """The lines of red text the Finished screen shows above its buttons (bottom-aligned there):
    runs of screen rows with red in them."""
    left, top = WIDTH // 2 - 260, HEIGHT // 2 - 160
    box = inst.pixels(left, top, 520, 230)
    rows = sorted({y for (x, y), rgb in box.items() if rgb == RED})
    return sum(1 for i, y in enumerate(rows) if i == 0 or y != rows[i - 1] + 1)


def newest_entry_header(inst):
    """{name: value} of the header of the history entry written last."""
    entries = sorted(glob.glob(os.path.join(inst.reports(), "History", "*.cfg")),
                     key=os.path.getmtime)
    if not entries:
        raise AssertionError("no history entry")
    with open(entries[-1], encoding="latin-1") as f:
        return dict(re.findall(r"^; ([^:\r\n]+): ([^\r\n]*)", f.read(), re.M))


class GlassSize(unittest.TestCase):
    def calibrate(self, bench, cfg, log_name):
        """One accepted pass; (the trace, the new history entry's header, the lines of text
        above the Finished screen's buttons)."""
        inst = PassInstall(bench, cfg=cfg, source="script", script=script(), log_name=log_name)
        count = len(glob.glob(os.path.join(inst.reports(), "History", "*.cfg")))
        proc = inst.run(timeout=150)
        bench.wait_window(TITLE)
        self.assertTrue(wait_for(lambda: len(inst.history()) >= 1, 90), inst.calls()[-6:])
        self.assertTrue(wait_for(lambda: len(glob.glob(
            os.path.join(inst.reports(), "History", "*.cfg"))) > count, 20))
        self.assertTrue(wait_for(lambda: inst.pixel(*ACCEPT) != BACKGROUND, 20))
        self.assertTrue(wait_for(lambda: text_lines_above_buttons(inst) >= 2, 10))
        bench.screenshot(log_name + "-finished")
        lines = text_lines_above_buttons(inst)
        inst.press(ACCEPT)
        self.assertEqual(0, proc.wait(30))
        return "\n".join(proc.debug_strings()), newest_entry_header(inst), lines

    def test_the_monitors_edid_gives_the_millimetres(self):
        with winebench.WineBench("glass-size", screen=(WIDTH, HEIGHT)) as bench:
            keys = monitor_parameter_keys(bench)
            self.assertEqual(1, len(keys), keys)
            bench.reg_add(keys[0], "EDID", edid_55_inch().hex().upper(), kind="REG_BINARY")

            log, header, _ = self.calibrate(bench, MONITOR_CFG, "edid")
            self.assertIn("maker ABC, model KIOSK 55, 1210 x 680 mm: plausible", log)
            self.assertIn("measures on a glass of 1210.0 x 680.0 mm (monitor EDID)", log)
            self.assertEqual("1210.0 x 680.0 mm (monitor EDID)", header["Glass size"])
            self.assertEqual("ABC", header["Monitor maker"])
            self.assertEqual("KIOSK 55", header["Monitor model"])
            self.assertEqual("SN-0042", header["Monitor serial"])
            self.assertAlmostEqual(1210 / WIDTH, float(header["Millimetres per pixel across (mm)"]),
                                   places=4)
            self.assertEqual("1", header["Targets asked again (count)"])
            self.assertIn("is asked again", log)

            # The same monitor and touches, the file's glass: the touch off by 8 x 6 pixels is
            # under 2 mm off and kept.
            log, header, file_lines = self.calibrate(bench, GRID_5X5, "file")
            self.assertNotIn("EDID of monitor", log)
            self.assertEqual("306.4 x 230.4 mm (Tarnix.cfg)", header["Glass size"])
            self.assertNotIn("Monitor maker", header)
            self.assertAlmostEqual(306.4 / WIDTH,
                                   float(header["Millimetres per pixel across (mm)"]), places=4)
            self.assertEqual("0", header["Targets asked again (count)"])
            self.assertNotIn("is asked again", log)

            # GlassSize=Monitor and no EDID: the file's size stands and the trace says why.
            self.assertTrue(bench.reg_delete(keys[0], "EDID"))
            log, header, lines = self.calibrate(bench, MONITOR_CFG, "no-edid")
            self.assertIn("EDID of monitor 1: 0 bytes", log)
            self.assertIn(": no EDID", log)
            self.assertIn("measures on a glass of 306.4 x 230.4 mm (Tarnix.cfg)", log)
            self.assertEqual("306.4 x 230.4 mm (Tarnix.cfg)", header["Glass size"])
            self.assertEqual("0", header["Targets asked again (count)"])
            # The Finished screen says which glass its millimetres assume: one line more than
            # the same pass without the key shows (both under the drift since the pass before).
            self.assertEqual(file_lines + 1, lines)


if __name__ == "__main__":
    unittest.main()
