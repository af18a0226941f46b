"""A storm of Accept, Retry and Esc sent to Tarnix.exe under Wine while its passes collect,
fit and commit (the stand-in's script source touching as soon as the program keeps a touch,
160 ms after each target appears, each command timed to land around the last touch of a pass): the program neither hangs nor crashes, and
every record the driver got is whole and equal to a fresh fit of the touches of its pass."""

import os
import random
import re
import subprocess
import time
import unittest

import winebench
from pass_setup import RECORD_SIZE, PassInstall, counts12, fit_fields, simulated_cfg, wait_for

ROUNDS = 120  # one Accept, Retry or Esc each; a run that one of them ended is started again
REACTION_MS = 160  # just above the 150 ms after which Tarnix keeps a touch
WIDTH, HEIGHT = 1024, 768
ACCEPT = (WIDTH // 2 - 40, HEIGHT // 2 + 92)
RETRY = (WIDTH // 2 + 40, HEIGHT // 2 + 92)
TITLE = "^Tarnix - Calibration$"
SCREENS = 16  # Esc and Accept end a run only after this many
# A 2 x 3 grid keeps a pass short, so that many commands meet a fit and its commit (six touches
# are the fewest that determine the affine map with room to judge it).
CFG = "[TARNIX-APP]\nNumGridRows=2\nNumGridPoints=6\nFitModelCode=11\n"
POINTS = [(170, 192), (512, 192), (853, 192), (170, 576), (512, 576), (853, 576)]
OFFSETS = [(0, 0), (7, -5), (-4, 9)]  # the looping script touches each target three ways


def script():
    return "".join("point 0 %d %d\n" % (x + dx, y + dy) for dx, dy in OFFSETS for x, y in POINTS)


def current_pass_touches(calls):
    """Touches delivered since the latest first-touch call."""
    count = 0
    for line in calls:
        if "QuvaIF_GetFirstCalTouch() waiting" in line:
            count = 0
        elif re.search(r"CalTouch(\(\)|\(screen=\d+\)) = \d+ X=", line):
            count += 1
    return count


def passes_of(calls):
    """The raw touches of each committed pass: the ones delivered last before each write."""
    delivered, passes = [], []
    for line in calls:
        m = re.search(r"CalTouch(?:\(\)|\(screen=\d+\)) = \d+ X=(\d+) Y=(\d+)", line)
        if m:
            delivered.append((int(m.group(1)), int(m.group(2))))
        elif "QuvaIF_WriteCalibrationData(" in line:
            passes.append(delivered[-len(POINTS):])
    return passes


class Storm(unittest.TestCase):
    def send(self, bench, proc, command, window):
        if not proc.running():
            return  # a key sent to a window that is gone may stay held and repeat
        if command == 2:
            args = ["xdotool", "key", "--window", str(window), "Escape"]
        else:
            x, y = bench.to_x(*(ACCEPT if command == 0 else RETRY))
            # No --sync: it can wait for seconds when the window goes away under the pointer.
            args = ["xdotool", "mousemove", str(x), str(y), "click", "1"]
        try:
            bench.x(args, timeout=5, check=False)
        except subprocess.TimeoutExpired:
            pass  # the run ended under the command: the next round starts another

    def test_commands_while_passes_fit_and_commit(self):
        rng = random.Random(4683)
        started = time.monotonic()
        with winebench.WineBench("storm") as bench:
            inst = PassInstall(bench, cfg=CFG, source="script", script=script(),
                               screens=SCREENS, sim_extra="ScriptLoop=1\n",
                               reaction_ms=REACTION_MS)
            runs = 0
            starting = 0.0
            proc = window = None
            for round_number in range(ROUNDS):
                if proc is None or not proc.running():
                    if proc is not None:
                        self.assertEqual(0, proc.wait(20), "run %d did not end cleanly" % runs)
                    bench.x(["xdotool", "keyup", "Escape"], check=False)
                    start = time.monotonic()
                    proc = inst.run(timeout=200)
                    runs += 1
                    window = bench.wait_window(TITLE)
                    starting += time.monotonic() - start
                command = round_number % 3
                # Accept and Retry meet the fit of the pass's last touch; Esc mostly a pass
                # that is collecting (Esc on a finished pass ends the run).
                touches = len(POINTS) - 1 if command != 2 else 1
                wait_for(lambda: current_pass_touches(inst.calls()) >= touches, 3.0)
                # The last touch comes about 0.45 s after the one before (dwell, reaction).
                time.sleep(rng.uniform(0.25, 0.65) if command != 2 else rng.uniform(0.0, 0.15))
                self.send(bench, proc, command, window)
            # Still answering: Esc ends the run, each within a bound.
            for _ in range(SCREENS + 1):
                if not proc.running():
                    break
                self.send(bench, proc, 2, window)
                wait_for(lambda: not proc.running(), 2.0)
            self.assertEqual(0, proc.wait(20))
            print("storm: %d rounds, %d runs, %.1f s" % (ROUNDS, runs,
                                                         time.monotonic() - started))

            print("storm: %d s spent starting runs" % starting)
            records = inst.history()
            passes = passes_of(inst.calls())
            busy = inst.count_calls("QuvaIF_WriteCalibrationData(")
            print("storm: %d records" % len(records))
            # The commands met commits: how many depends on the machine's pace under load (10 to
            # 15 of the 120 rounds here), not on the program.
            self.assertGreaterEqual(len(records), 5)
            self.assertEqual(len(passes), len(records))
            self.assertEqual(busy, len(records))
            # No stop cuts a commit short: after each write the screen is enabled before any
            # release of the touch calls.
            calls = inst.calls()
            for at, line in enumerate(calls):
                if "QuvaIF_WriteCalibrationData(" not in line:
                    continue
                after = next((c for c in calls[at + 1:] if re.search(
                    r"QuvaIF_(EnableScreen|ClearAllGetPoint|DisableTouch)\(", c)), "")
                self.assertIn("QuvaIF_EnableScreen(", after, line)
            fits = {}
            for number, (record, raw) in enumerate(zip(records, passes)):
                self.assertEqual(RECORD_SIZE, len(record), "record %d cut short" % number)
                key = tuple(raw)
                if key not in fits:
                    fits[key] = fit_fields(inst.fit_with_tool(
                        simulated_cfg(CFG, counts12(raw)), (WIDTH, HEIGHT),
                        os.path.join(bench.work_dir, "storm-%d.bin" % number)))
                self.assertEqual(fits[key], fit_fields(record), "record %d" % number)
            print("storm: %d distinct touch sets fitted again" % len(fits))
            stuck = [t for t in proc.debug_strings() if "still blocked in the driver" in t]
            self.assertEqual([], stuck)


if __name__ == "__main__":
    unittest.main()
