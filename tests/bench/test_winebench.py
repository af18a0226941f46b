"""Self-tests of the whole-program harness with a tiny Win32 window (nothing of Tarnix)."""
import os
import time
import unittest

import winebench

PROBE = os.environ["TARNIX_TARGET_bench_probe"]
BACKGROUND = (140, 215, 242)
RED = (255, 0, 0)


def wait_for(predicate, timeout=15.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(0.1)
    return False


class DebugStringParsing(unittest.TestCase):
    def test_unescapes_wine_escapes(self):
        err = ('0024:warn:seh:OutputDebugStringA "a\\n"\n'
               '0024:warn:seh:dispatch_exception "dbg \\"q\\" \\\\ line\\n"\n'
               '0024:warn:seh:dispatch_exception unknown exception (code=6ba) raised\n'
               '0024:warn:seh:dispatch_exception "caf\\xe9 \\u4e2d\\t"\n')
        self.assertEqual(['dbg "q" \\ line\n', "caf\u00e9 \u4e2d\t"],
                         winebench.parse_debug_strings(err))


class ProbeWindow(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.bench = winebench.WineBench(name="probe-window").__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.bench.close()

    def start_probe(self, *args):
        proc = self.bench.run(PROBE, list(args), timeout=60)
        self.addCleanup(proc.kill)
        window = self.bench.wait_window("^TarnixBenchProbe$", timeout=20)
        return proc, window

    def test_trace_click_key_and_exit_code(self):
        self.bench.install([PROBE], where="program")
        program = self.bench.program_path(os.path.basename(PROBE))
        proc = self.bench.run(program, ["hello", "world"], timeout=60)
        self.bench.wait_window("^TarnixBenchProbe$", timeout=20)
        self.assertTrue(wait_for(lambda: proc.debug_strings()))
        self.assertEqual('probe: start "hello world"\n', proc.debug_strings()[0])
        self.bench.click(150, 120)
        self.assertTrue(wait_for(lambda: "probe: click 150 120\n" in proc.debug_strings()),
                        proc.debug_strings())
        self.bench.key("Escape")
        self.assertEqual(7, proc.wait(20))
        self.assertEqual("probe: exit\n", proc.debug_strings()[-1])

    def test_registry_round_trip(self):
        key = r"HKCU\Software\TarnixBench"
        self.bench.reg_add(key, "Greeting", "hi there")
        self.assertEqual(("REG_SZ", "hi there"), self.bench.reg_query(key, "Greeting"))
        proc, _ = self.start_probe()
        self.assertTrue(wait_for(lambda: "probe: greeting=hi there\n" in proc.debug_strings()),
                        proc.debug_strings())
        self.assertTrue(wait_for(lambda: self.bench.reg_query(key, "Written") is not None))
        self.assertEqual(("REG_DWORD", "0x2a"), self.bench.reg_query(key, "Written"))
        exported = self.bench.reg_export(key)
        self.assertIn('"Greeting"="hi there"', exported)
        self.assertIn('"Written"=dword:0000002a', exported)
        self.assertTrue(self.bench.reg_delete(key, "Greeting"))
        self.assertIsNone(self.bench.reg_query(key, "Greeting"))
        self.assertIsNone(self.bench.reg_query(r"HKCU\Software\NoSuchTarnixKey"))
        proc.kill()

    def test_screenshot_pixels(self):
        proc, window = self.start_probe()
        self.assertEqual((0, 0, 400, 300), self.bench.window_geometry(window))
        self.assertTrue(wait_for(lambda: self.bench.image("probe").pixel(150, 120) == RED))
        image = self.bench.image(self.bench.screenshot("probe-window"))
        self.assertTrue(os.path.exists(os.path.join(self.bench.artefact_dir, "probe-window.png")))
        self.assertEqual(RED, image.pixel(100, 100))
        self.assertEqual(BACKGROUND, image.pixel(99, 100))
        self.assertEqual(BACKGROUND, image.pixel(200, 150))
        self.assertEqual(BACKGROUND, image.pixel(399, 299))
        self.assertNotEqual(BACKGROUND, image.pixel(400, 300))
        proc.kill()

    def test_layered_window_opacity(self):
        proc, window = self.start_probe("layered")
        self.assertTrue(wait_for(lambda: self.bench.opacity(window) is not None))
        self.assertEqual(178, self.bench.opacity(window) >> 24)
        proc.kill()

    def test_hard_time_limit(self):
        proc = self.bench.run(PROBE, [], timeout=2)
        start = time.monotonic()
        self.assertEqual(124, proc.wait(20))
        self.assertLess(time.monotonic() - start, 15)


class TwoMonitors(unittest.TestCase):
    def test_xorg_dummy_gives_two_monitors(self):
        with winebench.WineBench(name="two-monitors", two_monitors=True) as bench:
            out = bench.x(["xrandr", "--listactivemonitors"])
            self.assertIn("Monitors: 2", out)
            proc = bench.run(PROBE, [], timeout=30)
            window = bench.wait_window("^TarnixBenchProbe$", timeout=20)
            # Windows puts (0, 0) at the primary monitor, right of the 800 x 600 one.
            self.assertEqual((800, 0), bench.to_x(0, 0))
            self.assertEqual((800, 0, 400, 300), bench.window_geometry(window))
            bench.click(*bench.to_x(50, 50))
            self.assertTrue(wait_for(lambda: "probe: click 50 50\n" in proc.debug_strings()))
            png = bench.screenshot("two-monitors")
            self.assertEqual((1824, 768), (winebench.Image(png).width, winebench.Image(png).height))


if __name__ == "__main__":
    unittest.main()
