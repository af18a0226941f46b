"""Screen areas of Tarnix.exe under Wine: two monitors (Xorg dummy driver), the -N / -S options,
and the tiling of a 1920 x 1080 monitor by "QuvaVideo.txt"."""

import re
import time
import unittest

import winebench
from pass_setup import wait_for
from window_setup import Installation, has_trace, traces

AREA = re.compile(r"area of monitor (\d+): left (-?\d+) top (-?\d+) width (\d+) height (\d+)")


def areas(proc):
    return [tuple(int(v) for v in m.groups()) for m in map(AREA.search, traces(proc)) if m]


def end(bench, proc, window, areas=1):
    """Esc once per area still to visit (each Esc ends a pass and moves the window to the next
    area, where the next Esc is sent once it has arrived)."""
    def moved():
        try:
            return not proc.running() or bench.window_geometry(window) != left
        except winebench.BenchError:  # the window is gone: the run is ending
            return True

    for n in range(areas):
        if n:
            wait_for(moved, 20)
        left = bench.window_geometry(window)
        if proc.running():
            bench.key("Escape")
    return proc.wait(20)


class TwoMonitors(unittest.TestCase):
    def test_one_area_per_monitor_and_the_window_on_the_first(self):
        with winebench.WineBench("two-monitors", two_monitors=True) as bench:
            inst = Installation(bench, screens=2)
            self.assertIn("Monitors: 2", bench.x(["xrandr", "--listactivemonitors"]))
            proc = inst.run()
            window = bench.wait_window("^Tarnix - Calibration$")
            time.sleep(0.5)
            geometry = bench.window_geometry(window)
            self.assertEqual(end(bench, proc, window, areas=2), 0)
            found = areas(proc)
            self.assertTrue(has_trace(proc, "System reported Monitors = 2"))
            self.assertEqual(len(found), 2)
            self.assertEqual(sorted(found, key=lambda a: a[0]),
                             [(1, found[0][1], found[0][2], found[0][3], found[0][4]),
                              (2, found[1][1], found[1][2], found[1][3], found[1][4])])
            # The primary 1024 x 768 at the desktop's origin, the 800 x 600 to its left.
            self.assertEqual({a[1:] for a in found}, {(0, 0, 1024, 768), (-800, 0, 800, 600)})
            first = found[0]
            x, y = bench.to_x(first[1], first[2])
            self.assertEqual(geometry, (x, y, first[3], first[4]))
            self.assertTrue(has_trace(proc, "calibrating monitor 1 (screen index -1)"))

    def test_monitor_and_screen_options_take_monitor_2(self):
        with winebench.WineBench("option-n2-s0", two_monitors=True) as bench:
            inst = Installation(bench, screens=2)
            self.assertIn("Monitors: 2", bench.x(["xrandr", "--listactivemonitors"]))
            proc = inst.run(args=["-N", "2", "-S", "0"])
            window = bench.wait_window("^Tarnix - Calibration$")
            time.sleep(0.5)
            geometry = bench.window_geometry(window)
            self.assertEqual(end(bench, proc, window), 0)
            second = [a for a in areas(proc) if a[0] == 2][0]
            x, y = bench.to_x(second[1], second[2])
            self.assertEqual(geometry, (x, y, second[3], second[4]))
            self.assertTrue(has_trace(proc, "calibrating monitor 2 (screen index 0)"))
            calls = inst.calls()
            self.assertTrue(any("GetScreenCntForMonitor(monitor=2)" in c or
                                "GetScreenCntForMonitor(2)" in c for c in calls), calls[:20])

    def test_monitor_number_out_of_range_takes_the_last_area(self):
        with winebench.WineBench("option-n9", two_monitors=True) as bench:
            inst = Installation(bench, screens=2)
            self.assertIn("Monitors: 2", bench.x(["xrandr", "--listactivemonitors"]))
            proc = inst.run(args=["-N", "9"])
            window = bench.wait_window("^Tarnix - Calibration$")
            time.sleep(0.5)
            geometry = bench.window_geometry(window)
            self.assertEqual(end(bench, proc, window), 0)
            last = areas(proc)[-1]
            self.assertEqual(geometry, bench.to_x(last[1], last[2]) + (last[3], last[4]))


class Tiling(unittest.TestCase):
    def run_tiled(self, name, video):
        with winebench.WineBench(name, screen=(1920, 1080)) as bench:
            inst = Installation(bench, video=video)
            proc = inst.run()
            window = bench.wait_window("^Tarnix - Calibration$")
            time.sleep(0.5)
            geometry = bench.window_geometry(window)
            self.assertEqual(end(bench, proc, window), 0)
            return areas(proc), geometry

    def test_video_list_960_by_540_gives_four_areas(self):
        found, geometry = self.run_tiled("tiles-960x540", "960,540\n")
        self.assertEqual(found, [(1, 0, 0, 960, 540), (1, 960, 0, 960, 540),
                                 (1, 0, 540, 960, 540), (1, 960, 540, 960, 540)])
        self.assertEqual(geometry, (0, 0, 960, 540))

    def test_first_pair_0_0_and_bad_lines_select_the_built_in_list(self):
        found, _ = self.run_tiled("tiles-zero", "0,0\n960,540\n")
        self.assertEqual(found, [(1, 0, 0, 1920, 1080)])
        found, _ = self.run_tiled("tiles-bad", "nonsense\n960,540\n")
        self.assertEqual(found, [(1, 0, 0, 1920, 1080)])


if __name__ == "__main__":
    unittest.main()
