"""The system cursors around real runs of Tarnix.exe under Wine, read back with `reg query`:
hidden while a pass collects touches, the user's own back when the pass has its fit and when the
run ends, and a run killed in the middle of a pass put right by the next run."""

import unittest

import winebench
from pass_setup import PassInstall, grid_targets, wait_for

CURSORS = r"HKCU\Control Panel\Cursors"
SAVED = CURSORS + r"\LastScheme"
TITLE = "^Tarnix - Calibration$"
USER_ARROW = r"C:\Users\Public\arrow_user.cur"


def point_script(points):
    return "".join("point 0 %d %d\n" % p for p in points)


class CursorsDuringRuns(unittest.TestCase):
    def user_values(self, bench):
        bench.reg_add(CURSORS, "(Default)", "Windows Default")
        bench.reg_add(CURSORS, "Arrow", USER_ARROW)

    def scheme(self, bench):
        value = bench.reg_query(CURSORS, "(Default)")
        return value[1] if value else None

    def assert_user_values_back(self, bench):
        self.assertEqual("Windows Default", self.scheme(bench))
        self.assertEqual(("REG_SZ", USER_ARROW), bench.reg_query(CURSORS, "Arrow"))

    def test_hidden_while_collecting_restored_after_the_fit_and_at_the_end(self):
        with winebench.WineBench("cursor-run") as bench:
            self.user_values(bench)
            inst = PassInstall(bench, source="script",
                               # Target 1 touched at the corner is asked again at the end.
                               script="point 0 5 5 delay=1500\n" +
                               point_script(grid_targets(1024, 768)[1:] +
                                            grid_targets(1024, 768)[:1]))
            proc = inst.run()
            bench.wait_window(TITLE)
            self.assertTrue(wait_for(lambda: self.scheme(bench) == "Quva", 15))
            saved = bench.reg_query(SAVED)
            self.assertEqual(("REG_SZ", USER_ARROW), saved.get("Arrow"))
            arrow = bench.reg_query(CURSORS, "Arrow")
            self.assertTrue(arrow[1].lower().endswith(r"\cursors\null.cur"), arrow)
            # After the last touch the fit is shown with the user's cursors.
            self.assertTrue(wait_for(lambda: inst.record() is not None, 40))
            self.assertTrue(wait_for(lambda: self.scheme(bench) == "Windows Default", 15))
            self.assert_user_values_back(bench)
            bench.key("Escape", window=bench.wait_window(TITLE))
            self.assertEqual(0, proc.wait(20))
            self.assert_user_values_back(bench)

    def test_a_run_killed_mid_pass_is_restored_by_the_next_run(self):
        with winebench.WineBench("cursor-killed") as bench:
            self.user_values(bench)
            inst = PassInstall(bench)
            proc = inst.run()
            bench.wait_window(TITLE)
            self.assertTrue(wait_for(lambda: self.scheme(bench) == "Quva", 15))
            proc.kill()
            self.assertTrue(wait_for(lambda: not bench.find_windows(TITLE), 15))
            self.assertEqual("Quva", self.scheme(bench))
            self.assertIsNotNone(bench.reg_query(SAVED))
            again = inst.run()
            window = bench.wait_window(TITLE)
            self.assertEqual("Quva", self.scheme(bench))
            bench.key("Escape", window=window)
            self.assertEqual(0, again.wait(20))
            self.assert_user_values_back(bench)


if __name__ == "__main__":
    unittest.main()
