"""A calibration nobody accepted, under Wine with the stand-in controller: every record the driver
got is kept, marked accepted or not, and tarnix-history marks the one the driver holds. With
RevertUnaccepted=1, Esc, Retry, a closed window and the countdown's end each put the area's
previous accepted calibration back (where none is known the new one stays); without the key the
new one stays, and restore starts from it."""

import json
import os
import shutil
import unittest

import winebench
from pass_setup import GRID_5X5, BACKGROUND, PassInstall, grid_targets, target, wait_for

WIDTH, HEIGHT = 1024, 768
CENTRE = (WIDTH // 2, HEIGHT // 2)
ACCEPT = (CENTRE[0] - 40, CENTRE[1] + 92)
RETRY = (CENTRE[0] + 40, CENTRE[1] + 92)
TITLE = "^Tarnix - Calibration$"
PASS = "".join("point 0 %d %d\n" % at for at in grid_targets(WIDTH, HEIGHT))
MOVED = "[Sensor]\nOffsetX=34\n"  # later passes: the sensor 20 counts further right
TOOL = target("other_program_tool", "tests/whole/other_program_tool.exe")
HISTORY_TOOL = target("tarnix-history", "tools/tarnix_history/tarnix-history.exe")
PUT_BACK = "was not accepted; the previous accepted calibration %s ("


class Unaccepted(unittest.TestCase):
    def start(self, inst, script, env=None, exe=None):
        self.bench.write_file(self.bench.program_path("SimTouches.txt"), script)
        if exe:
            shutil.copy(exe, inst.exe())
        proc = inst.run(env=env, timeout=90)
        self.bench.wait_window(TITLE)
        return proc

    def finished(self, inst, records):
        """Waits for the pass's record in the driver and the Finished screen's buttons."""
        self.assertTrue(wait_for(lambda: len(inst.history()) == records, 40), inst.calls()[-5:])
        self.assertTrue(wait_for(lambda: inst.pixel(*ACCEPT) != BACKGROUND, 10), "no Accept")
        return inst.history()[-1]

    def ended(self, inst, proc, timeout=20):
        """The run ended with 0; on a time-out, the driver's last calls say where it stopped."""
        try:
            self.assertEqual(0, proc.wait(timeout))
        except TimeoutError:
            self.fail("the run did not end; the driver's last calls: %s" % inst.calls()[-8:])

    def escape(self):
        """Esc, as the keyboard sends it to the program's window, which has the focus."""
        self.bench.key("Escape")

    def entries(self, inst):
        proc = self.bench.run(inst.folder + "/tarnix-history.exe", ["list", "--json"],
                              timeout=60, capture_debug=False, cwd=inst.folder)
        self.assertEqual(0, proc.wait(60), proc.stderr())
        return [json.loads(line) for line in proc.stdout().splitlines()]

    def marks(self, inst):
        """(accepted, live) of each entry, oldest first."""
        return [(row["accepted"], row["live"]) for row in self.entries(inst)]

    def report(self):
        path = self.bench.data_path("Zeph", "Touch", "History.txt")
        if not os.path.exists(path):
            return ""
        with open(path, encoding="ascii") as f:
            return f.read()

    def install(self, cfg):
        inst = PassInstall(self.bench, cfg=cfg, source="script", script="")
        self.bench.install(HISTORY_TOOL)
        return inst

    def test_with_the_key_every_way_out_puts_the_previous_accepted_calibration_back(self):
        with winebench.WineBench("unaccepted-revert", screen=(WIDTH, HEIGHT)) as bench:
            self.bench = bench
            inst = self.install(GRID_5X5 + "RevertUnaccepted=1\n")

            # Nothing accepted before: Esc leaves the new calibration in the driver.
            proc = self.start(inst, PASS)
            first = self.finished(inst, 1)
            bench.screenshot("finished-no-previous")
            self.escape()
            self.ended(inst, proc)
            self.assertIn("no earlier accepted calibration of its area is known",
                          "\n".join(proc.debug_strings()))
            self.assertEqual([first], inst.history())
            self.assertEqual([(False, True)], self.marks(inst))

            # The calibration accepted.
            proc = self.start(inst, PASS)
            self.finished(inst, 2)
            inst.press(ACCEPT)
            self.ended(inst, proc)
            accepted = self.entries(inst)[-1]["entry"]
            kept = inst.history()[-1]
            self.assertEqual([(False, False), (True, True)], self.marks(inst))

            with open(os.path.join(inst.folder, "SimController.ini"), "a", newline="\r\n") as ini:
                ini.write(MOVED)
            # Retry, then a closed window on the pass Retry started.
            proc = self.start(inst, PASS * 2)
            self.finished(inst, 3)
            inst.press(RETRY)
            self.assertTrue(wait_for(lambda: len(inst.history()) == 4, 20))
            self.assertEqual(kept, inst.history()[-1])
            self.finished(inst, 5)
            self.assertEqual(0, bench.wine([TOOL, "close", TITLE.strip("^$")])[0])
            self.ended(inst, proc)
            self.assertEqual(kept, inst.history()[-1])
            self.assertEqual(2, "\n".join(proc.debug_strings()).count(PUT_BACK % accepted))

            # Esc.
            proc = self.start(inst, PASS)
            moved = self.finished(inst, 7)
            self.assertNotEqual(kept, moved)
            bench.screenshot("finished-until-left")
            self.escape()
            self.ended(inst, proc)
            self.assertIn(PUT_BACK % accepted, "\n".join(proc.debug_strings()))
            self.assertEqual([kept, moved, kept], inst.history()[-3:])
            self.assertEqual(kept, inst.record())

            # The countdown's end.
            exe = target("TarnixTestSettings", "tests/whole/TarnixTestSettings.exe")
            proc = self.start(inst, PASS, env={"TARNIX_TEST_COUNTDOWN": "5"}, exe=exe)
            self.assertTrue(wait_for(lambda: len(inst.history()) == 9, 40), inst.calls()[-5:])
            self.ended(inst, proc, 30)
            self.assertEqual(10, len(inst.history()))
            self.assertEqual(kept, inst.record())

            # Every record the driver got is kept; the accepted one is live again.
            marks = self.marks(inst)
            self.assertEqual([(False, False), (True, True)] + [(False, False)] * 4, marks)
            self.assertEqual(4, self.report().count(PUT_BACK % accepted), self.report())

    def test_without_the_key_the_new_calibration_stays_and_restore_starts_from_it(self):
        with winebench.WineBench("unaccepted-stays", screen=(WIDTH, HEIGHT)) as bench:
            self.bench = bench
            inst = self.install(GRID_5X5)
            proc = self.start(inst, PASS)
            self.finished(inst, 1)
            inst.press(ACCEPT)
            self.ended(inst, proc)
            kept = inst.record()

            with open(os.path.join(inst.folder, "SimController.ini"), "a", newline="\r\n") as ini:
                ini.write(MOVED)
            proc = self.start(inst, PASS)
            moved = self.finished(inst, 2)
            self.escape()
            self.ended(inst, proc)
            self.assertIn("it stays in use (RevertUnaccepted=0)", "\n".join(proc.debug_strings()))
            self.assertEqual([kept, moved], inst.history())
            self.assertEqual([(True, False), (False, True)], self.marks(inst))

            # restore's default: the accepted calibration before the one in use; it is live then.
            proc = bench.run(inst.folder + "/tarnix-history.exe", ["restore"], timeout=60,
                             capture_debug=False, cwd=inst.folder)
            self.assertEqual(0, proc.wait(60), proc.stderr())
            self.assertEqual([kept, moved, kept], inst.history())
            self.assertEqual([(True, True), (False, False)], self.marks(inst))


if __name__ == "__main__":
    unittest.main()
