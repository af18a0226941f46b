"""tarnix-fit run as a program: summary, reports against golden files, record, errors.

Environment: TARNIX_FIT_COMMAND (the program, with a runner prefix such as wine-run, separated by
the unit separator \\x1f), TARNIX_FIT_WINE (1: paths are handed over as Z: paths), TARNIX_FIT_SOURCE
(the source tree), TARNIX_FIT_WORK (a scratch folder), TARNIX_FIT_QUICK (1: only the golden runs).
"""
import json
import os
import re
import shutil
import subprocess
import unittest

COMMAND = os.environ["TARNIX_FIT_COMMAND"].split("\x1f")
WINE = os.environ.get("TARNIX_FIT_WINE") == "1"
SOURCE = os.environ["TARNIX_FIT_SOURCE"]
WORK = os.environ["TARNIX_FIT_WORK"]
QUICK = os.environ.get("TARNIX_FIT_QUICK") == "1"
GOLDEN = os.path.join(SOURCE, "tests", "fit", "golden")
REPORTS = ["symmetrized.txt", "Coefficients.txt", "SvdFitInputs.txt", "SvdFitOutputs.txt"]


def program_path(path):
    path = os.path.abspath(path)
    return "Z:" + path.replace("/", "\\") if WINE else path


def run(*args, timeout=240):
    done = subprocess.run(COMMAND + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          timeout=timeout)
    return done.returncode, done.stdout.decode("ascii", "replace"), done.stderr.decode(
        "ascii", "replace")


def scratch(name):
    folder = os.path.join(WORK, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


def read(path):
    with open(path, "rb") as file:
        return file.read()


class GoldenReports(unittest.TestCase):
    def check_example(self, name, config, *extra):
        folder = scratch(name)
        code, out, err = run("--config", program_path(config), "--reports",
                             program_path(os.path.join(folder, "reports")), *extra)
        self.assertEqual(code, 0, err)
        self.assertIn("Model: kind 1 (polynomial)", out)
        self.assertIn(" RMS ", out)
        self.assertIn("Rotation: ", out)
        for report in REPORTS:
            written = read(os.path.join(folder, "reports", report))
            self.assertEqual(written, read(os.path.join(GOLDEN, name, report)), report)
            self.assertNotIn(b"\n", written.replace(b"\r\n", b""), report)
        return out

    def test_shipped_example(self):
        out = self.check_example("sim-5x5", os.path.join(SOURCE, "resources", "examples",
                                                         "sim-5x5.cfg"))
        self.assertIn("order 3, 10 terms", out)
        self.assertIn("Points: 25 grid points (5 x 5), 0 mini targets", out)

    def test_mini_targets(self):
        out = self.check_example("mini-7x7", os.path.join(SOURCE, "tests", "fit", "data",
                                                          "mini-7x7.cfg"),
                                 "--caption-height", "330", "--monitor", "1280x1024")
        self.assertIn("11 mini targets", out)
        self.assertIn("Monitor: 1280 x 1024 pixels", out)


@unittest.skipIf(QUICK, "the golden runs only")
class CommandLine(unittest.TestCase):
    example = os.path.join(SOURCE, "resources", "examples", "sim-5x5.cfg")

    def write_cfg(self, name, text):
        path = os.path.join(scratch(name), "Tarnix.cfg")
        with open(path, "w") as file:
            file.write("[TARNIX-APP]\n" + text)
        return path

    def test_help(self):
        code, out, _ = run("--help")
        self.assertEqual(code, 0)
        self.assertIn("usage: tarnix-fit --config FILE", out)

    def test_usage_errors(self):
        for args in ([], ["--bogus"], ["--config"], ["--config", self.example, "--monitor", "12"]):
            code, _, err = run(*args)
            self.assertEqual(code, 2, args)
            self.assertIn("tarnix-fit: ", err)

    def test_missing_file(self):
        code, _, err = run("--config", program_path(os.path.join(WORK, "no-such.cfg")))
        self.assertEqual(code, 3)
        self.assertIn("no such file", err)

    def test_unreadable_file(self):
        path = self.write_cfg("unreadable", "NumGridRows=5\n")
        os.chmod(path, 0)
        try:
            if os.access(path, os.R_OK):
                self.skipTest("running with rights that read any file")
            code, _, err = run("--config", program_path(path))
            self.assertEqual(code, 3)
            self.assertIn("cannot read", err)
        finally:
            os.chmod(path, 0o644)

    def test_too_few_grid_points(self):
        path = self.write_cfg("few", "NumGridRows=3\nNumGridPoints=9\nFitModelCode=13\n")
        code, _, err = run("--config", program_path(path))
        self.assertEqual(code, 3)
        self.assertIn("too few grid points: 9", err)
        self.assertIn("at least 10", err)
        path = self.write_cfg("few-chosen", "NumGridRows=2\nNumGridPoints=4\nFitTerms=4\n")
        code, _, err = run("--config", program_path(path))
        self.assertEqual(code, 3)
        self.assertIn("too few grid points: 4 for the choice of models (FitTerms=4), which needs "
                      "at least 6", err)

    def test_a_record_of_more_terms_than_touches_holds_the_chosen_model(self):
        """The shipped order 7 (36 terms) on a 5 x 5 grid: the model choice fits what 25 touches
        determine and writes it into the record's terms; every term through them is refused."""
        with open(self.example) as file:
            touches = "".join(line for line in file if line.startswith("TouchGrid"))
        chosen = self.write_cfg("chosen-5x5", "FitModelCode=17\nFitTerms=4\n" + touches)
        code, out, err = run("--config", program_path(chosen), "--json")
        self.assertEqual(code, 0, err)
        data = json.loads(out)
        self.assertEqual(data["Verdict"], "sound")
        self.assertEqual(data["TermCount"], 36)
        self.assertEqual(len(data["CoeffX"]), 36)
        every = self.write_cfg("every-5x5", "FitModelCode=17\nFitTerms=0\n" + touches)
        code, _, err = run("--config", program_path(every))
        self.assertEqual(code, 3)
        self.assertIn("too few grid points: 25 for a polynomial of order 7, which needs at least "
                      "36", err)

    def test_zero_counts_in_a_folder_named_with_accents(self):
        """NumGridRows=0 and NumGridPoints=0 make a 2 x 2 grid; a non-ASCII path is no crash. Four
        touches determine no model with room to judge it: the fit is refused, not forced through
        them."""
        touches = [(1000, 1000), (3000, 1010), (990, 3000), (3010, 2990)]
        keys = "".join("TouchGridX%02d=%d\nTouchGridY%02d=%d\n" % (i, v, i, w)
                       for i, (v, w) in enumerate(touches))
        folder = scratch("\u00e9-zero")
        path = os.path.join(folder, "\u00e9.cfg")
        with open(path, "w", newline="\r\n") as file:
            file.write("[TARNIX-APP]\nNumGridRows=0\nNumGridPoints=0\nFitModelCode=11\n" + keys)
        code, out, err = run("--config", program_path(path), "--reports",
                             program_path(os.path.join(folder, "r-\u00e9")))
        self.assertEqual(code, 1, err)
        self.assertIn("the touches determine no model the record can hold", err)
        self.assertTrue(os.path.isfile(os.path.join(folder, "r-\u00e9", "Coefficients.txt")))

    def test_missing_touch_keys(self):
        keys = "".join("TouchGridX%02d=%d\nTouchGridY%02d=%d\n" % (i, 500 + i, i, 600 + i)
                       for i in range(25) if i != 7)
        path = self.write_cfg("keys", "FitModelCode=11\n" + keys)
        code, _, err = run("--config", program_path(path), "--reports",
                           program_path(os.path.join(WORK, "keys", "r")))
        self.assertEqual(code, 3)
        self.assertIn("missing TouchGrid keys (first: TouchGridX07)", err)

    def test_a_configuration_over_the_reading_limit_is_refused_whole(self):
        # 4 MiB + 4 bytes: the value at the end would have been read cut short.
        keys = "FitModelCode=11\n;"
        tail = "\nMaxFitResidual=12.5\n"
        filler = 4 * 1024 * 1024 + 4 - len("[TARNIX-APP]\n") - len(keys) - len(tail)
        path = self.write_cfg("oversized", keys + "x" * filler + tail)
        self.assertEqual(os.path.getsize(path), 4 * 1024 * 1024 + 4)
        code, out, err = run("--config", program_path(path))
        self.assertEqual(code, 3)
        self.assertEqual(out, "")
        self.assertIn("holds 4194308 bytes, more than the limit of 4194304: it is not read", err)
        self.assertIn("Tarnix.cfg", err)

    def test_laplace_kinds_run_or_say_not_built_yet(self):
        source = read(self.example).decode("ascii").replace("\r\n", "\n")
        source = source.replace("FitModelCode=13", "FitModelCode=43")
        path = self.write_cfg("laplace", source.replace("[TARNIX-APP]\n", ""))
        code, out, err = run("--config", program_path(path), "--reports",
                             program_path(os.path.join(WORK, "laplace", "r")))
        if code == 0:
            self.assertIn("Model: kind 4 (symmetric Laplace), order 3", out)
        else:
            self.assertEqual(code, 4)
            self.assertIn("not built yet", err)

    def test_json_and_record(self):
        folder = scratch("json")
        record = os.path.join(folder, "record.bin")
        code, out, err = run("--config", program_path(self.example), "--json", "--reports",
                             program_path(os.path.join(folder, "r")), "--record",
                             program_path(record))
        self.assertEqual(code, 0, err)
        data = json.loads(out)
        for key in ("CoeffX", "CoeffY", "TermCount", "ControllerOffset", "ScaleFactor", "OffsetV",
                    "OffsetW", "RotationDegrees", "MiniTargetDistance", "MiniTargetDeltaX",
                    "MiniTargetDeltaY", "MiniTargetX", "MiniTargetY", "MiniTargetSpacing"):
            self.assertIn(key, data)
        self.assertEqual(data["TermCount"], 10)
        self.assertEqual(len(data["CoeffX"]), 10)
        self.assertEqual(data["ControllerOffset"], 2047.5)
        self.assertIn("0.0002442002442002442", out)  # 17 significant digits
        self.assertEqual(len(data["MiniTargetSpacing"]), 11)
        blob = read(record)
        self.assertEqual(len(blob), 1257)
        self.assertEqual(int.from_bytes(blob[77:81], "little"), 1920)
        self.assertEqual(int.from_bytes(blob[113:117], "little", signed=True),
                         int(data["CoeffX"][1] * 16384))
        code, out, err = run("--decode", program_path(record))
        self.assertEqual(code, 0, err)
        self.assertIn("AreaWidth              = 1920", out)
        self.assertIn("ReferenceTarget[1]     = screen (1680, 945), controller (57344, 57344)", out)
        self.assertIn("reserved bytes         = all zero", out)

    def test_the_gate_of_the_calibration_window(self):
        """A dead sensor and a residual above MaxFitResidual: the summary or JSON with the
        verdict, exit 1, the reason on stderr and no record; MaxFitResidual=0 lifts the bound."""
        dead = "".join("TouchGridX%02d=1500\nTouchGridY%02d=2500\n" % (i, i) for i in range(25))
        source = read(self.example).decode("ascii").replace("\r\n", "\n")
        source = source.replace("[TARNIX-APP]\n", "")
        cases = [("dead", "Simulate=1\n" + dead, 1, "rank-deficient"),
                 ("tight", source + "MaxFitResidual=0.1\n", 1, "residual-too-large"),
                 ("off", source + "MaxFitResidual=0\n", 0, "sound")]
        for name, text, status, verdict in cases:
            path = self.write_cfg(name, text)
            record = os.path.join(WORK, name, "record.bin")
            code, out, err = run("--config", program_path(path), "--json", "--reports",
                                 program_path(os.path.join(WORK, name, "r")), "--record",
                                 program_path(record))
            self.assertEqual(code, status, name + err)
            self.assertEqual(json.loads(out)["Verdict"], verdict, name)
            self.assertEqual(os.path.exists(record), status == 0, name)
            if status:
                self.assertIn("the calibration window would refuse this fit", err)
        code, out, err = run("--config", program_path(self.write_cfg("dead", dead)), "--reports",
                             program_path(os.path.join(WORK, "dead", "r")))
        self.assertEqual(code, 1)
        self.assertIn("Verdict: the touches do not span the screen", out)
        self.assertIn("rank-deficient", err)

    def test_a_refused_fit_prints_its_json(self):
        """A touch of 1e200 and ScaleFactor=1e300 make the fit refuse: the JSON still comes,
        strict (no NaN or Infinity), with the verdict fit-failed, null for the fit's results and
        the figures there are; exit 1 with the reason on stderr, no record."""
        def strict(constant):
            raise ValueError("not JSON: " + constant)

        source = read(self.example).decode("ascii").replace("\r\n", "\n")
        source = source.replace("[TARNIX-APP]\n", "")
        far = re.sub(r"(?m)^TouchGridX07=.*$", "TouchGridX07=1e200", source)
        cases = [("far-touch", far), ("huge-scale", "ScaleFactor=1e300\n" + source)]
        for name, text in cases:
            path = self.write_cfg(name, text)
            record = os.path.join(WORK, name, "record.bin")
            code, out, err = run("--config", program_path(path), "--json", "--reports",
                                 program_path(os.path.join(WORK, name, "r")), "--record",
                                 program_path(record))
            self.assertEqual(code, 1, name)
            self.assertIn("the fit refused the data", err)
            data = json.loads(out, parse_constant=strict)
            self.assertEqual(data["Verdict"], "fit-failed", name)
            for key in ("CoeffX", "CoeffY", "OffsetV", "RotationDegrees", "MiniTargetSpacing"):
                self.assertIsNone(data[key], name + " " + key)
            self.assertEqual(data["TermCount"], 10, name)
            self.assertEqual(len(data["DeletedResidualMm"]), 25, name)
            self.assertFalse(os.path.exists(record), name)
        self.assertEqual(data["ScaleFactor"], 1e300)
        self.assertGreater(data["TouchScatterMm"], 0.0)

    def test_a_sensor_with_swapped_axes_fits(self):
        """V follows the screen's rows and W its columns: the touches' symmetric parts vanish,
        so do the cross and dot products, and the rotation estimate is 0 (it was not a number,
        and the pass was refused as a record overflow); the record maps W across."""
        keys = ""
        for i in range(25):
            row, column = divmod(i, 5)
            keys += "TouchGridX%02d=%d\nTouchGridY%02d=%d\n" % (
                i, 400 + 800 * row + 3 * row * row, i, 3700 - 790 * column)
        folder = scratch("swapped")
        path = self.write_cfg("swapped", "FitModelCode=13\nSimulate=1\n" + keys)
        record = os.path.join(folder, "record.bin")
        code, out, err = run("--config", program_path(path), "--json", "--reports",
                             program_path(os.path.join(folder, "r")), "--record",
                             program_path(record))
        self.assertEqual(code, 0, err)
        data = json.loads(out)
        self.assertEqual(data["Verdict"], "sound")
        self.assertEqual(data["RotationDegrees"], 0.0)
        symmetrized = read(os.path.join(folder, "r", "symmetrized.txt")).decode("ascii")
        self.assertIn("Dot Product of Symmetrized Values   =        0.000", symmetrized)
        blob = read(record)
        coefficient = [int.from_bytes(blob[at:at + 4], "little", signed=True)
                       for at in (113, 117)]  # CoeffX of V and of W
        self.assertLess(abs(coefficient[0]), 200)
        self.assertLess(coefficient[1], -16384)

    def test_the_judge_names_suspects_and_refuses_only_past_three(self):
        """A touch 10 mm off (120 counts) is a suspect: exit 0 (the window would ask again), its
        deleted residual and the scatter in the summary and the JSON; four are refused."""
        source = read(self.example).decode("ascii").replace("\r\n", "\n")
        source = source.replace("[TARNIX-APP]\n", "")

        def moved(text, indices):
            for i in indices:
                key = "TouchGridX%02d=" % i
                start = text.index(key) + len(key)
                end = text.index("\n", start)
                text = text[:start] + "%.5f" % (float(text[start:end]) + 120) + text[end:]
            return text

        one = self.write_cfg("one-off", moved(source, [0]))
        code, out, err = run("--config", program_path(one), "--json", "--reports",
                             program_path(os.path.join(WORK, "one-off", "r")))
        self.assertEqual(code, 0, err)
        data = json.loads(out)
        self.assertEqual(data["Suspects"], [0])
        self.assertGreater(data["DeletedResidualMm"][0], 5.0)
        self.assertLess(data["TouchScatterMm"], 1.0)
        self.assertEqual(data["Verdict"], "sound")
        code, out, _ = run("--config", program_path(one), "--reports",
                           program_path(os.path.join(WORK, "one-off", "r")))
        self.assertIn("Suspects: 0\n", out.replace("\r\n", "\n"))
        self.assertIn("Scatter: ", out)
        four = self.write_cfg("four-off", moved(source, [0, 6, 18, 24]))
        code, out, err = run("--config", program_path(four), "--json", "--reports",
                             program_path(os.path.join(WORK, "four-off", "r")))
        self.assertEqual(code, 1, err)
        self.assertEqual(json.loads(out)["Verdict"], "touches-disagree")
        self.assertEqual(sorted(json.loads(out)["Suspects"]), [0, 6, 18, 24])

    def test_expected_error_line_and_map(self):
        """The expected error of the calibration in mm on the panel given, its map as an SVG with
        the targets; none for a dead sensor, whose mapping reaches no point of the area."""
        folder = scratch("expected")
        svg = os.path.join(folder, "map.svg")
        figures = []
        for panel in ("344.2x193.6", "688.4x387.2"):
            code, out, err = run("--config", program_path(self.example), "--reports",
                                 program_path(os.path.join(folder, "r")), "--panel", panel,
                                 "--svg", program_path(svg))
            self.assertEqual(code, 0, err)
            line = re.search(r"Expected error of the calibration: [0-9.]+ mm RMS \(scatter "
                             r"([0-9.]+) mm per axis, misfit [0-9.]+ mm\); at worst ([0-9.]+) mm "
                             r"inside \(3.5 mm or more from every edge\), ([0-9.]+) mm at the "
                             r"edges", out)
            self.assertIsNotNone(line, out)
            figures.append([float(v) for v in line.groups()])
            drawing = read(svg).decode("ascii")
            self.assertEqual(drawing.count('r="7"'), 25)  # the targets
            self.assertTrue(drawing.rstrip().endswith("</svg>"))
        scatter, inside, edge = figures[0]
        self.assertGreater(scatter, 0.0)
        self.assertLessEqual(scatter, inside)
        self.assertLess(inside, edge)  # the 5 x 5 grid stands 10 % in from the edges
        # Twice the panel, twice the millimetres of the same pixels.
        self.assertAlmostEqual(figures[1][0], 2 * scatter, delta=0.011)
        code, _, err = run("--config", program_path(self.example), "--panel", "wide")
        self.assertEqual(code, 2)
        self.assertIn("--panel needs WIDTHxHEIGHT in millimetres", err)
        dead = "".join("TouchGridX%02d=1500\nTouchGridY%02d=2500\n" % (i, i) for i in range(25))
        code, out, err = run("--config", program_path(self.write_cfg("dead-map", dead)),
                             "--reports", program_path(os.path.join(WORK, "dead-map", "r")),
                             "--svg", program_path(os.path.join(WORK, "dead-map", "map.svg")))
        self.assertIn("Expected error of the calibration: not known", out)
        self.assertEqual(code, 1, err)  # the refusal comes first
        self.assertIn("no expected-error map", err)
        code, _, err = run("--config", program_path(self.example), "--reports",
                           program_path(os.path.join(folder, "r")), "--svg",
                           program_path(os.path.join(folder, "no-such-folder", "map.svg")))
        self.assertEqual(code, 5)
        self.assertIn("cannot write", err)

    def test_check_touches_measured_against_the_record(self):
        """Check touches of the pass file (a place between four targets, touched as their mean
        touch, and one 120 counts off there) are mapped by the record the fit packs: the honest
        one within its bound, the other beyond it."""
        source = read(self.example).decode("ascii").replace("\r\n", "\n")
        source = source.replace("[TARNIX-APP]\n", "")
        touch = {k: float(v) for k, v in re.findall(r"(TouchGrid[XY]\d\d)=([-0-9.]+)", source)}
        mean = [sum(touch["TouchGrid%s%02d" % (axis, i)] for i in (0, 1, 5, 6)) / 4
                for axis in "XY"]

        def checks(*touches):
            return "".join("CheckPlaceX%02d=0.2\nCheckPlaceY%02d=0.2\nCheckTouchX%02d=%.3f\n"
                           "CheckTouchY%02d=%.3f\n" % (n, n, n, v, n, w)
                           for n, (v, w) in enumerate(touches))

        for name, extra, verdict in (
                ("check-within", checks(mean), "; all within"),
                ("check-beyond", checks(mean, (mean[0] + 120, mean[1])),
                 "; check 1 beyond its bound")):
            path = self.write_cfg(name, source + extra)
            code, out, err = run("--config", program_path(path), "--reports",
                                 program_path(os.path.join(WORK, name, "r")))
            self.assertEqual(code, 0, err)
            line = re.search(r"Check touches: (\d+), missed by \(mm\):([ 0-9.]+); bounds "
                             r"\(mm\):([ 0-9.]+)(.*)", out)
            self.assertIsNotNone(line, out)
            misses = [float(v) for v in line.group(2).split()]
            self.assertLess(misses[0], 1.0)
            self.assertTrue(line.group(4).startswith(verdict), line.group(4))
        self.assertGreater(misses[1], 5.0)
        code, out, _ = run("--config", program_path(self.example), "--reports",
                           program_path(os.path.join(WORK, "check-within", "r")))
        self.assertNotIn("Check touches", out)

    def test_decode_rejects_other_files(self):
        code, _, err = run("--decode", program_path(self.example))
        self.assertEqual(code, 3)
        self.assertIn("not a calibration record", err)


if __name__ == "__main__":
    unittest.main()
