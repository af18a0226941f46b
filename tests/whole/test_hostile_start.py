"""Tarnix.exe under Wine given what a kiosk may meet: a "QuvaVideo.txt" of 1 x 1 pixel modes, and a
second copy started while the first calibrates, which the mutex refuses."""

import time
import unittest

import winebench
from pass_setup import wait_for
from test_window_areas import areas, end
from test_window_drawing import BLACK, wait_for_target
from window_setup import Installation, has_trace, traces

TEAR_DOWN = ("QuvaIF_DisableTouch", "QuvaIF_AcquireTalksetLock", "QuvaIF_CloseDeviceHandles",
             "QuvaIF_FlushControllerTalksetBuffer", "QuvaIF_GetTouchState")


class TilingLimit(unittest.TestCase):
    def test_one_by_one_modes_leave_one_area_with_its_first_target(self):
        with winebench.WineBench("tiles-1x1", screen=(1920, 1080)) as bench:
            inst = Installation(bench, video="1,1\n")
            proc = inst.run()
            window = bench.wait_window("^Tarnix - Calibration$")
            image = wait_for_target(bench, "first-target", 192, 108, 42)
            self.assertEqual(image.pixel(192, 108), BLACK)  # target 1 of 5 x 5 at (0.1, 0.1)
            self.assertEqual(bench.window_geometry(window), (0, 0, 1920, 1080))
            self.assertEqual(end(bench, proc, window), 0)
            self.assertEqual(areas(proc), [(1, 0, 0, 1920, 1080)])
            self.assertTrue(has_trace(proc, "video mode 1x1 passed over"), traces(proc)[:30])


class SecondCopy(unittest.TestCase):
    def test_refused_copy_beeps_traces_and_leaves_driver_and_neighbours_alone(self):
        with winebench.WineBench("second-copy") as bench:
            inst = Installation(bench)
            first = inst.run()
            window = bench.wait_window("^Tarnix - Calibration$")
            self.assertTrue(wait_for(lambda: any("QuvaIF_GetFirstCalTouch() waiting" in c
                                                 for c in inst.calls()), 20))
            before = len(inst.calls())
            scheme = bench.reg_query(r"HKCU\Control Panel\Cursors", "(Default)")
            self.assertIn("Quva", str(scheme))  # the first copy has hidden the cursors
            dkmon_starts = sum("start: waiting" in c for c in inst.dkmon_log())
            second = inst.run()
            self.assertEqual(second.wait(30), 0)
            self.assertTrue(first.running())
            self.assertTrue(has_trace(second, "Tarnix.exe: another copy is running. Exit."))
            self.assertFalse(has_trace(second, "Flush controller Talkset buffer!"))
            self.assertFalse(has_trace(second, "EnumSysMonitors()"))
            # The first copy waits in its touch call: every new line is the second copy's.
            calls = inst.calls()[before:]
            self.assertTrue(any("QuvaIF_MakeBeep(frequency=2000, duration=500)" in c
                                for c in calls), calls)
            beep = next(i for i, c in enumerate(calls) if "frequency=2000" in c)
            self.assertEqual([c for c in calls[beep + 1:] if "QuvaIF_" in c], [])
            self.assertEqual([c for c in calls if any(t in c for t in TEAR_DOWN)], [])
            time.sleep(1.0)
            self.assertEqual(sum("start: waiting" in c for c in inst.dkmon_log()), dkmon_starts)
            self.assertEqual(bench.reg_query(r"HKCU\Control Panel\Cursors", "(Default)"), scheme)
            bench.key("Escape", window=window)
            self.assertEqual(first.wait(20), 0)
            self.assertTrue(any("QuvaIF_CloseDeviceHandles" in c
                                for c in inst.calls()[before:]))  # the first copy's own end


if __name__ == "__main__":
    unittest.main()
