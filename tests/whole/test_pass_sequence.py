"""How Tarnix.exe moves through its passes under Wine with the stand-in controller: mini targets,
a redo request after the last touch, Retry, Accept on an area already calibrated, a second monitor
touched on the first one's sensor, Esc with one and with two monitors, Enter, the countdown
running out, a refused fit, simulated touches, a cancelled first touch and a type '7'
controller."""

import os
import time
import unittest

import winebench
from pass_setup import (BACKGROUND, GRID_5X5, SOURCE_DIR, PassInstall, fit_fields, grid_targets,
                        mini_targets, record_ints, target, wait_for)

WIDTH, HEIGHT = 1024, 768
CENTRE = (WIDTH // 2, HEIGHT // 2)
ACCEPT = (CENTRE[0] - 40, CENTRE[1] + 92)
RETRY = (CENTRE[0] + 40, CENTRE[1] + 92)
TITLE = "^Tarnix - Calibration$"


def point_script(points, screen=0):
    return "".join("point %d %d %d\n" % (screen, x, y) for x, y in points)


def traces(proc):
    return "\n".join(proc.debug_strings())


class Sequence(unittest.TestCase):
    def run_script(self, bench, script, cfg=GRID_5X5, sim_extra="", env=None, exe=None,
                   screens=1):
        inst = PassInstall(bench, cfg=cfg, source="script", script=script, sim_extra=sim_extra,
                           exe=exe, screens=screens)
        proc = inst.run(env=env)
        bench.wait_window(TITLE)
        return inst, proc

    def test_mini_targets_2_and_5_are_shown_after_the_grid(self):
        cfg = GRID_5X5 + "InfluenceRadius2=0.03\nInfluenceRadius5=0.03\n"
        with winebench.WineBench("pass-mini") as bench:
            inst = PassInstall(bench, cfg=cfg)
            proc = inst.run()
            bench.wait_window(TITLE)
            minis = mini_targets(WIDTH, HEIGHT)
            shown = grid_targets(WIDTH, HEIGHT) + [minis[1], minis[4]]
            for number, at in enumerate(shown, start=1):
                self.assertTrue(inst.wait_target_shown(at), "target %d not shown" % number)
                if number == 26:
                    bench.screenshot("mini-target-27")
                inst.touch(at)
                self.assertTrue(wait_for(lambda: len(inst.delivered()) >= number))
            self.assertTrue(wait_for(lambda: inst.record() is not None, 30))
            self.assertEqual(27, len(inst.delivered()))
            log = traces(proc)
            self.assertIn("GetTouchThreadProc(): ScreenNumber=0 TouchTargetCnt=27", log)
            self.assertNotIn("TouchTargetCnt=28", log)
            inst.press(ACCEPT)
            self.assertEqual(0, proc.wait(20))

    def test_redo_after_the_last_touch_fits_and_commits_again(self):
        script = point_script(grid_targets(WIDTH, HEIGHT)) + "redo 0 delay=300\npoint 0 5 5\n"
        with winebench.WineBench("pass-redo") as bench:
            inst, proc = self.run_script(bench, script)
            self.assertTrue(wait_for(lambda: len(inst.history()) >= 2, 40), inst.calls()[-8:])
            first, second = inst.history()[:2]
            self.assertEqual(fit_fields(first), fit_fields(second))
            self.assertEqual(1, inst.count_calls("QuvaIF_ReDoCalTouch(screen=0) = 1"))
            inst.press(ACCEPT)
            self.assertEqual(0, proc.wait(20))
            self.assertEqual(2, len(inst.history()))

    def test_retry_restarts_the_area_and_commits_its_new_touches(self):
        points = grid_targets(WIDTH, HEIGHT)
        shifted = [(x + 3, y + 2) for x, y in points]
        with winebench.WineBench("pass-retry") as bench:
            inst, proc = self.run_script(bench, point_script(points) + point_script(shifted))
            self.assertTrue(wait_for(lambda: len(inst.history()) == 1, 30))
            self.assertTrue(wait_for(lambda: inst.pixel(*ACCEPT) != BACKGROUND, 10))
            inst.press(RETRY)
            self.assertTrue(wait_for(lambda: len(inst.history()) == 2, 30), inst.calls()[-8:])
            first, second = inst.history()
            self.assertNotEqual(fit_fields(first), fit_fields(second))
            self.assertEqual(2, inst.count_calls("QuvaIF_GetFirstCalTouch() waiting"))
            inst.press(ACCEPT)
            self.assertEqual(0, proc.wait(20))

    def test_accept_on_a_calibrated_area_appends_a_copy(self):
        points = grid_targets(WIDTH, HEIGHT)
        with winebench.WineBench("pass-accept-copy") as bench:
            inst, proc = self.run_script(bench, point_script(points) * 2, screens=2,
                                         sim_extra="[Screen1]\nMonitor=1\n")
            for accepted in (1, 2):
                self.assertTrue(wait_for(lambda: len(inst.history()) == accepted, 30))
                self.assertTrue(wait_for(lambda: inst.pixel(*ACCEPT) != BACKGROUND, 10))
                inst.press(ACCEPT)
                self.assertTrue(wait_for(lambda: "accepted %d of 2" % accepted in traces(proc)))
            self.assertEqual(0, proc.wait(20))
            log = traces(proc)
            self.assertIn("Tarnix.exe: accepted 1 of 2 touch screens; 1 areas", log)
            self.assertIn("Tarnix.exe: accepted 2 of 2 touch screens; 2 areas", log)

    def test_a_second_monitor_touched_on_the_first_ones_sensor_is_said_before_accept(self):
        """Two monitors, two touch screens: the second monitor's targets touched on the first
        monitor's sensor where they would lie on it, as a person touching the wrong monitor
        does. The first pass says that touch screen 0 is calibrated for the first time, on one
        of two monitors; the second, which puts it on monitor 2, says so before Accept."""
        first = grid_targets(WIDTH, HEIGHT)  # monitor 1, the primary, at the origin
        second = [(x * WIDTH // 800, y * HEIGHT // 600) for x, y in grid_targets(800, 600)]
        with winebench.WineBench("pass-wrong-monitor", two_monitors=True) as bench:
            inst, proc = self.run_script(bench, point_script(first) + point_script(second),
                                         screens=2)
            if "System reported Monitors = 1" in traces(proc):
                self.skipTest("Wine reports one monitor on the bench's two-monitor X server")
            self.assertTrue(wait_for(lambda: len(inst.history()) == 1, 40), inst.calls()[-5:])
            self.assertIn("area of monitor 1: left 0 top 0 width 1024 height 768", traces(proc))
            first_time = ("touch screen 0 is calibrated for the first time, for monitor 1 "
                          "(1024x768 at (0,0)), one of several areas")
            self.assertTrue(wait_for(lambda: first_time in traces(proc), 10))
            self.assertTrue(wait_for(lambda: inst.pixel(*ACCEPT) != BACKGROUND, 10))
            bench.screenshot("first-of-two-monitors-finished")
            inst.press(ACCEPT)
            self.assertTrue(wait_for(lambda: len(inst.history()) == 2, 40), inst.calls()[-5:])
            moved = ("touch screen 0 was calibrated for monitor 1 (1024x768 at (0,0)) until now; "
                     "this pass puts it on monitor 2 (800x600 at (-800,0))")
            self.assertTrue(wait_for(lambda: moved in traces(proc), 10), traces(proc)[-3000:])
            accept = (-800 + 400 - 40, 300 + 92)
            self.assertTrue(wait_for(lambda: inst.pixel(*accept) != BACKGROUND, 10))
            bench.screenshot("wrong-monitor-finished")
            self.assertEqual([0, 0], [record_ints(r, 21, 1)[0] for r in inst.history()])
            self.assertEqual([1, 2], [record_ints(r, 69, 1)[0] for r in inst.history()])
            inst.press(accept)
            self.assertEqual(0, proc.wait(20))

    def test_countdown_shows_and_esc_with_one_monitor_ends_the_run(self):
        with winebench.WineBench("pass-esc") as bench:
            inst = PassInstall(bench)
            proc = inst.run()
            window = bench.wait_window(TITLE)
            self.assertTrue(inst.wait_target_shown(grid_targets(WIDTH, HEIGHT)[0]))
            # The countdown (text 428) in red in the bottom band, once a second has passed.
            band = lambda: inst.pixels(CENTRE[0] - 100, HEIGHT - 60, 200, 20).values()
            self.assertTrue(wait_for(lambda: (255, 0, 0) in band(), 5))
            bench.key("Escape", window=window)
            self.assertEqual(0, proc.wait(20))
            self.assertIsNone(inst.record())

    def test_two_monitors_first_esc_moves_on_second_ends(self):
        with winebench.WineBench("pass-two-monitors", two_monitors=True) as bench:
            inst = PassInstall(bench)
            proc = inst.run()
            window = bench.wait_window(TITLE)
            self.assertTrue(wait_for(lambda: inst.count_calls("GetFirstCalTouch() waiting") == 1))
            if "System reported Monitors = 1" in traces(proc):
                self.skipTest("Wine reports one monitor on the bench's two-monitor X server")
            before = bench.window_geometry(window)
            bench.key("Escape", window=window)
            self.assertTrue(wait_for(lambda: inst.count_calls("GetFirstCalTouch() waiting") == 2))
            self.assertTrue(wait_for(lambda: bench.window_geometry(window) != before, 10))
            after = bench.window_geometry(window)
            self.assertEqual({before[2:], after[2:]}, {(800, 600), (1024, 768)})
            self.assertTrue(proc.running())
            bench.key("Escape", window=window)
            self.assertEqual(0, proc.wait(20))

    def test_countdown_expiry_ends_the_pass(self):
        exe = target("TarnixTestSettings", "tests/whole/TarnixTestSettings.exe")
        with winebench.WineBench("pass-countdown") as bench:
            inst, proc = self.run_script(bench, "", exe=exe, env={"TARNIX_TEST_COUNTDOWN": "2"})
            self.assertEqual(0, proc.wait(20))
            self.assertIsNone(inst.record())
            self.assertGreaterEqual(inst.count_calls("QuvaIF_ClearAllGetPoint("), 1)

    def test_refused_fit_writes_nothing_and_offers_retry_only(self):
        cfg = GRID_5X5.replace("FitModelCode=13", "FitModelCode=33") + "Nxside=1\nNyside=1\n"
        with winebench.WineBench("pass-refused") as bench:
            inst, proc = self.run_script(bench, point_script(grid_targets(WIDTH, HEIGHT)),
                                         cfg=cfg)
            self.assertTrue(wait_for(lambda: "refused the pass" in traces(proc), 30))
            self.assertTrue(wait_for(lambda: inst.pixel(*RETRY) != BACKGROUND, 10))
            self.assertEqual(BACKGROUND, inst.pixel(*ACCEPT))
            bench.screenshot("fit-refused")
            self.assertEqual(0, inst.count_calls("QuvaIF_WriteCalibrationData("))
            self.assertEqual(0, inst.count_calls("QuvaIF_SetVirtualFullScreen("))
            self.assertEqual(0, inst.count_calls("QuvaIF_EnableScreen("))
            inst.press(RETRY)
            self.assertTrue(wait_for(lambda: inst.count_calls("GetFirstCalTouch() waiting") == 2))
            bench.key("Escape", window=bench.wait_window(TITLE))
            self.assertEqual(0, proc.wait(20))

    def test_simulated_touches_after_the_first_real_one(self):
        with open(os.path.join(SOURCE_DIR, "resources", "examples", "sim-5x5.cfg")) as f:
            cfg = f.read()
        with winebench.WineBench("pass-simulated") as bench:
            inst, proc = self.run_script(bench, "point 0 100 80\n", cfg=cfg)
            started = time.monotonic()
            self.assertTrue(wait_for(lambda: inst.record() is not None, 40))
            # 24 simulated touches at their 500 ms pace follow the one real touch.
            self.assertGreater(time.monotonic() - started, 24 * 0.5 - 1.0)
            self.assertEqual(1, len(inst.delivered()))
            tool = inst.fit_with_tool(cfg, (WIDTH, HEIGHT),
                                      os.path.join(bench.work_dir, "simulated.bin"))
            self.assertEqual(fit_fields(tool), fit_fields(inst.record()))
            inst.press(ACCEPT)
            self.assertEqual(0, proc.wait(20))

    def test_enter_ends_the_run_without_the_end_routine(self):
        with winebench.WineBench("pass-enter") as bench:
            inst, proc = self.run_script(bench, "")
            self.assertTrue(wait_for(lambda: inst.count_calls("GetFirstCalTouch() waiting") == 1))
            bench.key("Return", window=bench.wait_window(TITLE))
            self.assertEqual(0, proc.wait(20))
            self.assertEqual(0, inst.count_calls("QuvaIF_GetMonitorCount("))
            self.assertGreaterEqual(inst.count_calls("QuvaIF_CloseDeviceHandles("), 1)

    def test_cancelled_first_touch_beeps_and_runs_the_end_routine(self):
        with winebench.WineBench("pass-cancelled") as bench:
            inst, proc = self.run_script(bench, "cancel delay=300\n")
            self.assertEqual(0, proc.wait(20))
            self.assertEqual(1, inst.count_calls("QuvaIF_MakeBeep(frequency=1000, duration=100)"))
            self.assertIsNone(inst.record())

    def test_type_7_controller_writes_a_record_without_fit(self):
        with winebench.WineBench("pass-type-7") as bench:
            inst, proc = self.run_script(
                bench, "point 0 102 76\n",
                sim_extra="ControllerType=7\nDiagnosticsWord4=3\nCalibrationByte=9\n")
            self.assertTrue(wait_for(lambda: inst.record() is not None, 30))
            record = inst.record()
            self.assertEqual(bytes(1161 - 109), record[109:1161])
            self.assertEqual([8191, 8191, 57344, 57344, 57344, 8191], record_ints(record, 1209, 6))
            # The stand-in logs the call once the record file is written.
            self.assertTrue(wait_for(lambda: inst.count_calls(
                "QuvaIF_WriteCalibrationData(screen=0, byte=9)") == 1, 10))
            # The touch thread traces its exit after the commit.
            self.assertTrue(wait_for(lambda: "GetTouchThreadProc(): Exit get target thread"
                                     in traces(proc), 10), traces(proc))
            inst.press(ACCEPT)
            self.assertEqual(0, proc.wait(20))


if __name__ == "__main__":
    unittest.main()
