"""Retry while the touch thread is blocked in a touch call the driver does not release (the
stand-in's ClearReleases=0), made during a redo after a finished pass: the new pass, touched at a
person's pace through the pointer source, stores a record equal to the clean pass's, the touch
the old call returns goes to the new pass, and never do two touch calls wait in the driver at
once."""

import re
import unittest

import winebench
from pass_setup import BACKGROUND, PassInstall, fit_fields, grid_targets, target, wait_for

WIDTH, HEIGHT = 1024, 768
RETRY = (WIDTH // 2 + 40, HEIGHT // 2 + 92)
ACCEPT = (WIDTH // 2 - 40, HEIGHT // 2 + 92)
TITLE = "^Tarnix - Calibration$"
TARGETS = grid_targets(WIDTH, HEIGHT)
WAITING = re.compile(r"QuvaIF_Get(First|Next)CalTouch\((screen=\d+)?\) waiting")
RETURNED = re.compile(r"QuvaIF_Get(First|Next)CalTouch\((screen=\d+)?\) = ")


def most_calls_waiting(calls):
    """The most touch calls the call log shows waiting in the driver at one time."""
    waiting = most = 0
    for line in calls:
        if WAITING.search(line):
            waiting += 1
            most = max(most, waiting)
        elif RETURNED.search(line):
            waiting -= 1
    return most


class Handover(unittest.TestCase):
    def touch_every_target(self, inst):
        for number, at in enumerate(TARGETS, start=1):
            self.assertTrue(inst.wait_target_shown(at), "target %d not shown" % number)
            inst.touch(at)

    def test_retry_with_a_touch_call_the_driver_keeps(self):
        with winebench.WineBench("pass-handover") as bench:
            inst = PassInstall(bench, sim_extra="ClearReleases=0\n")
            proc = inst.run(timeout=200)
            bench.wait_window(TITLE)
            self.touch_every_target(inst)
            self.assertTrue(wait_for(lambda: len(inst.history()) == 1, 30), inst.calls()[-6:])
            self.assertTrue(wait_for(lambda: inst.pixel(*RETRY) != BACKGROUND, 10))

            # A redo request: the touch thread asks the driver for more touches of the pass.
            waiting = lambda: sum(1 for line in inst.calls() if WAITING.search(line))
            before = waiting()
            tool = target("other_program_tool", "tests/whole/other_program_tool.exe")
            self.assertEqual(0, bench.wine([tool, "event", "QuvaReDoCalEvent4683"])[0])
            self.assertTrue(wait_for(lambda: waiting() == before + 1, 20), inst.calls()[-6:])
            # Retry, pressed without a touch (a press through the pointer source would be one).
            self.assertEqual(0, bench.wine([tool, "press", TITLE.strip("^$"), "133"])[0])
            self.assertTrue(wait_for(lambda: "still blocked in the driver" in
                                     "\n".join(proc.debug_strings()), 10))

            self.touch_every_target(inst)
            self.assertTrue(wait_for(lambda: len(inst.history()) == 2, 30), inst.calls()[-6:])
            self.assertTrue(wait_for(lambda: inst.pixel(*ACCEPT) != BACKGROUND, 10))
            clean, retried = inst.history()
            self.assertEqual(fit_fields(clean), fit_fields(retried))
            self.assertEqual(1, most_calls_waiting(inst.calls()))
            traces = "\n".join(proc.debug_strings())
            self.assertEqual(1, traces.count("returned after its pass ended"), traces[-2000:])
            self.assertNotIn("dropped: its target", traces)

            bench.click(*bench.to_x(*ACCEPT))
            self.assertEqual(0, proc.wait(30))
            self.assertEqual(1, most_calls_waiting(inst.calls()))
            self.assertEqual(1, inst.count_calls("QuvaIF_CloseDeviceHandles("))
            # The new pass took the old call's touch: it made no first-touch call of its own.
            self.assertEqual(1, inst.count_calls("QuvaIF_GetFirstCalTouch() waiting"))


if __name__ == "__main__":
    unittest.main()
