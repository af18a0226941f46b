"""The Windows Installer package under Wine, from a fresh prefix to its removal: the program, its
texts and defaults, null.cur, the scheme list and the Start-menu shortcut, and no driver library;
a kiosk seeded from its siblings (TARNIXSEED) that restores their typical record;
the stand-in controller's feature on request; a reinstall and an upgrade to the next version that
keep the technician's Tarnix.cfg;
the installed Tarnix.exe run as a standard user (machine scheme key read-only, Windows and cursors
folders unwritable) hiding the pointer, showing its first target, writing a record from a scripted
pass and restoring the pointer; and an uninstall that leaves nothing of the product but the
reports."""

import glob
import os
import re
import shutil
import struct
import subprocess
import unittest
import uuid

import winebench
from pass_setup import (GRID_5X5, REACTION_MS, PassInstall, grid_targets, target, wait_for,
                        winepath)

MSI = os.environ.get("TARNIX_MSI", "")
SOURCE_DIR = os.environ.get("TARNIX_SOURCE_DIR", "")
SCHEMES = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Control Panel\Cursors\Schemes"
SCHEMES_KEY = SCHEMES.split("\\", 1)[1]
CURSORS = r"HKCU\Control Panel\Cursors"
LANGUAGES = ("ENG", "FRE", "GER", "ITA", "SPA", "JAP", "CHI", "MDN")
PRODUCT_FILES = (["Tarnix.exe", "tarnix-fit.exe", "tarnix-history.exe", "tarnix-fleet.exe",
                  "Tarnix.cfg", "QuvaOptions.ini", "QuvaVideo.txt"] + ["QuvaStrings_%s.dll" % s for s in LANGUAGES])
STAND_IN_FILES = ["QuvaIntf.dll", "QuvaDkMon.exe", "SimController.ini"]
HIDDEN_ROWS = ("Arrow", "AppStarting", "Wait", "Crosshair", "IBeam", "No", "SizeNS", "SizeWE",
               "SizeNWSE", "SizeNESW", "SizeAll", "UpArrow")
EDITED_CFG = "; edited by the technician\n" + GRID_5X5
SIZE = (1024, 768)


def next_version(folder):
    """A copy of the package as the next version would be built: a patch version higher, with
    its own product and package codes, the same upgrade code."""
    path = os.path.join(folder, "next-version.msi")
    shutil.copy(MSI, path)
    properties = subprocess.run(["msiinfo", "export", MSI, "Property"], capture_output=True,
                                text=True, check=True, timeout=60).stdout
    version = re.search(r"^ProductVersion\t(\S+)", properties, re.M).group(1)
    upgrade_code = re.search(r"^UpgradeCode\t(\S+)", properties, re.M).group(1)
    parts = version.split(".")
    following = ".".join(parts[:-1] + [str(int(parts[-1]) + 1)])
    template = re.search(r"^Template: (\S+)", subprocess.run(
        ["msiinfo", "suminfo", MSI], capture_output=True, text=True, check=True,
        timeout=60).stdout, re.M).group(1)
    code = "{%s}" % str(uuid.uuid4()).upper()
    for query in ("UPDATE Property SET Value = '%s' WHERE Property = 'ProductCode'" % code,
                  "UPDATE Property SET Value = '%s' WHERE Property = 'ProductVersion'" % following,
                  # Older versions are upgraded, newer ones refuse it (the key cannot be updated).
                  "DELETE FROM Upgrade WHERE Attributes = 1",
                  "DELETE FROM Upgrade WHERE Attributes = 2",
                  "INSERT INTO Upgrade (UpgradeCode, VersionMax, Attributes, ActionProperty) "
                  "VALUES ('%s', '%s', 1, 'WIX_UPGRADE_DETECTED')" % (upgrade_code, following),
                  "INSERT INTO Upgrade (UpgradeCode, VersionMin, Attributes, ActionProperty) "
                  "VALUES ('%s', '%s', 2, 'WIX_DOWNGRADE_DETECTED')" % (upgrade_code, following)):
        subprocess.run(["msibuild", path, "-q", query], check=True, timeout=60)
    subprocess.run(["msibuild", path, "-s", "Tarnix " + following, "Zeph", template,
                    "{%s}" % str(uuid.uuid4()).upper()], check=True, timeout=60)
    return path, following


def installed_versions(bench):
    """DisplayVersion of every product registered for removal."""
    out = bench.reg_export(r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall") or ""
    return re.findall(r'"DisplayVersion"="([^"]*)"', out)


def sibling_record(jitter):
    """A record of the bench's 1024 x 768 screen, nearly linear, a sibling's jitter across."""
    r = bytearray(1257)
    struct.pack_into("<i", r, 69, 1)
    struct.pack_into("<2i", r, 77, *SIZE)
    struct.pack_into("<10i", r, 109, 40 + jitter, 18000, 120, 300, -200, 150, 900, 0, 400, 0)
    struct.pack_into("<10i", r, 269, -60 - jitter, -90, 18500, 100, 250, -300, 0, 500, 0, 700)
    struct.pack_into("<i", r, 429, 1)
    struct.pack_into("<i", r, 445, 3)
    struct.pack_into("<2i", r, 449, 2047, 4095)
    return bytes(r)


def write_history(folder, jitter):
    """A kiosk's history of two accepted calibrations of its ABC T15 monitor."""
    os.makedirs(folder)
    for day in (1, 2):
        name = os.path.join(folder, "2026110%d-100000-s0" % day)
        with open(name + ".bin", "wb") as f:
            f.write(sibling_record(jitter))
        with open(name + ".cfg", "w", newline="\r\n") as f:
            f.write("; Date: 2026-11-0%d 10:00:00\n; Sequence: %d\n; Expected error (mm): 0.4\n"
                    "; Monitor maker: ABC\n; Monitor model: T15\n"
                    "[TARNIX-APP]\nScreenWidth=304.1\nScreenHeight=228.1\n" % (day, day))


def msiexec(bench, *args):
    code, _ = bench.wine(["msiexec"] + list(args), timeout=240)
    return code


def cursors_folder(bench):
    """The Windows cursors folder, whatever case it was created in, or None."""
    windows = bench.drive_c("windows")
    found = [e for e in os.listdir(windows) if e.lower() == "cursors"]
    return os.path.join(windows, found[0]) if found else None


def shortcuts(bench):
    """Tarnix.lnk in the common or the user's Start menu (Wine installs per-machine shortcuts
    into the user's)."""
    return (glob.glob(bench.drive_c("ProgramData", "Microsoft", "Windows", "Start Menu",
                                    "Programs", "Tarnix.lnk")) +
            glob.glob(bench.drive_c("users", "*", "AppData", "Roaming", "Microsoft", "Windows",
                                    "Start Menu", "Programs", "Tarnix.lnk")))


def present(folder, names):
    return [n for n in names if os.path.exists(os.path.join(folder, n))]


def set_immutable(paths, on):
    """A folder nobody may create files in, root included (the bench runs Wine as root)."""
    for path in paths:
        subprocess.run(["chattr", "+i" if on else "-i", path], check=True, timeout=20)


class InstallerPackage(unittest.TestCase):
    def test_a_kiosk_seeded_from_its_siblings_restores_their_typical_record(self):
        """The fleet's way to a new kiosk: three siblings' histories exported, the typical record
        of their model written by tarnix-fleet, the package installed on a fresh prefix with
        TARNIXSEED (the folder's Tarnix.cfg in place of the shipped one, its entry in Seed) and
        the stand-in; tarnix-history restore then sends the record, byte for byte, in one
        write."""
        with winebench.WineBench("msi-seed", screen=SIZE) as bench:
            seed = bench.drive_c("seed")
            self.typical_record_of_siblings(bench, seed)
            bench.write_file(os.path.join(seed, "Tarnix.cfg"), EDITED_CFG)
            name, = [n[:-4] for n in os.listdir(seed) if n.endswith(".bin")]
            with open(os.path.join(seed, name + ".bin"), "rb") as f:
                typical = f.read()
            self.assertEqual(0, msiexec(bench, "/i", winepath(MSI),
                                        "ADDLOCAL=Tarnix,SimController", "TARNIXSEED=C:\\seed",
                                        "/qn"))
            folder = bench.program_path()
            with open(os.path.join(folder, "Tarnix.cfg"), newline="") as f:
                self.assertEqual(EDITED_CFG.replace("\n", "\r\n"), f.read())
            with open(os.path.join(folder, "Seed", name + ".bin"), "rb") as f:
                self.assertEqual(typical, f.read())

            inst = PassInstall(bench, fill=False)
            bench.write_file(os.path.join(folder, "SimController.ini"),
                             "[SimController]\nLogFolder=C:\\ProgramData\\SimLogs\n")
            bench.reg_add(r"HKLM\Software\Quvatec", "EnableDebug", 1, kind="REG_DWORD")
            seed_folder = "C:\\%s\\Zeph\\Touch\\Seed" % winebench.PROGRAM_FILES
            proc = bench.run(os.path.join(folder, "tarnix-history.exe"),
                             ["restore", name, "--folder", seed_folder], timeout=60,
                             capture_debug=False, cwd=folder)
            self.assertEqual(0, proc.wait(60), proc.stderr())
            self.assertIn("Restored %s" % name, proc.stdout())
            self.assertEqual(typical, inst.record())
            self.assertEqual(1, inst.count_calls("QuvaIF_WriteCalibrationData("))
            self.assertEqual(0, msiexec(bench, "/x", winepath(MSI), "/qn"))

    def typical_record_of_siblings(self, bench, seed):
        """Three kiosks of one monitor model, each history exported; their typical record,
        written into seed by the build's tarnix-fleet."""
        tools = bench.drive_c("tools")  # tarnix-history imports the driver library: beside it
        os.makedirs(tools)
        for path in (target("tarnix-history", "tools/tarnix_history/tarnix-history.exe"),
                     target("simcontroller_dll", "simcontroller/QuvaIntf.dll")):
            shutil.copy(path, tools)
        history = os.path.join(tools, "tarnix-history.exe")
        fleet = target("tarnix-fleet", "tools/tarnix_fleet/tarnix-fleet.exe")
        exports = bench.drive_c("exports")
        os.makedirs(exports)
        for n, jitter in enumerate((-3, 0, 4), start=1):
            kiosk = bench.drive_c("kiosk-%d" % n)
            write_history(kiosk, jitter)
            code, out = bench.wine([history, "export", "--folder", winepath(kiosk), "--machine",
                                    "kiosk-%d" % n, "--out",
                                    winepath(os.path.join(exports, "kiosk-%d.json" % n))])
            self.assertEqual(0, code, out)
        code, out = bench.wine([fleet, "--typical-record", "ABC T15", winepath(seed),
                                winepath(exports)])
        self.assertEqual(0, code, out)

    def test_install_run_as_standard_user_and_uninstall(self):
        self.assertTrue(os.path.exists(MSI), "no package at %r" % MSI)
        with winebench.WineBench("msi", screen=SIZE) as bench:
            folder = bench.program_path()
            self.assertEqual(0, msiexec(bench, "/i", winepath(MSI), "/qn"))
            self.assertEqual(PRODUCT_FILES, present(folder, PRODUCT_FILES))
            self.assertEqual([], present(folder, STAND_IN_FILES), "a driver library by default")
            with open(os.path.join(folder, "Tarnix.cfg"), "rb") as installed, \
                    open(os.path.join(SOURCE_DIR, "resources", "defaults", "Tarnix.cfg"),
                         "rb") as default:
                self.assertEqual(default.read(), installed.read())
            cursors = cursors_folder(bench)
            self.assertIsNotNone(cursors)
            self.assertTrue(os.path.exists(os.path.join(cursors, "null.cur")))
            scheme = bench.reg_query(SCHEMES, "Quva")
            self.assertIsNotNone(scheme)
            entries = scheme[1].split(",")
            self.assertEqual(14, len(entries))
            self.assertEqual(12, entries.count(r"%SystemRoot%\cursors\null.cur"))
            self.assertEqual(1, len(shortcuts(bench)))

            # The stand-in by its feature's name; a reinstall keeps the edited Tarnix.cfg and
            # puts back a file that went missing.
            self.assertEqual(0, msiexec(bench, "/i", winepath(MSI), "ADDLOCAL=SimController",
                                        "/qn"))
            self.assertEqual(STAND_IN_FILES, present(folder, STAND_IN_FILES))
            bench.write_file(os.path.join(folder, "Tarnix.cfg"), EDITED_CFG)
            os.unlink(os.path.join(folder, "QuvaStrings_ENG.dll"))
            self.assertEqual(0, msiexec(bench, "/i", winepath(MSI), "REINSTALL=ALL",
                                        "REINSTALLMODE=amus", "/qn"))
            self.assertTrue(os.path.exists(os.path.join(folder, "QuvaStrings_ENG.dll")))
            with open(os.path.join(folder, "Tarnix.cfg"), newline="") as f:
                self.assertEqual(EDITED_CFG.replace("\n", "\r\n"), f.read())
            # The next version replaces this one and keeps the edited Tarnix.cfg too.
            package, version = next_version(bench.work_dir)
            self.assertEqual(0, msiexec(bench, "/i", winepath(package), "/qn"))
            self.assertEqual([version], installed_versions(bench))
            self.assertEqual(PRODUCT_FILES, present(folder, PRODUCT_FILES))
            # Wine does not carry the stand-in's feature over an upgrade (Windows does): add it.
            self.assertEqual(0, msiexec(bench, "/i", winepath(package), "ADDLOCAL=SimController",
                                        "/qn"))
            self.assertEqual(STAND_IN_FILES, present(folder, STAND_IN_FILES))
            with open(os.path.join(folder, "Tarnix.cfg"), newline="") as f:
                self.assertEqual(EDITED_CFG.replace("\n", "\r\n"), f.read())

            self.run_as_standard_user(bench, cursors)

            reports = bench.data_path("Zeph", "Touch")
            kept = sorted(os.listdir(reports))
            self.assertIn("SvdFitOutputs.txt", kept)
            # Tarnix started the stand-in's desktop monitor again at its end: a file in use
            # would stay behind until a restart, so it is stopped first, as a technician would.
            self.assertEqual(0, bench.wine(["taskkill", "/f", "/im", "QuvaDkMon.exe"])[0])
            self.assertEqual(0, msiexec(bench, "/x", winepath(package), "/qn"))
            zeph = bench.drive_c(winebench.PROGRAM_FILES, "Zeph")
            self.assertFalse(os.path.exists(zeph), list(os.walk(zeph)))
            self.assertFalse(os.path.exists(os.path.join(cursors, "null.cur")))
            self.assertIsNone(bench.reg_query(SCHEMES, "Quva"))
            self.assertEqual([], shortcuts(bench))
            self.assertEqual(kept, sorted(os.listdir(reports)))

    def run_as_standard_user(self, bench, cursors):
        """The installed program with the stand-in's script, the machine's scheme key and the
        Windows folders closed to writing."""
        inst = PassInstall(bench, fill=False)
        targets = grid_targets(*SIZE)  # of the technician's 5 x 5 EDITED_CFG, kept on upgrade
        script = bench.data_path("SimLogs", "SimTouches.txt")
        bench.write_file(script, "point 0 %d %d delay=4000\n" % targets[0] +
                         "".join("point 0 %d %d\n" % t for t in targets[1:]))
        bench.write_file(os.path.join(inst.folder, "SimController.ini"),
                         "[SimController]\nTouchSource=script\nLogFolder=C:\\ProgramData\\SimLogs"
                         "\nScriptFile=C:\\ProgramData\\SimLogs\\SimTouches.txt\n"
                         "ScriptDelayMs=%d\n" % REACTION_MS)
        bench.reg_add(r"HKLM\Software\Quvatec", "EnableDebug", 1, kind="REG_DWORD")
        bench.reg_add(CURSORS, "(Default)", "Windows Default")
        tool = target("standard_user_tool", "tests/whole/standard_user_tool.exe")
        folders = [bench.drive_c("windows"), cursors]
        self.assertEqual(0, bench.wine([tool, "lock", SCHEMES_KEY])[0])
        set_immutable(folders, True)
        try:
            probe = bench.wine([tool, "probe", SCHEMES_KEY, winepath(cursors)])
            self.assertEqual((0, "machine key read-only, folder read-only"),
                             (probe[0], probe[1].strip()))
            proc = inst.run(timeout=90)
            bench.wait_window("^Tarnix - Calibration$")
            self.assertTrue(inst.wait_target_shown(targets[0]), "first target not shown")
            hidden = bench.reg_query(CURSORS)  # one read, while the first touch is held back
            self.assertEqual("Quva", hidden["(Default)"][1])
            self.assertEqual(list(HIDDEN_ROWS), [row for row in HIDDEN_ROWS if hidden.get(row, (
                "", ""))[1].lower().endswith(r"\cursors\null.cur")])
            self.assertNotIn("Hand", hidden)
            self.assertTrue(wait_for(lambda: inst.record() is not None, 40), inst.calls()[-5:])
            self.assertTrue(wait_for(lambda: bench.reg_query(CURSORS, "(Default)")[1] ==
                                     "Windows Default", 15), "pointer not restored")
            self.assertIsNone(bench.reg_query(CURSORS, "Arrow"))
            bench.key("Escape", window=bench.wait_window("^Tarnix - Calibration$"))
            self.assertEqual(0, proc.wait(20))
            self.assertEqual(1257, len(inst.record()))
        finally:
            set_immutable(folders, False)
            bench.wine([tool, "unlock", SCHEMES_KEY])


if __name__ == "__main__":
    unittest.main()
