"""Shared set-up of the calibration window's whole-program tests: installs Tarnix.exe, its
language libraries and the stand-in controller into a bench prefix, writes the data files and
reads what the run left behind (debugger traces, the stand-in's call log)."""

import os
import shutil

import winebench

BUILD_DIR = os.environ.get("TARNIX_BUILD_DIR", "")
LANGUAGES = ("ENG", "FRE", "GER", "ITA", "SPA", "JAP", "CHI", "MDN")

# A default 5 x 5 grid, order 3, no mini targets, no simulation.
GRID_5X5 = """[TARNIX-APP]
NumGridRows=5
NumGridPoints=25
FitModelCode=13
"""


def target(name, fallback):
    """A built program's path: TARNIX_TARGET_<name> from CTest, else the build tree."""
    path = os.environ.get("TARNIX_TARGET_" + name) or os.path.join(BUILD_DIR, fallback)
    if not os.path.exists(path):
        raise winebench.BenchError("%s not built (%s)" % (name, path))
    return path


def tarnix_exe():
    return target("Tarnix", "app/Tarnix.exe")


def language_dll(suffix):
    return target("QuvaStrings_" + suffix, "resources/QuvaStrings_%s.dll" % suffix)


def driver_dll(old=False):
    if old:
        return target("simcontroller_dll_old", "simcontroller/old-driver/QuvaIntf.dll")
    return target("simcontroller_dll", "simcontroller/QuvaIntf.dll")


def dkmon_exe():
    return target("QuvaDkMon", "simcontroller/QuvaDkMon.exe")


class Installation:
    """The program folder of one bench prefix, filled for a test."""

    def __init__(self, bench, cfg=GRID_5X5, languages=LANGUAGES, old_driver=False, screens=1,
                 options=None, video=None, sim_extra=""):
        self.bench = bench
        self.folder = bench.program_path()
        os.makedirs(self.folder, exist_ok=True)
        bench.install([tarnix_exe(), driver_dll(old_driver), dkmon_exe()])
        bench.install([language_dll(s) for s in languages])
        bench.write_file(bench.program_path("Tarnix.cfg"), cfg)
        bench.write_file(bench.program_path("QuvaOptions.ini"),
                         options or "[Calibration]\nTransparent=0\n")
        if video is not None:
            bench.write_file(bench.program_path("QuvaVideo.txt"), video)
        self.log_folder = bench.data_path("SimLogs")
        bench.write_file(bench.program_path("SimController.ini"),
                         "[SimController]\nScreenCount=%d\nLogFolder=C:\\ProgramData\\SimLogs\n%s"
                         % (screens, sim_extra))
        bench.reg_add(r"HKLM\Software\Quvatec", "EnableDebug", 1, kind="REG_DWORD")

    def exe(self):
        return self.bench.program_path("Tarnix.exe")

    def run(self, args=(), env=None, timeout=40):
        return self.bench.run(self.exe(), args=args, env=env, timeout=timeout,
                              cwd=self.folder)

    def calls(self):
        """The stand-in controller's call log lines (empty when it wrote none)."""
        path = os.path.join(self.log_folder, "Calls.log")
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read().splitlines()

    def dkmon_log(self):
        path = os.path.join(self.log_folder, "QuvaDkMon", "Calls.log")
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read().splitlines()


def traces(proc):
    """The program's trace lines, without their line ends."""
    return [line.rstrip("\n") for line in proc.debug_strings()]


def has_trace(proc, text):
    return any(text in line for line in traces(proc))
