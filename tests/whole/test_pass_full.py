"""A whole calibration pass of Tarnix.exe under Wine, touched with xdotool clicks through the
stand-in's pointer source: the targets one after another, the fit, the record the driver got
(equal to tarnix-fit's from the same raw touches), the reports, the real error of the record
(simcontroller-check), button notifications other than a click changing nothing, and Accept
ending the run."""

import os
import re
import unittest

import winebench
from pass_setup import (BACKGROUND, BLACK, GRID_5X5, PassInstall, counts12, fit_fields,
                        grid_targets, record_ints, simulated_cfg, target, wait_for, winepath)

WIDTH, HEIGHT = 1920, 1080
TITLE = "Tarnix - Calibration"
ACCEPT_ID, RETRY_ID = 132, 133
# A button's notifications that are no click: focus gained, focus lost, double click.
NOT_CLICKS = {"BN_SETFOCUS": 6, "BN_KILLFOCUS": 7, "BN_DOUBLECLICKED": 5}


def button_row_changed(inst, y, x_from, x_to):
    """True when some pixel of the row segment is not the window's background."""
    return any(inst.pixel(x, y) != BACKGROUND for x in range(x_from, x_to, 6))


class FullPass(unittest.TestCase):
    def test_25_clicks_fit_commit_reports_and_accept(self):
        with winebench.WineBench("pass-full", screen=(WIDTH, HEIGHT)) as bench:
            inst = PassInstall(bench)
            proc = inst.run()
            bench.wait_window("^Tarnix - Calibration$")
            targets = grid_targets(WIDTH, HEIGHT)
            cx, cy = WIDTH // 2, HEIGHT // 2
            accept_row = cy + 80 + 12
            self.assertFalse(button_row_changed(inst, accept_row, cx - 60, cx - 20),
                             "buttons visible while collecting")
            for number, at in enumerate(targets, start=1):
                self.assertTrue(inst.wait_target_shown(at), "target %d not shown" % number)
                inst.touch(at)
                self.assertTrue(wait_for(lambda: len(inst.delivered()) >= number),
                                "touch %d not delivered" % number)
            self.assertTrue(wait_for(lambda: inst.record() is not None, 30), inst.calls()[-5:])
            # Each button is a window of its own, shown one after the other.
            self.assertTrue(wait_for(lambda: button_row_changed(inst, accept_row, cx - 60,
                                                                cx - 20), 10), "no Accept")
            self.assertTrue(wait_for(lambda: button_row_changed(inst, accept_row, cx + 20,
                                                                cx + 60), 10), "no Retry")
            bench.screenshot("pass-finished")
            self.assertNotEqual(BLACK, inst.pixel(*targets[-1]))

            record = inst.record()
            self.assertEqual(1257, len(record))
            # The commit: one write with byte 707 of the diagnostics, the screen enabled.
            self.assertEqual(1, inst.count_calls("QuvaIF_WriteCalibrationData(screen=0, byte=1)"))
            self.assertEqual(1, inst.count_calls("QuvaIF_EnableScreen(screen=0) = 1"))
            self.assertEqual(1, inst.count_calls("QuvaIF_SetVirtualFullScreen("))
            self.assertEqual([240, 135, 1680, 945, 1680, 135], record_ints(record, 1233, 6))
            self.assertEqual([WIDTH, HEIGHT], record_ints(record, 77, 2))

            # The same raw touches through tarnix-fit give exactly the same fit fields.
            raw = inst.delivered()
            self.assertEqual(25, len(raw))
            tool_record = inst.fit_with_tool(simulated_cfg(GRID_5X5, counts12(raw)),
                                             (WIDTH, HEIGHT),
                                             os.path.join(bench.work_dir, "tool.bin"))
            self.assertEqual(fit_fields(tool_record), fit_fields(record))
            self.assertNotEqual(bytes(160), record[109:269], "no coefficients")

            for name in ("SvdFitInputs.txt", "SvdFitOutputs.txt", "Coefficients.txt"):
                path = os.path.join(inst.reports(), name)
                self.assertTrue(os.path.exists(path), name)
                self.assertGreater(os.path.getsize(path), 0, name)

            trace = "\n".join(proc.debug_strings())
            self.assertIn("QuvaIntf.dll: WriteCalibrationData(): Calibration WindowsMon#=1 "
                          "MonitorSize(X,Y)=(1920,1080) MonitorLocn(X,Y)=(0,0)", trace)
            self.assertIn("Calibration Target=1 WindowsLocn(X,Y)=(1680,945) "
                          "QuvaLocn(X,Y)=(57344,57344)", trace)
            self.assertIn("GetTouchThreadProc(): ScreenNumber=0 TouchTargetCnt=25", trace)

            self.check_other_notifications_change_nothing(bench, inst, proc, accept_row)

            # Accept: one touch screen, so the run ends.
            accept = (cx - 40, accept_row)
            bench.click(*bench.to_x(*accept))
            self.assertEqual(0, proc.wait(20))
            self.assertEqual(1, inst.count_calls("QuvaIF_WriteCalibrationData("))

            # The closed loop: the real error of the saved record against the sensor model.
            figures = run_check(bench, inst)
            print(figures)
            inside = re.search(r"inside hull: points \d+, RMS ([\d.]+) px, 95th percentile "
                               r"[\d.]+ px, maximum ([\d.]+) px", figures)
            self.assertIsNotNone(inside, figures)
            self.assertLessEqual(float(inside.group(1)), 0.5)
            self.assertLessEqual(float(inside.group(2)), 1.5)

    def check_other_notifications_change_nothing(self, bench, inst, proc, accept_row):
        """WM_COMMAND from Accept and Retry with each notification that is no click: the
        Finished screen stays (its buttons, no further pass or write, the run going on)."""
        tool = target("other_program_tool", "tests/whole/other_program_tool.exe")
        passes = inst.count_calls("QuvaIF_GetFirstCalTouch() waiting")
        for button in (ACCEPT_ID, RETRY_ID):
            for name, code in NOT_CLICKS.items():
                sent = bench.wine([tool, "notify", TITLE, str(button), str(code)])[0]
                self.assertEqual(0, sent, "%s of button %d not sent" % (name, button))
        self.assertFalse(wait_for(lambda: not proc.running(), 2.0), "the run ended")
        self.assertEqual(passes, inst.count_calls("QuvaIF_GetFirstCalTouch() waiting"))
        self.assertEqual(1, inst.count_calls("QuvaIF_WriteCalibrationData("))
        cx = WIDTH // 2
        self.assertTrue(button_row_changed(inst, accept_row, cx - 60, cx - 20), "no Accept")
        self.assertTrue(button_row_changed(inst, accept_row, cx + 20, cx + 60), "no Retry")


def run_check(bench, inst):
    """simcontroller-check (the Windows build, under Wine) on the saved record."""
    check = target("simcontroller-check", "simcontroller/simcontroller-check.exe")
    record = os.path.join(inst.log_folder, "CalibrationData-0.bin")
    out_svg = os.path.join(bench.artefact_dir, "pass-error.svg")
    proc = bench.run(check, [winepath(record), "--svg", winepath(out_svg)],
                     timeout=60, capture_debug=False)
    code = proc.wait(60)
    if code != 0:
        raise AssertionError("simcontroller-check failed: " + proc.stderr())
    return proc.stdout()


if __name__ == "__main__":
    unittest.main()
