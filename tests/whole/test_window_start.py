"""Start-up of Tarnix.exe under Wine with the stand-in controller: the refusals, the command line,
the language libraries, the grid check, translucency and the desktop monitor tool (the single
instance is in test_hostile_start.py)."""

import os
import shutil
import time
import unittest

import winebench
from pass_setup import wait_for
from window_setup import GRID_5X5, Installation, has_trace, target, traces


def close_message_box(bench):
    """Presses Enter in the message box captioned exactly "Tarnix" (it has the focus), again while
    the box stays: on a loaded machine it may show before it takes the keyboard."""
    bench.wait_window("^Tarnix$")
    for _ in range(4):
        time.sleep(0.3)
        bench.key("Return")
        if wait_for(lambda: not bench.find_windows("^Tarnix$"), 5):
            return


class Refusals(unittest.TestCase):
    def test_no_touch_screen_shows_the_message_and_no_window(self):
        with winebench.WineBench("no-touch-screen") as bench:
            inst = Installation(bench, screens=0)
            proc = inst.run()
            close_message_box(bench)
            self.assertEqual(proc.wait(20), 0)
            self.assertTrue(has_trace(proc, "Tarnix.exe: Quva Touch Screens are not found!"))
            self.assertFalse(has_trace(proc, "WinMain()"))
            self.assertFalse(any("GetTouchState" in c for c in inst.calls()))

    def test_driver_stamped_3_9_is_rejected(self):
        with winebench.WineBench("old-driver") as bench:
            inst = Installation(bench, old_driver=True)
            proc = inst.run()
            close_message_box(bench)
            self.assertEqual(proc.wait(20), 0)
            self.assertTrue(has_trace(proc, "Tarnix.exe: driver library version 3.9.0.0"))
            self.assertTrue(has_trace(proc, "Tarnix only works ver 4.0 or above!"))
            self.assertFalse(has_trace(proc, "WinMain()"))

    def test_driver_4_2_is_accepted_and_the_first_pass_starts(self):
        with winebench.WineBench("new-driver") as bench:
            inst = Installation(bench)
            proc = inst.run()
            window = bench.wait_window("^Tarnix - Calibration$")
            self.assertTrue(wait_for(lambda: any("GetFirstCalTouch() waiting" in c
                                                 for c in inst.calls())))
            bench.key("Escape", window=window)
            self.assertEqual(proc.wait(20), 0)
            self.assertTrue(has_trace(proc, "Tarnix.exe: driver library version 4.2.0.0"))
            self.assertTrue(has_trace(proc, "Tarnix.exe: WinMain()"))

    def test_driver_without_version_is_treated_as_too_old(self):
        with winebench.WineBench("unversioned-driver") as bench:
            inst = Installation(bench)
            # A resource-only language library carries a version block; strip the driver's by
            # replacing its file with a copy of a library that has none.
            unversioned = bench.program_path("QuvaIntf.dll")
            with open(unversioned, "r+b") as f:
                data = bytearray(f.read())
                at = data.find("ProductVersion".encode("utf-16-le"))
                self.assertGreater(at, 0)
                data[at:at + 28] = "ProductVersiox".encode("utf-16-le")
                f.seek(0)
                f.write(data)
            proc = inst.run()
            close_message_box(bench)
            self.assertEqual(proc.wait(20), 0)
            self.assertTrue(has_trace(proc, "has no readable ProductVersion: treated as too old"))
            self.assertFalse(has_trace(proc, "WinMain()"))


class CommandLine(unittest.TestCase):
    def test_dash_x_in_the_program_path_stops_start_up_without_a_pass(self):
        with winebench.WineBench("dash-x") as bench:
            inst = Installation(bench)
            folder = bench.program_path("tools-x")
            os.makedirs(folder)
            for name in os.listdir(inst.folder):
                if name.endswith((".exe", ".dll", ".ini")):
                    shutil.copy(os.path.join(inst.folder, name), folder)
            proc = bench.run(os.path.join(folder, "Tarnix.exe"), cwd=folder, timeout=40)
            self.assertEqual(proc.wait(30), 0)
            self.assertTrue(has_trace(proc, "unknown option in the command line"))
            self.assertFalse(has_trace(proc, "EnumSysMonitors()"))
            self.assertFalse(any("GetFirstCalTouch" in c for c in inst.calls()))
            self.assertTrue(any("QuvaIF_CloseDeviceHandles" in c for c in inst.calls()))


class Languages(unittest.TestCase):
    def run_with_locale(self, bench, inst, locale, cwd=None):
        passes = sum("GetFirstCalTouch() waiting" in c for c in inst.calls())
        proc = bench.run(inst.exe(), env={"LC_ALL": locale} if locale else None, timeout=40,
                         cwd=cwd or inst.folder)
        window = bench.wait_window("^Tarnix")
        title = bench.x(["xdotool", "getwindowname", str(window)]).strip()
        # Esc once the first pass waits for its touch; again if the first one came too early.
        wait_for(lambda: sum("GetFirstCalTouch() waiting" in c for c in inst.calls()) > passes)
        for _ in range(3):
            # Wine may give the window a new X window once it is layered: ask for it each time.
            found = bench.find_windows("^Tarnix")
            if proc.running() and found:
                try:
                    bench.key("Escape", window=found[0])
                except winebench.BenchError:
                    pass  # gone between the look and the key: the run is ending
            if wait_for(lambda: not proc.running(), 8):
                break
        self.assertEqual(proc.wait(10), 0)
        return proc, title

    def test_french_locale_loads_the_french_library(self):
        with winebench.WineBench("locale-fre") as bench:
            inst = Installation(bench)
            proc, title = self.run_with_locale(bench, inst, "fr_FR.UTF-8")
            self.assertTrue(has_trace(proc, "Tarnix:the Language code is 040c"))
            self.assertTrue(has_trace(proc, "language library QuvaStrings_FRE loaded"))
            self.assertEqual(title, "Tarnix - Étalonnage")

    def test_unknown_locale_and_missing_library_fall_back_to_english(self):
        with winebench.WineBench("locale-unknown") as bench:
            inst = Installation(bench)
            proc, title = self.run_with_locale(bench, inst, "nl_NL.UTF-8")
            self.assertTrue(has_trace(proc, "Tarnix:the Language code is 0413"))
            self.assertTrue(has_trace(proc, "language library QuvaStrings_ENG loaded"))
            self.assertEqual(title, "Tarnix - Calibration")
            os.unlink(bench.program_path("QuvaStrings_GER.dll"))
            proc, title = self.run_with_locale(bench, inst, "de_DE.UTF-8")
            self.assertTrue(has_trace(proc, "Tarnix: Default Loading QuvaStrings_ENG"))
            self.assertTrue(has_trace(proc, "language library QuvaStrings_ENG loaded"))

    def run_beside_planted(self, name, languages, locale, planted_in_program_folder=False):
        """A run whose working folder holds libraries with code under the language libraries'
        names; (the run, its title, the names of the libraries whose code ran)."""
        planted = target("planted_language_library", "tests/whole/planted/QuvaStrings_ENG.dll")
        with winebench.WineBench(name) as bench:
            inst = Installation(bench, languages=languages)
            work = os.path.join(bench.work_dir, "working-folder")
            os.makedirs(work)
            for library in ("QuvaStrings_ENG.dll", "QuvaStrings_FRE.dll"):
                shutil.copy(planted, os.path.join(work, library))
            if planted_in_program_folder:
                shutil.copy(planted, inst.folder)
            proc, title = self.run_with_locale(bench, inst, locale, cwd=work)
            # The planted code does run when a library is loaded the ordinary way.
            library = os.path.join(work, "QuvaStrings_FRE.dll")
            bench.wine(["rundll32", "Z:" + library.replace("/", "\\") + ",Planted"])
            self.assertTrue(wait_for(lambda: os.path.exists(library + ".ran"), 10))
            os.unlink(library + ".ran")
            ran = [n for folder in (work, inst.folder) for n in os.listdir(folder)
                   if n.endswith(".ran")]
            return proc, title, ran

    def test_libraries_are_loaded_as_data_from_the_program_folder_only(self):
        # French from the program folder, never the working folder's.
        proc, title, ran = self.run_beside_planted("planted-french", ("FRE",), "fr_FR.UTF-8")
        self.assertEqual((title, ran), ("Tarnix - Étalonnage", []))
        # No library in the program folder: the program's own texts, not the planted ones.
        proc, title, ran = self.run_beside_planted("planted-none", (), "fr_FR.UTF-8")
        self.assertTrue(has_trace(proc, "no language library: using the program's own texts"))
        self.assertEqual([], ran)
        # A library with code in the program folder gives its texts; its code never runs.
        proc, title, ran = self.run_beside_planted("planted-program", (), None, True)
        self.assertTrue(has_trace(proc, "language library QuvaStrings_ENG loaded"))
        self.assertEqual((title, ran), ("Tarnix - Calibration", []))

    def test_no_library_at_all_uses_the_programs_own_texts(self):
        with winebench.WineBench("locale-none") as bench:
            inst = Installation(bench, languages=())
            proc, title = self.run_with_locale(bench, inst, None)
            self.assertTrue(has_trace(proc, "no language library: using the program's own texts"))
            self.assertEqual(title, "Tarnix - Calibration")  # own text 131


class GridCheck(unittest.TestCase):
    def test_order_3_with_9_points_shows_text_452_with_10_and_starts_no_pass(self):
        cfg = "[TARNIX-APP]\nNumGridRows=3\nNumGridPoints=9\nFitModelCode=13\n"
        with winebench.WineBench("grid-too-small") as bench:
            inst = Installation(bench, cfg=cfg)
            proc = inst.run()
            close_message_box(bench)
            self.assertEqual(proc.wait(20), 0)
            self.assertTrue(has_trace(proc, "9 grid points, order 3 needs 10: stop"))
            self.assertTrue(has_trace(proc, "it needs at least 10 grid points"))
            self.assertFalse(any("GetFirstCalTouch" in c for c in inst.calls()))
            self.assertIsNone(bench.reg_query(r"HKCU\Control Panel\Cursors", "(Default)"))
            self.assertIsNone(bench.reg_query(r"HKCU\Control Panel\Cursors\LastScheme"))


class Neighbours(unittest.TestCase):
    def test_desktop_monitor_closed_at_start_and_started_again_at_exit(self):
        with winebench.WineBench("dkmon") as bench:
            inst = Installation(bench)
            dkmon = bench.run(bench.program_path("QuvaDkMon.exe"), cwd=inst.folder)
            self.assertTrue(wait_for(lambda: any("start: waiting" in c for c in inst.dkmon_log())))
            proc = inst.run()
            window = bench.wait_window("^Tarnix - Calibration$")
            self.assertEqual(dkmon.wait(20), 0)
            self.assertTrue(any("exit: QuvaDskMonClose was set" in c for c in inst.dkmon_log()))
            bench.key("Escape", window=window)
            self.assertEqual(proc.wait(20), 0)
            self.assertTrue(wait_for(lambda: sum("start: waiting" in c
                                                 for c in inst.dkmon_log()) == 2))
            pids = {c.split("pid=")[1].split()[0] for c in inst.dkmon_log() if "pid=" in c}
            self.assertEqual(len(pids), 2)

    def test_transparent_option_makes_the_window_layered_with_alpha_178(self):
        with winebench.WineBench("transparent") as bench:
            inst = Installation(bench, options="[Calibration]\nTransparent=1\n")
            proc = inst.run()
            window = bench.wait_window("^Tarnix - Calibration$")
            self.assertTrue(wait_for(lambda: bench.opacity(window) is not None, 10))
            self.assertEqual(bench.opacity(window) * 255 // 0xffffffff, 178)
            bench.key("Escape", window=window)
            self.assertEqual(proc.wait(20), 0)

    def test_opaque_by_default(self):
        with winebench.WineBench("opaque") as bench:
            inst = Installation(bench)
            proc = inst.run()
            window = bench.wait_window("^Tarnix - Calibration$")
            time.sleep(0.5)
            self.assertIsNone(bench.opacity(window))
            bench.key("Escape", window=window)
            self.assertEqual(proc.wait(20), 0)


if __name__ == "__main__":
    unittest.main()
