"""A storm of Accept, Retry and Esc sent to Tarnix.exe under Wine while its passes collect,
fit and commit (the stand-in's script source touching as fast as it is asked): the program
neither hangs nor crashes, and every record the driver got is whole and equal to a fresh fit
of the touches of its pass."""

import os
import random
import re
import time
import unittest

import winebench
from pass_setup import (GRID_5X5, RECORD_SIZE, PassInstall, counts12, fit_fields, grid_targets,
                        simulated_cfg, wait_for)

ROUNDS = 200  # Accept, Retry or Esc each; the run restarts whenever one of them ended it
WIDTH, HEIGHT = 1024, 768
ACCEPT = (WIDTH // 2 - 40, HEIGHT // 2 + 92)
RETRY = (WIDTH // 2 + 40, HEIGHT // 2 + 92)
TITLE = "^Tarnix - Calibration$"
SCREENS = 16  # the end routine and Accept end a run only after this many


def passes_of(calls):
    """The raw touches of each committed pass: the 25 delivered last before each write."""
    delivered, passes = [], []
    for line in calls:
        m = re.search(r"Cal(?:Touch\(\)|Touch\(screen=\d+\)) = \d+ X=(\d+) Y=(\d+)", line)
        if m:
            delivered.append((int(m.group(1)), int(m.group(2))))
        elif "QuvaIF_WriteCalibrationData(" in line:
            passes.append(delivered[-25:])
    return passes


class Storm(unittest.TestCase):
    def test_commands_while_passes_fit_and_commit(self):
        rng = random.Random(4683)
        script = "".join("point 0 %d %d\n" % p for p in grid_targets(WIDTH, HEIGHT))
        started = time.monotonic()
        with winebench.WineBench("storm") as bench:
            inst = PassInstall(bench, source="script", script=script, screens=SCREENS,
                               sim_extra="ScriptLoop=1\n")
            runs = 0
            proc = None
            window = None
            for round_number in range(ROUNDS):
                if proc is None or not proc.running():
                    if proc is not None:
                        self.assertEqual(0, proc.wait(20), "run %d did not end cleanly" % runs)
                    proc = inst.run(timeout=120)
                    runs += 1
                    window = bench.wait_window(TITLE, timeout=30)
                time.sleep(rng.uniform(0.0, 0.12))
                command = round_number % 3
                try:
                    if command == 0:
                        bench.click(*bench.to_x(*ACCEPT))
                    elif command == 1:
                        bench.click(*bench.to_x(*RETRY))
                    else:
                        bench.key("Escape", window=window)
                except winebench.BenchError:
                    pass  # the window went away with the run: the next round starts another
            # Still answering: Esc until the run ends, each within a bound.
            for _ in range(SCREENS + 1):
                if not proc.running():
                    break
                try:
                    bench.key("Escape", window=window)
                except winebench.BenchError:
                    pass
                wait_for(lambda: not proc.running(), 2.0)
            self.assertEqual(0, proc.wait(20))
            elapsed = time.monotonic() - started
            print("storm: %d rounds, %d runs, %.1f s" % (ROUNDS, runs, elapsed))

            records = inst.history()
            passes = passes_of(inst.calls())
            print("storm: %d records" % len(records))
            self.assertGreater(len(records), 0)
            self.assertEqual(len(passes), len(records))
            fits = {}
            for number, (record, raw) in enumerate(zip(records, passes)):
                self.assertEqual(RECORD_SIZE, len(record), "record %d cut short" % number)
                self.assertEqual(25, len(raw))
                key = tuple(raw)
                if key not in fits:
                    fits[key] = fit_fields(inst.fit_with_tool(
                        simulated_cfg(GRID_5X5, counts12(raw)), (WIDTH, HEIGHT),
                        os.path.join(bench.work_dir, "storm-%d.bin" % number)))
                self.assertEqual(fits[key], fit_fields(record), "record %d" % number)
            trace_errors = [t for p in [proc] for t in p.debug_strings()
                            if "did not stop within" in t]
            self.assertEqual([], trace_errors)


if __name__ == "__main__":
    unittest.main()
