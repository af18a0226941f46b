"""Shared set-up of the calibration passes' whole-program tests: a bench prefix with Tarnix.exe,
the English texts and the stand-in controller (pointer or script source), the target positions
of an area, waits on the screen and on the stand-in's logs, records and their fit fields."""

import math
import os
import re
import shutil
import struct
import time

import winebench

BUILD_DIR = os.environ.get("TARNIX_BUILD_DIR", "")
SOURCE_DIR = os.environ.get("TARNIX_SOURCE_DIR",
                            os.path.dirname(os.path.dirname(os.path.dirname(__file__))))
CAPTION_TWIPS = 330  # mini targets of 22 pixels
BACKGROUND = (140, 215, 242)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)

GRID_5X5 = "[TARNIX-APP]\nNumGridRows=5\nNumGridPoints=25\nFitModelCode=13\n"
# A person touches a target some time after it appears; Tarnix drops a touch that comes less
# than 150 ms after its target was drawn (a bounce). Scripted and clicked touches wait this long.
REACTION_MS = 200
RECORD_SIZE = 1257
FIT_FIELDS = slice(109, 1161)  # coefficients .. mini-target spacing


def target(name, fallback):
    """A built program's path: TARNIX_TARGET_<name> from CTest, else the build tree."""
    path = os.environ.get("TARNIX_TARGET_" + name) or os.path.join(BUILD_DIR, fallback)
    if not os.path.exists(path):
        raise winebench.BenchError("%s not built (%s)" % (name, path))
    return path


def wait_for(condition, timeout=20.0, step=0.05):
    """True as soon as condition() holds; False after timeout seconds."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(step)
    return bool(condition())


def lobatto_nodes(count):
    """The Gauss-Lobatto points of count nodes on -1..1, as Tarnix places GridSpacing=1 lines."""
    nodes = []
    for k in range(count):
        t = -math.cos(math.pi * k / (count - 1))
        for _ in range(100):
            previous, legendre = 1.0, t
            for m in range(2, count):
                previous, legendre = legendre, ((2 * m - 1) * t * legendre - (m - 1) * previous) / m
            change = (t * legendre - previous) / (count * legendre)
            t -= change
            if abs(change) < 1e-15:
                break
        nodes.append(t)
    return nodes


def grid_targets(width, height, rows=5, points=25, magnification=1.0, spacing=0):
    """Pixel positions (1-based list index + 1 = target number) of the grid targets: cell centres,
    spread about the centre by GridMagnification (evenly, or at the Gauss-Lobatto points with
    GridSpacing=1) as Tarnix does."""
    columns = points // rows

    def place(index, count):
        if abs(magnification - 1.0) <= 0.0001 and spacing != 1:
            return (index + 0.5) / count
        span = magnification * ((count - 1 + 0.5) / count - 0.5 / count)  # as Tarnix rounds
        if spacing == 1:
            return 0.5 + 0.5 * span * lobatto_nodes(count)[index]
        return 0.5 * (1 - span) + index * span / (count - 1)

    return [(int(width * place(column, columns)), int(height * place(row, rows)))
            for row in range(rows) for column in range(columns)]


def cfg_grid(text):
    """(rows, points, magnification, spacing) of a Tarnix.cfg's text, the defaults where keys are
    absent."""
    def value(key, default):
        m = re.search(r"^\s*%s\s*=\s*([0-9.]+)" % key, text, re.M | re.I)
        return float(m.group(1)) if m else default
    return (int(value("NumGridRows", 5)), int(value("NumGridPoints", 25)),
            value("GridMagnification", 1.0), int(value("GridSpacing", 0)))


def shipped_targets(width, height):
    """The grid target pixels of the shipped resources/defaults/Tarnix.cfg."""
    with open(os.path.join(SOURCE_DIR, "resources", "defaults", "Tarnix.cfg"),
              encoding="latin-1") as f:
        return grid_targets(width, height, *cfg_grid(f.read()))


def mini_targets(width, height, caption_twips=CAPTION_TWIPS):
    """Pixel positions of the eleven mini-target slots."""
    cap = caption_twips / 15.0
    half = cap / 2.0
    out = []
    for i in range(11):
        if i <= 2:
            fx, fy = (800.0 - half - i * cap) / 800.0, half / 600.0
        elif i == 3:
            fx, fy = half / 800.0, half / 600.0
        elif i == 4:
            fx, fy = half / 800.0, (600.0 - half) / 600.0
        else:
            fx, fy = (800.0 - half - (10 - i) * cap) / 800.0, (600.0 - half) / 600.0
        out.append((int(width * fx), int(height * fy)))
    return out


def fit_fields(record):
    return record[FIT_FIELDS]


def record_ints(record, offset, count):
    return list(struct.unpack_from("<%di" % count, record, offset))


class PassInstall:
    """The program folder of one bench prefix, filled for a pass test (with fill=False, a folder
    something else filled, such as the installer)."""

    def __init__(self, bench, cfg=GRID_5X5, source="pointer", script="", sim_extra="",
                 exe=None, screens=1, fill=True, log_name="SimLogs", reaction_ms=REACTION_MS):
        self.bench = bench
        self.folder = bench.program_path()
        self.log_name = log_name  # the stand-in's log folder under common application data
        self.reaction_ms = reaction_ms  # the script's delay of each touch
        self.tool_output = ""  # what fit_with_tool printed last
        self.log_folder = bench.data_path(log_name)
        if fill:
            self.fill(cfg, source, script, sim_extra, exe, screens)

    def fill(self, cfg, source, script, sim_extra, exe, screens):
        bench = self.bench
        os.makedirs(self.folder, exist_ok=True)
        bench.install([target("simcontroller_dll", "simcontroller/QuvaIntf.dll"),
                       target("QuvaDkMon", "simcontroller/QuvaDkMon.exe"),
                       target("QuvaStrings_ENG", "resources/QuvaStrings_ENG.dll")])
        bench.install(os.path.join(SOURCE_DIR, "resources", "cursors", "null.cur"))
        program = exe or target("Tarnix", "app/Tarnix.exe")
        shutil.copy(program, self.exe())
        bench.write_file(bench.program_path("Tarnix.cfg"), cfg)
        bench.write_file(bench.program_path("QuvaOptions.ini"), "[Calibration]\nTransparent=0\n")
        ini = "[SimController]\nScreenCount=%d\nLogFolder=%s\nTouchSource=%s\n" % (
            screens, "C:\\ProgramData\\" + self.log_name, source)
        if source == "script":
            bench.write_file(bench.program_path("SimTouches.txt"), script)
            ini += "ScriptFile=SimTouches.txt\nScriptDelayMs=%d\n" % self.reaction_ms
        ini += sim_extra
        bench.write_file(bench.program_path("SimController.ini"), ini)
        bench.reg_add(r"HKLM\Software\Quvatec", "EnableDebug", 1, kind="REG_DWORD")
        bench.reg_add(r"HKCU\Control Panel\Desktop\WindowMetrics", "CaptionHeight",
                      -CAPTION_TWIPS)

    def exe(self):
        return self.bench.program_path("Tarnix.exe")

    def run(self, args=(), env=None, timeout=60):
        return self.bench.run(self.exe(), args=args, env=env, timeout=timeout, cwd=self.folder)

    # ----- the stand-in's logs -------------------------------------------------------------
    def _lines(self, name):
        path = os.path.join(self.log_folder, name)
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read().splitlines()

    def calls(self):
        return self._lines("Calls.log")

    def count_calls(self, text):
        return sum(1 for line in self.calls() if text in line)

    def delivered(self):
        """(raw X, raw Y) of every touch the stand-in delivered, in order."""
        out = []
        for line in self._lines("Touches.log"):
            m = re.search(r"delivered serial=\d+ screen=\d+ x=(-?\d+) y=(-?\d+)", line)
            if m:
                out.append((int(m.group(1)), int(m.group(2))))
        return out

    def record(self, screen=0):
        path = os.path.join(self.log_folder, "CalibrationData-%d.bin" % screen)
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def history(self):
        """Every record the stand-in was given, in order."""
        path = os.path.join(self.log_folder, "CalibrationHistory.bin")
        if not os.path.exists(path):
            return []
        with open(path, "rb") as f:
            data = f.read()
        return [data[i:i + RECORD_SIZE] for i in range(0, len(data), RECORD_SIZE)]

    def reports(self):
        return self.bench.data_path("Zeph", "Touch")

    # ----- the screen ----------------------------------------------------------------------
    def pixels(self, x, y, width, height):
        """{(dx, dy): rgb} of a box of the screen now (Windows coordinates of the primary
        monitor), from one grab."""
        xx, yy = self.bench.to_x(x, y)
        out = self.bench.x(["import", "-window", "root", "-crop",
                            "%dx%d+%d+%d" % (width, height, xx, yy), "+repage", "-depth", "8",
                            "txt:-"], timeout=30)
        found = {}
        for line in out.splitlines():
            m = re.match(r"(\d+),(\d+): \((\d+),(\d+),(\d+)", line)
            if m:
                v = [int(g) for g in m.groups()]
                found[(v[0], v[1])] = tuple(v[2:])
        return found

    def pixel(self, x, y):
        return self.pixels(x, y, 1, 1)[(0, 0)]

    def target_shown(self, at):
        """A target is drawn: its cross at the centre, white up and left of it inside the
        innermost ring (so the black of an X screen without the window does not count)."""
        box = self.pixels(at[0] - 2, at[1] - 2, 3, 3)
        return box.get((2, 2)) == BLACK and box.get((0, 0)) == WHITE

    def wait_target_shown(self, at, timeout=10.0):
        """True once the target at a position is drawn and a person's reaction time has passed
        (a touch now is one the program keeps)."""
        shown = wait_for(lambda: self.target_shown(at), timeout, step=0.02)
        time.sleep(REACTION_MS / 1000.0)
        return shown

    def touch(self, at):
        self.bench.click(*self.bench.to_x(*at))

    def press(self, button, timeout=20.0):
        """Clicks a button of the finished pass once it shows: the record reaches the driver
        before the window shows its buttons, and a click before then goes nowhere."""
        if not wait_for(lambda: self.pixel(*button) != BACKGROUND, timeout):
            raise AssertionError("no button at %r" % (button,))
        self.touch(button)

    def fit_with_tool(self, cfg_text, monitor, record_path):
        """Runs tarnix-fit on a configuration; the record it wrote (bytes). What it printed is
        kept in tool_output."""
        tool = target("tarnix-fit", "tools/tarnix_fit/tarnix-fit.exe")
        cfg = os.path.join(self.bench.work_dir, "tool-%d.cfg" % time.monotonic_ns())
        self.bench.write_file(cfg, cfg_text)
        reports = os.path.join(self.bench.work_dir, "tool-reports")
        proc = self.bench.run(tool, ["--config", winepath(cfg), "--monitor", "%dx%d" % monitor,
                                     "--reports", winepath(reports), "--record",
                                     winepath(record_path)], timeout=60, capture_debug=False)
        code = proc.wait(60)
        if code != 0:
            raise AssertionError("tarnix-fit failed (%d): %s" % (code, proc.stderr()))
        self.tool_output = proc.stdout()
        with open(record_path, "rb") as f:
            return f.read()


def winepath(unix_path):
    """The Windows name of a Unix path (Wine maps / to drive Z:)."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def simulated_cfg(base_cfg, touches):
    """base_cfg with Simulate=1 and the touches (12-bit counts) as TouchGrid keys."""
    lines = [base_cfg.rstrip("\n"), "Simulate=1"]
    for i, (v, w) in enumerate(touches):
        lines.append("TouchGridX%02d=%d" % (i, v))
        lines.append("TouchGridY%02d=%d" % (i, w))
    return "\n".join(lines) + "\n"


def counts12(raw):
    return [(x >> 4, y >> 4) for x, y in raw]


def simcontroller_check(bench, record, name, settings=None, svg=True):
    """simcontroller-check's output on a record (written to the bench's work folder as NAME.bin;
    its error map to the artefacts as NAME.svg)."""
    path = os.path.join(bench.work_dir, name + ".bin")
    with open(path, "wb") as f:
        f.write(record)
    args = [winepath(path)]
    if svg:
        args += ["--svg", winepath(os.path.join(bench.artefact_dir, name + ".svg"))]
    if settings:
        args += ["--settings", winepath(settings)]
    proc = bench.run(target("simcontroller-check", "simcontroller/simcontroller-check.exe"),
                     args, timeout=60, capture_debug=False)
    if proc.wait(60) != 0:
        raise AssertionError("simcontroller-check failed: " + proc.stderr())
    out = proc.stdout()
    print("%s: %s" % (name, out))
    return out
