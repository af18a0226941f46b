"""The staged `cmake --install` tree: every file the program expects, and no runtime DLL needed."""
import os
import re
import subprocess
import unittest

ROOT = os.environ["TARNIX_INSTALL_ROOT"]
PROGRAM_DIR = os.path.join(ROOT, "Program Files", "Zeph", "Touch")
OBJDUMP = "x86_64-w64-mingw32-objdump"
BUILT_IN_MODES = ("2048,1536 1600,1200 1280,960 640,480 800,600 1024,768 2304,1728 1152,864 "
                  "1280,1024 1792,1344 1856,1392 1920,1440").split()
LANGUAGES = ("ENG", "FRE", "GER", "ITA", "SPA", "JAP", "CHI", "MDN")


def imported_dlls(path):
    out = subprocess.run([OBJDUMP, "-p", path], capture_output=True, text=True, timeout=60,
                         check=True).stdout
    return [name.lower() for name in re.findall(r"DLL Name: (\S+)", out)]


class InstallLayout(unittest.TestCase):
    def test_program_folder_holds_the_program_driver_languages_and_defaults(self):
        expected = ["Tarnix.exe", "QuvaIntf.dll", "Tarnix.cfg", "QuvaOptions.ini", "QuvaVideo.txt"]
        expected += ["QuvaStrings_%s.dll" % lang for lang in LANGUAGES]
        missing = [f for f in expected if not os.path.isfile(os.path.join(PROGRAM_DIR, f))]
        self.assertEqual([], missing)

    def test_default_data_files(self):
        def read(name):
            with open(os.path.join(PROGRAM_DIR, name), "rb") as f:
                return f.read().decode("ascii")
        self.assertEqual(BUILT_IN_MODES, read("QuvaVideo.txt").split())
        options = [line for line in read("QuvaOptions.ini").split("\r\n")
                   if line and not line.startswith(";")]
        self.assertEqual(["[Calibration]", "Transparent=0"], options)
        cfg = read("Tarnix.cfg")
        self.assertNotIn("\n", cfg.replace("\r\n", ""), "every line ends in CR LF")
        keys = dict(re.findall(r"^(\w+)=(.*?)\r$", cfg, re.M))
        self.assertEqual(("6", "36", "17", "4", "1", "1"),
                         (keys["NumGridRows"], keys["NumGridPoints"], keys["FitModelCode"],
                          keys["FitTerms"], keys["GridSpacing"], keys["RevertUnaccepted"]))
        self.assertIn("[TARNIX-APP]", cfg)

    def test_binaries_need_no_mingw_runtime_and_import_the_driver_by_name(self):
        for name in os.listdir(PROGRAM_DIR):
            if name.lower().endswith((".exe", ".dll")):
                dlls = imported_dlls(os.path.join(PROGRAM_DIR, name))
                runtime = [d for d in dlls if re.match(r"lib(stdc\+\+|gcc_s|winpthread)", d)]
                self.assertEqual([], runtime, name)
        self.assertIn("quvaintf.dll", imported_dlls(os.path.join(PROGRAM_DIR, "Tarnix.exe")))


if __name__ == "__main__":
    unittest.main()
