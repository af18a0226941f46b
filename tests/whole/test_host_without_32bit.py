"""A host that cannot execute 32-bit programs (forced with TARNIX_HOST_32BIT=0): the 64-bit
programs still run in a template made by the 64-bit loader, and every test of the 32-bit build
reports itself skipped with the reason instead of failing."""

import json
import os
import subprocess
import tempfile
import unittest

SOURCE_DIR = os.environ["TARNIX_SOURCE_DIR"]
BUILD_DIR = os.environ["TARNIX_BUILD_DIR"]
WINE_RUN = os.path.join(SOURCE_DIR, "scripts", "wine-run")
BITS = int(os.environ["TARNIX_BUILD_BITS"])
REASON = "cannot execute 32-bit programs"
SKIPPED = 77  # TARNIX_SKIP_RETURN_CODE


def registered_tests():
    """The build's tests as CTest knows them: name, command, labels, skip status, environment."""
    listing = subprocess.run(["ctest", "--test-dir", BUILD_DIR, "--show-only=json-v1"],
                             capture_output=True, text=True, check=True, timeout=60)
    tests = []
    for test in json.loads(listing.stdout)["tests"]:
        props = {p["name"]: p["value"] for p in test.get("properties", [])}
        tests.append((test["name"], test.get("command", []), props.get("LABELS", []),
                      props.get("SKIP_RETURN_CODE"), props.get("ENVIRONMENT", [])))
    return tests


def without_32bit(extra=()):
    env = dict(os.environ, TARNIX_HOST_32BIT="0")
    env.pop("TARNIX_WINEBOOT_LOADER", None)
    env.update(item.split("=", 1) for item in extra)
    env["TARNIX_HOST_32BIT"] = "0"
    return env


class HostWithout32Bit(unittest.TestCase):
    @unittest.skipUnless(BITS == 64, "the 64-bit build's check")
    def test_64bit_programs_run_and_32bit_ones_are_skipped_with_the_reason(self):
        with tempfile.TemporaryDirectory(dir=os.path.join(BUILD_DIR, "wine")) as state:
            made = subprocess.run([WINE_RUN, "--state", state, "--ensure-template"],
                                  env=without_32bit(), capture_output=True, text=True,
                                  timeout=300, check=False)
            self.assertEqual(0, made.returncode, made.stderr)
            unit = next(t for t in registered_tests() if t[0] == "tarnix_numeric_tests")
            ran = subprocess.run([WINE_RUN, "--state", state] + unit[1][3:],
                                 env=without_32bit(), capture_output=True, text=True,
                                 timeout=300, check=False)
            self.assertEqual(0, ran.returncode, ran.stdout[-2000:] + ran.stderr[-2000:])
            self.assertIn("[  PASSED  ]", ran.stdout)
            # A 32-bit x86 program: the PE header's machine field is all wine-run reads.
            program = os.path.join(state, "x86.exe")
            with open(program, "wb") as f:
                f.write(b"MZ" + bytes(58) + (64).to_bytes(4, "little") + b"PE\0\0\x4c\x01")
            skipped = subprocess.run([WINE_RUN, "--state", state, program],
                                     env=without_32bit(), capture_output=True, text=True,
                                     timeout=60, check=False)
            self.assertEqual(SKIPPED, skipped.returncode, skipped.stderr)
            self.assertIn(REASON, skipped.stderr)

    @unittest.skipUnless(BITS == 32, "the 32-bit build's check")
    def test_every_test_of_the_32bit_programs_reports_skipped(self):
        tests = [t for t in registered_tests()
                 if {"wine", "whole"} & set(t[2]) and t[0] not in ("host_without_32bit",
                                                                    "tarnix_stage_install")]
        self.assertGreater(len(tests), 10)
        for name, command, _, skip_code, env in tests:
            with self.subTest(test=name):
                done = subprocess.run(command, env=without_32bit(env), capture_output=True,
                                      text=True, timeout=120, check=False)
                self.assertEqual(SKIPPED, int(skip_code or -1))
                self.assertEqual(SKIPPED, done.returncode, done.stderr[-1000:])
                self.assertIn(REASON, done.stderr)


if __name__ == "__main__":
    unittest.main()
