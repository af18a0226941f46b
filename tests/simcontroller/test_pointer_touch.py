"""Whole-program test of the stand-in's pointer source: an xdotool click on a Wine window arrives
as a touch with the sensor model's counts for that point."""
import os
import re
import time
import unittest

import winebench

LIBRARY = winebench.target_file("simcontroller_dll")
WINDOW = winebench.target_file("sim_touch_window")


def wait_for(predicate, timeout=20.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(0.1)
    return False


def run_click(test, bench, settings, point, screen):
    """Starts the touch window, clicks the Windows point and returns the parsed (expected, touch)."""
    folder = bench.install([LIBRARY, WINDOW], where="program")
    bench.write_file(os.path.join(folder, "SimController.ini"), settings)
    proc = bench.run(bench.program_path(os.path.basename(WINDOW)),
                     [str(point[0]), str(point[1]), str(screen)], timeout=60)
    bench.wait_window("^SimTouchWindow$")
    test.assertTrue(wait_for(lambda: "screens " in proc.stdout()), proc.stdout())
    bench.click(*bench.to_x(*point))
    test.assertEqual(0, proc.wait(40), proc.stdout() + proc.stderr())
    out = proc.stdout()
    print(out)
    expected = re.search(r"expected X=(\d+) Y=(\d+) Z=(\d+)", out)
    touch = re.search(r"touch screen=(\d+) X=(\d+) Y=(\d+) Z=(\d+)", out)
    test.assertIsNotNone(expected, out)
    test.assertIsNotNone(touch, out)
    return expected.groups(), touch.groups()


class PointerTouch(unittest.TestCase):
    def test_click_arrives_as_a_touch_with_the_model_counts(self):
        with winebench.WineBench(name="sim-pointer") as bench:
            expected, touch = run_click(self, bench, "[SimController]\nTouchSource=pointer\n",
                                        (300, 200), 0)
            self.assertEqual("0", touch[0])
            self.assertEqual(expected, touch[1:])
            # The default sensor puts the point off centre where it should be: left and up.
            self.assertLess(int(touch[1]) >> 4, 2048)
            self.assertLess(int(touch[2]) >> 4, 2048)

            log = bench.data_path("Zeph", "Touch", "SimController", "Touches.log")
            with open(log, encoding="ascii") as f:
                lines = [line for line in f if "delivered" in line]
            self.assertEqual(1, len(lines))
            self.assertIn("point=(300.50,200.50)", lines[0])  # the clicked pixel's centre


if __name__ == "__main__":
    unittest.main()
