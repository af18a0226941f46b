"""The calibration history under Wine with the stand-in controller: two accepted passes with
different sensor offsets give two entries; tarnix-history lists both with the drift between them;
export writes both as one JSON document; tarnix-fit fits an entry's configuration into its record byte for byte; restore sends the first
record to the driver again; after the monitor changed, restore is refused, and while Tarnix runs it
is refused with a status of its own."""

import json
import os
import shutil
import struct
import tempfile
import unittest

import winebench
from pass_setup import GRID_5X5, PassInstall, grid_targets, target, wait_for, winepath

WIDTH, HEIGHT = 1024, 768
CENTRE = (WIDTH // 2, HEIGHT // 2)
ACCEPT = (CENTRE[0] - 40, CENTRE[1] + 92)
TITLE = "^Tarnix - Calibration$"
CFG = GRID_5X5 + "MaxDrift=1\n"  # millimetres: the second pass moves more than this
# Each pass's touches: the grid targets through the sensor; the second run's sensor lies 20
# counts further right (default OffsetX 14): 20 / (0.9 x 4095) of the 306.4 mm glass, 1.66 mm.
SCRIPT = "".join("point 0 %d %d\n" % at for at in grid_targets(WIDTH, HEIGHT))
MOVED_MM = 20 / (0.9 * 4095) * 306.4


def read(path):
    with open(path, "rb") as f:
        return f.read()


class History(unittest.TestCase):
    def tool(self, bench, inst, args):
        proc = bench.run(inst.folder + "/tarnix-history.exe", args, timeout=60,
                         capture_debug=False, cwd=inst.folder)
        code = proc.wait(60)
        return code, proc.stdout(), proc.stderr()

    def accepted_pass(self, bench, inst, sim_extra):
        with open(os.path.join(inst.folder, "SimController.ini"), "a", newline="\r\n") as ini:
            ini.write(sim_extra)
        writes = len(inst.history())
        proc = inst.run()
        bench.wait_window(TITLE)
        self.assertTrue(wait_for(lambda: len(inst.history()) == writes + 1, 40), inst.calls()[-5:])
        self.assertTrue(wait_for(lambda: inst.pixel(*ACCEPT) != (140, 215, 242), 10), "no Accept")
        bench.screenshot("finished-%d" % writes)
        bench.click(*bench.to_x(*ACCEPT))
        self.assertEqual(0, proc.wait(20))
        return inst.history()[-1], "\n".join(proc.debug_strings())

    def check_export(self, bench, inst, names, first, second):
        """export writes one document of both passes that reads back with the records sent."""
        code, out, err = self.tool(bench, inst, ["export", "--out", "kiosk.json"])
        self.assertEqual(0, code, err)
        with open(os.path.join(inst.folder, "kiosk.json"), encoding="utf-8") as f:
            document = json.load(f)
        self.assertEqual(1, document["SchemaVersion"])
        self.assertTrue(document["Machine"])
        screen, = document["Screens"]
        self.assertEqual(names[1], screen["NewestEntry"])
        self.assertEqual({"Left": 0, "Top": 0, "Width": WIDTH, "Height": HEIGHT}, screen["Area"])
        self.assertEqual(names, [e["Entry"] for e in document["Entries"]])
        older, newer = document["Entries"]
        self.assertEqual(["calibration"] * 2, [older["Kind"], newer["Kind"]])
        self.assertEqual([False, True], [older["Live"], newer["Live"]])
        self.assertAlmostEqual(MOVED_MM, newer["DriftSinceFirst"]["Mm"], delta=0.25)
        self.assertEqual(names[0], newer["DriftSincePrevious"]["Since"])
        self.assertAlmostEqual(306.4, newer["GlassWidthMm"], places=6)
        for entry, sent in ((older, first), (newer, second)):
            coefficients = struct.unpack_from("<40i", sent, 109)
            self.assertEqual(list(coefficients), entry["Record"]["CoeffX"])

    def test_two_passes_listed_refitted_restored_and_refused_after_a_change(self):
        kept = os.path.join(self.enterContext(tempfile.TemporaryDirectory()), "History")
        with winebench.WineBench("history", screen=(WIDTH, HEIGHT)) as bench:
            inst = PassInstall(bench, cfg=CFG, source="script", script=SCRIPT)
            bench.install([target("tarnix-history", "tools/tarnix_history/tarnix-history.exe"),
                           target("tarnix-fit", "tools/tarnix_fit/tarnix-fit.exe")])
            first, log = self.accepted_pass(bench, inst, "")
            self.assertIn("Tarnix.exe: history: kept ", log)
            self.assertNotIn("history: moved at most", log)  # nothing earlier to compare with
            second, log = self.accepted_pass(bench, inst, "[Sensor]\nOffsetX=34\n")
            self.assertIn("Tarnix.exe: history: moved at most 1.", log)  # the finished state
            self.assertNotEqual(first, second)

            folder = bench.data_path("Zeph", "Touch", "History")
            names = sorted(f[:-4] for f in os.listdir(folder) if f.endswith(".bin"))
            self.assertEqual(2, len(names), os.listdir(folder))
            self.assertEqual([first, second], [read(os.path.join(folder, n + ".bin"))
                                               for n in names])
            config = read(os.path.join(folder, names[1] + ".cfg")).decode("ascii")
            self.assertIn("\r\n; Screen: 0\r\n; Area: 1024x768 at (0,0)\r\n", config)
            self.assertIn("\r\nSimulate=1\r\nTouchGridX00=", config)

            code, out, err = self.tool(bench, inst, ["list", "--json"])
            self.assertEqual(0, code, err)
            rows = [json.loads(line) for line in out.splitlines()]
            self.assertEqual(names, [row["entry"] for row in rows])
            self.assertIsNone(rows[0]["drift_mm"])
            self.assertEqual(names[0], rows[1]["drift_since"])
            self.assertAlmostEqual(MOVED_MM, rows[1]["drift_mm"], delta=0.25)
            self.assertEqual({"left": 0, "top": 0, "width": WIDTH, "height": HEIGHT},
                             rows[1]["area"])
            self.assertGreater(rows[1]["figures"]["RMS residual (px)"], 0)
            self.check_export(bench, inst, names, first, second)
            code, out, err = self.tool(bench, inst, ["drift", names[1], "--svg", "drift.svg"])
            self.assertEqual(1, code, err)  # above MaxDrift=1
            self.assertIn("Warning: more than 1.0 mm", out)
            self.assertIn("<line ", read(os.path.join(inst.folder, "drift.svg")).decode())

            # The entry's configuration, as it is, fits into the record that was sent.
            refit = os.path.join(bench.work_dir, "refit.bin")
            proc = bench.run(target("tarnix-fit", "tools/tarnix_fit/tarnix-fit.exe"),
                             ["--config", winepath(os.path.join(folder, names[1] + ".cfg")),
                              "--reports", winepath(bench.work_dir), "--record", winepath(refit)],
                             capture_debug=False)
            self.assertEqual(0, proc.wait(60), proc.stderr())
            self.assertEqual(second, read(refit))

            # Restore: the newest entry before the last goes to the driver again, byte for byte.
            code, out, err = self.tool(bench, inst, ["restore"])
            self.assertEqual(0, code, err)
            self.assertIn("Restored %s" % names[0], out)
            self.assertEqual(first, inst.history()[-1])
            self.assertEqual(first, inst.record())
            self.assertEqual(3, inst.count_calls("QuvaIF_WriteCalibrationData(screen=0, byte=1)"))
            shutil.copytree(folder, kept)

        # Another machine state: the same entries, the monitor now 800 x 600.
        with winebench.WineBench("history-changed", screen=(800, 600)) as bench:
            inst = PassInstall(bench, cfg=CFG, source="script", script="")
            bench.install(target("tarnix-history", "tools/tarnix_history/tarnix-history.exe"))
            shutil.copytree(kept, bench.data_path("Zeph", "Touch", "History"))
            code, out, err = self.tool(bench, inst, ["restore", names[0]])
            self.assertEqual(4, code, out)
            self.assertEqual("tarnix-history: not restored: monitor 1 is now 800x600 at (0,0); "
                             "the entry was kept for 1024x768 at (0,0)", err.strip())
            self.assertEqual([], inst.history())
            code, out, err = self.tool(bench, inst, ["show", "no-such-entry"])
            self.assertEqual(3, code)

            # While a pass is on screen, restore refuses before anything else and writes nothing.
            proc = inst.run()
            bench.wait_window(TITLE)
            self.assertTrue(wait_for(lambda: inst.count_calls("GetFirstCalTouch() waiting") == 1))
            code, out, err = self.tool(bench, inst, ["restore", names[0]])
            self.assertEqual(8, code, err)
            self.assertEqual("tarnix-history: not restored: Tarnix is running; close it first",
                             err.strip())
            self.assertEqual([], inst.history())
            self.assertEqual(0, inst.count_calls("QuvaIF_WriteCalibrationData("))
            self.assertTrue(proc.running())


if __name__ == "__main__":
    unittest.main()
