"""Tests of scripts/wine-run: exit codes, output replay, the time limit, and no leftovers."""
import os
import subprocess
import time
import unittest

WINE_RUN = os.path.join(os.environ["TARNIX_SOURCE_DIR"], "scripts", "wine-run")
STATE = os.environ["TARNIX_WINE_STATE_DIR"]
CONSOLE = os.environ["TARNIX_TARGET_bench_console"]


def wine_run(*args, timeout=120):
    return subprocess.run([WINE_RUN, "--state", STATE, "--no-display"] + list(args),
                          capture_output=True, text=True, timeout=timeout,
                          stdin=subprocess.DEVNULL)


class WineRunTest(unittest.TestCase):
    def test_passes_exit_codes_through(self):
        for code in (0, 3, 200):
            self.assertEqual(code, wine_run(CONSOLE, "exit", str(code)).returncode)

    def test_replays_stdout_and_stderr_separately(self):
        done = wine_run(CONSOLE, "print", "to-out", "to-err")
        self.assertEqual(0, done.returncode)
        self.assertEqual("to-out\n", done.stdout.replace("\r\n", "\n"))
        self.assertIn("to-err", done.stderr)
        self.assertNotIn("to-err", done.stdout)

    def test_time_limit_stops_a_hanging_program(self):
        start = time.monotonic()
        done = wine_run("--timeout", "3", CONSOLE, "sleep", timeout=60)
        self.assertEqual(124, done.returncode)
        self.assertIn("time limit", done.stderr)
        self.assertLess(time.monotonic() - start, 30)

    def test_missing_program_fails(self):
        self.assertNotEqual(0, wine_run(os.path.join(STATE, "no-such.exe")).returncode)


if __name__ == "__main__":
    unittest.main()
