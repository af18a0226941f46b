"""Cursor hiding across processes, checked with `reg query`: each step runs in a process of its
own (cursor_state_tool), one of them killed while the cursors are hidden."""

import os
import unittest

from winebench import SOURCE_DIR, WineBench, target_file

USER = r"HKCU\Control Panel\Cursors"
SAVED = r"HKCU\Control Panel\Cursors\LastScheme"
SCHEMES = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Control Panel\Cursors\Schemes"
NULL_CURSOR = os.path.join(SOURCE_DIR, "resources", "cursors", "null.cur")
NULL_IN_CURSORS = r"c:\windows\cursors\null.cur"
ROWS = ["Arrow", "AppStarting", "Wait", "Crosshair", "IBeam", "No", "SizeNS", "SizeWE",
        "SizeNWSE", "SizeNESW", "SizeAll", "UpArrow", "Hand"]


class CursorRegistry(unittest.TestCase):
    def setUp(self):
        self.bench = WineBench(name="cursor-registry-" + self._testMethodName)
        self.bench.__enter__()
        self.addCleanup(self.bench.__exit__, None, None, None)
        self.bench.install(NULL_CURSOR)
        self.tool = target_file("cursor_state_tool")

    def step(self, command, expected_exit=0):
        proc = self.bench.run(self.tool, [command], timeout=60, capture_debug=False)
        self.assertEqual(proc.wait(60), expected_exit, command)

    def user_scheme(self):
        b = self.bench
        b.reg_add(USER, "(Default)", "Windows Standard")
        b.reg_add(USER, "Scheme Source", "2", kind="REG_DWORD")
        b.reg_add(USER, "Arrow", r"%SystemRoot%\cursors\arrow_user.cur", kind="REG_EXPAND_SZ")
        b.reg_add(USER, "AppStarting", r"%SystemRoot%\cursors\busy_user.ani")
        b.reg_add(USER, "Wait", r"%SystemRoot%\cursors\wait_user.ani")
        b.reg_add(USER, "Hand", r"D:\mine\hand.cur")
        return b.reg_query(USER)

    def three_entry_list(self):
        self.bench.reg_add(SCHEMES, "Quva",
                           r"%SystemRoot%\cursors\null.cur,,%SystemRoot%\cursors\null.cur")

    def test_hide_twice_restore_twice(self):
        self.three_entry_list()
        user = self.user_scheme()
        self.step("hide")
        hidden = self.bench.reg_query(USER)
        self.assertEqual(self.bench.reg_query(SAVED), user)
        self.assertEqual(hidden["(Default)"], ("REG_SZ", "Quva"))
        self.assertEqual(hidden["Scheme Source"], user["Scheme Source"])
        self.assertEqual(hidden["Arrow"][1].lower(), NULL_IN_CURSORS)
        self.assertEqual(hidden["AppStarting"][1].lower(), NULL_IN_CURSORS)
        self.assertEqual(hidden["Wait"], user["Wait"])
        self.assertEqual(hidden["Hand"], user["Hand"])

        self.step("hide")
        self.assertEqual(self.bench.reg_query(USER), hidden)
        self.assertEqual(self.bench.reg_query(SAVED), user)

        self.step("restore")
        self.assertEqual(self.bench.reg_query(USER), user)
        self.bench.reg_add(SAVED, "Arrow", r"C:\stale\copy.cur")
        self.step("restore")
        self.assertEqual(self.bench.reg_query(USER), user)

    def test_run_killed_while_hidden_is_restored_by_the_next_run(self):
        self.three_entry_list()
        user = self.user_scheme()
        self.step("hide-and-die", expected_exit=3)
        self.assertEqual(self.bench.reg_query(USER, "(Default)"), ("REG_SZ", "Quva"))
        self.step("hide")
        self.assertEqual(self.bench.reg_query(SAVED), user)
        self.step("restore")
        self.assertEqual(self.bench.reg_query(USER), user)

    def test_fresh_profile_and_default_list(self):
        self.assertIsNone(self.bench.reg_query(USER))
        self.step("hide")
        self.assertTrue(os.path.exists(self.bench.drive_c("windows", "cursors", "null.cur")))
        scheme = self.bench.reg_query(SCHEMES, "Quva")[1].lower().split(",")
        self.assertEqual(len(scheme), 14)
        self.assertEqual([i for i, e in enumerate(scheme, 1) if not e], [2, 7])
        self.assertTrue(all(e == NULL_IN_CURSORS for e in scheme if e))
        hidden = self.bench.reg_query(USER)
        self.assertEqual(hidden["(Default)"], ("REG_SZ", "Quva"))
        self.assertNotIn("Scheme Source", hidden)
        for row in ROWS[:12]:
            self.assertEqual(hidden[row][1].lower(), NULL_IN_CURSORS, row)
        self.assertNotIn("Hand", hidden)
        self.step("restore")
        self.assertEqual(self.bench.reg_query(USER), {})


if __name__ == "__main__":
    unittest.main()
