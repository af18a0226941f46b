"""Whole-program test bench: a private X display, a private Wine prefix and its wineserver.

    with WineBench() as bench:                      # or WineBench(two_monitors=True)
        bench.install_stage()                       # the staged `cmake --install` tree
        proc = bench.run(bench.program_path("Tarnix.exe"), timeout=30)
        win = bench.wait_window("Tarnix")
        bench.click(192, 108)                       # X screen coordinates (see to_x)
        png = bench.screenshot("first-target")
        assert bench.pixel(png, 192, 108) == (255, 0, 0)
        proc.wait(10)
        assert "Tarnix.exe: ..." in proc.debug_strings()

Everything started (X server, wineserver, programs) is stopped by process id when the context
ends, also when a test fails or the interpreter exits. Every wait is bounded. Python standard
library only.
"""

import atexit
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.environ.get("TARNIX_SOURCE_DIR", os.path.dirname(os.path.dirname(HERE)))
WINE = os.environ.get("TARNIX_WINE", "/usr/lib/wine/wine64")
WINESERVER = os.environ.get("TARNIX_WINESERVER", "/usr/lib/wine/wineserver")
WINE_RUN = os.path.join(SOURCE_DIR, "scripts", "wine-run")
XORG_TWO_MONITORS_CONF = os.path.join(HERE, "xorg-two-monitors.conf")
# The program-files folder the build's programs see: "Program Files (x86)" for the 32-bit build.
PROGRAM_FILES = os.environ.get("TARNIX_PROGRAM_FILES", "Program Files")
PROGRAM_DIR = PROGRAM_FILES + "/Zeph/Touch"
# A 32-bit program sees the machine hive's 32-bit view (Software\Wow6432Node): so does the bench.
MACHINE_VIEW = ["/reg:32"] if PROGRAM_FILES.endswith("(x86)") else []
DEBUG_LINE = re.compile(r':warn:seh:dispatch_exception "(.*)"\s*$')


class BenchError(RuntimeError):
    """The bench itself could not do what was asked (not a failure of the program under test)."""


def target_file(target):
    """Path of a build target named in tarnix_add_whole_test(... DEPENDS target)."""
    path = os.environ.get("TARNIX_TARGET_" + target)
    if not path:
        raise BenchError("TARNIX_TARGET_%s is not set: list %s in DEPENDS" % (target, target))
    return path


def unescape_debug_string(text):
    """Undoes Wine's C-style escaping of a debugger-channel string."""
    out = []
    i = 0
    simple = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\", "0": "\0",
              "a": "\a", "b": "\b", "f": "\f", "v": "\v"}
    while i < len(text):
        c = text[i]
        if c != "\\" or i + 1 == len(text):
            out.append(c)
            i += 1
            continue
        e = text[i + 1]
        if e == "x" and re.match(r"[0-9a-fA-F]{2}", text[i + 2:i + 4]):
            out.append(chr(int(text[i + 2:i + 4], 16)))
            i += 4
        elif e == "u" and re.match(r"[0-9a-fA-F]{4}", text[i + 2:i + 6]):
            out.append(chr(int(text[i + 2:i + 6], 16)))
            i += 6
        elif re.match(r"[0-7]{3}", text[i + 1:i + 4]):
            out.append(chr(int(text[i + 1:i + 4], 8)))
            i += 4
        else:
            out.append(simple.get(e, e))
            i += 2
    return "".join(out)


def parse_debug_strings(stderr_text):
    """The strings a program sent to the debugger channel, in order, from WINEDEBUG=warn+seh."""
    found = []
    for line in stderr_text.splitlines():
        m = DEBUG_LINE.search(line)
        if m:
            found.append(unescape_debug_string(m.group(1)))
    return found


def _stop_group(proc, grace=3.0):
    """Stops a process started in its own session: TERM to its group, then KILL; bounded."""
    if proc.poll() is not None:
        return
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(proc.pid, sig)
        except ProcessLookupError:
            return
        try:
            proc.wait(grace)
            return
        except subprocess.TimeoutExpired:
            continue


def read_ppm(path):
    """(width, height, rgb bytes) of a binary PPM (P6, maxval 255) file."""
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise BenchError("unexpected image format in %s" % path)
    return int(fields[1]), int(fields[2]), data[pos + 1:]


class Image:
    """An RGB screenshot held in memory, for pixel checks."""

    def __init__(self, path):
        ppm = path + ".ppm"
        subprocess.run(["convert", path, "-depth", "8", "ppm:" + ppm], check=True, timeout=60,
                       stdin=subprocess.DEVNULL)
        self.width, self.height, self.rgb = read_ppm(ppm)
        os.unlink(ppm)

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError("pixel (%d, %d) outside %dx%d" % (x, y, self.width, self.height))
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])


class WineProcess:
    """A program started in the bench: wait with a bound, kill, read its output."""

    def __init__(self, popen, stdout_path, stderr_path, name):
        self.popen = popen
        self.stdout_path = stdout_path
        self.stderr_path = stderr_path
        self.name = name
        self.returncode = None

    @property
    def pid(self):
        return self.popen.pid

    def running(self):
        return self.popen.poll() is None

    def wait(self, timeout):
        """Its exit code; kills it and raises TimeoutError when it has not ended in time."""
        try:
            self.returncode = self.popen.wait(timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise TimeoutError("%s did not end within %.1f s" % (self.name, timeout))
        return self.returncode

    def kill(self):
        _stop_group(self.popen)
        self.returncode = self.popen.poll()

    def stdout(self):
        return _read_text(self.stdout_path)

    def stderr(self):
        return _read_text(self.stderr_path)

    def debug_strings(self):
        """What the program sent to the debugger channel so far (run with capture_debug)."""
        return parse_debug_strings(self.stderr())


def _read_text(path):
    with open(path, "rb") as f:
        return f.read().decode("utf-8", "replace")


def _free_artefact_dir(name):
    root = os.environ.get("TARNIX_ARTEFACT_DIR")
    if not root:
        build = os.environ.get("TARNIX_BUILD_DIR", tempfile.gettempdir())
        root = os.path.join(build, "artefacts", name)
    os.makedirs(root, exist_ok=True)
    return root


class WineBench:
    """Context manager: X server, Wine prefix, persistent wineserver and started programs."""

    _live = []

    def __init__(self, name="bench", two_monitors=False, screen=(1024, 768), keep=None,
                 state_dir=None, artefact_dir=None):
        self.name = name
        self.two_monitors = two_monitors
        self.screen = screen
        self.keep = keep if keep is not None else os.environ.get("TARNIX_WINE_KEEP") == "1"
        self.state_dir = state_dir or os.environ.get("TARNIX_WINE_STATE_DIR") or os.path.join(
            os.environ.get("TARNIX_BUILD_DIR", tempfile.gettempdir()), "wine")
        self.artefact_dir = artefact_dir or _free_artefact_dir(name)
        self.work_dir = None
        self.prefix = None
        self.display = None
        self._x_proc = None
        self._procs = []
        self._server_started = False
        self._counter = 0

    # ----- set-up and teardown -----------------------------------------------------------------
    def __enter__(self):
        WineBench._live.append(self)
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _start(self):
        template = subprocess.run([WINE_RUN, "--state", self.state_dir, "--ensure-template"],
                                  capture_output=True, text=True, timeout=400,
                                  stdin=subprocess.DEVNULL)
        if template.returncode != 0:
            raise BenchError("no template prefix: " + template.stderr)
        template_dir = template.stdout.strip()
        os.makedirs(os.path.join(self.state_dir, "runs"), exist_ok=True)
        self.work_dir = tempfile.mkdtemp(prefix="bench.", dir=os.path.join(self.state_dir, "runs"))
        self._start_x()
        self._start_watchdog()
        self.prefix = os.path.join(self.work_dir, "prefix")
        os.mkdir(self.prefix)
        _copy_prefix(template_dir, self.prefix)
        self.env = dict(os.environ)
        self.env.update(WINEPREFIX=self.prefix, DISPLAY=self.display, WINEDEBUG="-all",
                        WINEARCH="win64",
                        WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d")
        subprocess.run([WINESERVER, "-p"], env=self.env, timeout=30, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        self._server_started = True
        # The first call starts Wine's services, which inherit its output: send it nowhere.
        self.wine(["cmd", "/c", "exit"], timeout=60)

    def _start_x(self):
        read_fd, write_fd = os.pipe()
        log = open(os.path.join(self.artefact_dir, "xserver.log"), "wb")
        # -r: no key auto-repeat. A key xdotool holds a moment too long on a loaded machine
        # would otherwise press again, into whatever window has the focus by then.
        if self.two_monitors:
            cmd = ["Xorg", "-displayfd", str(write_fd), "-noreset", "-nolisten", "tcp", "-r",
                   "-config", XORG_TWO_MONITORS_CONF,
                   "-logfile", os.path.join(self.work_dir, "Xorg.log"), "-novtswitch", "-sharevts"]
        else:
            cmd = ["Xvfb", "-displayfd", str(write_fd), "-noreset", "-nolisten", "tcp", "-r",
                   "-screen", "0", "%dx%dx24" % self.screen]
        try:
            self._x_proc = subprocess.Popen(cmd, pass_fds=(write_fd,), stdout=log, stderr=log,
                                            stdin=subprocess.DEVNULL, start_new_session=True)
        finally:
            os.close(write_fd)
            log.close()
        number = _read_with_deadline(read_fd, 20.0)
        os.close(read_fd)
        if not number:
            raise BenchError("the X server did not start (see %s)" % log.name)
        self.display = ":" + number
        if self.two_monitors:
            self._layout_two_monitors()

    def _start_watchdog(self):
        """Stops the X server and wineserver if this interpreter is killed (e.g. by CTest's time
        limit), when neither finally nor atexit runs."""
        script = ('while kill -0 %d 2>/dev/null; do sleep 1; done; kill %d 2>/dev/null; '
                  'WINEPREFIX="$1" timeout 10 "$2" -k 2>/dev/null; sleep 1; rm -rf "$3"'
                  % (os.getpid(), self._x_proc.pid))
        self._watchdog = subprocess.Popen(
            ["sh", "-c", script, "watchdog", os.path.join(self.work_dir, "prefix"), WINESERVER,
             "" if self.keep else self.work_dir],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)

    def _layout_two_monitors(self):
        """Both outputs of the dummy driver side by side. The monitors are listed once laid out:
        without that query Wine found only one monitor when a program was started at once."""
        env = dict(os.environ, DISPLAY=self.display)
        for cmd in (["xrandr", "--addmode", "DUMMY1", "800x600"],
                    ["xrandr", "--output", "DUMMY1", "--mode", "800x600", "--pos", "0x0",
                     "--output", "DUMMY0", "--mode", "1024x768", "--pos", "800x0", "--primary"],
                    ["xrandr", "--listactivemonitors"]):
            subprocess.run(cmd, env=env, timeout=20, check=True, stdin=subprocess.DEVNULL,
                           capture_output=True)

    def close(self):
        """Stops everything this bench started, by process id; safe to call twice."""
        for proc in self._procs:
            proc.kill()
        self._procs = []
        if self._server_started:
            try:
                subprocess.run([WINESERVER, "-k"], env=self.env, timeout=15,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
                subprocess.run([WINESERVER, "-w"], env=self.env, timeout=15,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
            except subprocess.TimeoutExpired:
                pass
            self._server_started = False
        if self._x_proc is not None:
            _stop_group(self._x_proc)
            self._x_proc = None
        if getattr(self, "_watchdog", None) is not None:
            _stop_group(self._watchdog, grace=1.0)
            self._watchdog = None
        if self.work_dir and os.path.isdir(self.work_dir):
            if self.keep:
                print("winebench: kept %s" % self.work_dir)
            else:
                shutil.rmtree(self.work_dir, ignore_errors=True)
        self.work_dir = None
        if self in WineBench._live:
            WineBench._live.remove(self)

    # ----- files -------------------------------------------------------------------------------
    def drive_c(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def program_path(self, *parts):
        """Unix path inside the prefix's program folder ("C:\\Program Files\\Zeph\\Touch", or
        "C:\\Program Files (x86)\\Zeph\\Touch" for the 32-bit build)."""
        return self.drive_c(PROGRAM_DIR, *parts)

    def data_path(self, *parts):
        """Unix path inside the prefix's common application-data folder ("C:\\ProgramData")."""
        return self.drive_c("ProgramData", *parts)

    def install(self, files, where="program", subdir=""):
        """Copies files into the program folder ("program") or ProgramData ("data")."""
        base = self.program_path(subdir) if where == "program" else self.data_path(subdir)
        os.makedirs(base, exist_ok=True)
        for path in ([files] if isinstance(files, str) else files):
            shutil.copy(path, base)
        return base

    def write_file(self, path, text, encoding="ascii", newline="\r\n"):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding=encoding, newline=newline) as f:
            f.write(text)
        return path

    def install_stage(self, stage_root=None):
        """Copies the staged installation (build/stage) into drive C."""
        stage_root = stage_root or os.environ.get("TARNIX_INSTALL_ROOT")
        if not stage_root or not os.path.isdir(stage_root):
            raise BenchError("no staged installation at %r" % stage_root)
        shutil.copytree(stage_root, self.drive_c(), dirs_exist_ok=True)
        return self.program_path()

    # ----- programs ----------------------------------------------------------------------------
    def run(self, program, args=(), timeout=60, capture_debug=True, env=None, cwd=None,
            name=None):
        """Starts a Windows program in the background; returns a WineProcess.

        `timeout` is a hard limit enforced by timeout(1) even if the test never waits.
        With capture_debug, WINEDEBUG=-all,warn+seh so debug_strings() sees OutputDebugString.
        """
        self._counter += 1
        name = name or "%02d-%s" % (self._counter, os.path.basename(program))
        out = os.path.join(self.artefact_dir, name + ".stdout")
        err = os.path.join(self.artefact_dir, name + ".stderr")
        run_env = dict(self.env)
        if capture_debug:
            run_env["WINEDEBUG"] = "-all,warn+seh"
        run_env.update(env or {})
        cmd = ["timeout", "-k", "5", str(timeout), WINE, program] + list(args)
        with open(out, "wb") as o, open(err, "wb") as e:
            popen = subprocess.Popen(cmd, env=run_env, cwd=cwd or self.work_dir, stdout=o,
                                     stderr=e, stdin=subprocess.DEVNULL, start_new_session=True)
        proc = WineProcess(popen, out, err, name)
        self._procs.append(proc)
        return proc

    def wine(self, args, timeout=60, env=None):
        """Runs a Wine command (e.g. ["reg", "query", ...]) to its end; (exit code, stdout)."""
        run_env = dict(self.env)
        run_env.update(env or {})
        with tempfile.TemporaryFile() as out:
            proc = subprocess.Popen(["timeout", "-k", "5", str(timeout), WINE] + list(args),
                                    env=run_env, stdout=out, stderr=subprocess.DEVNULL,
                                    stdin=subprocess.DEVNULL, start_new_session=True)
            try:
                code = proc.wait(timeout + 10)
            except subprocess.TimeoutExpired:
                _stop_group(proc)
                raise TimeoutError("wine %s did not end" % " ".join(args))
            out.seek(0)
            return code, out.read().decode("utf-8", "replace")

    # ----- registry ----------------------------------------------------------------------------
    @staticmethod
    def _view(key):
        """The registry view option of a key: the build's own view of the machine hive."""
        return MACHINE_VIEW if key.upper().startswith(("HKLM", "HKEY_LOCAL_MACHINE")) else []

    def reg_query(self, key, name=None):
        """A value as (type, data) text, or None when absent; with name None, the whole key's
        values as {name: (type, data)} (the unnamed value is "(Default)"), or None."""
        args = ["reg", "query", key] + (["/ve"] if name == "(Default)" else
                                        ["/v", name] if name is not None else []) + self._view(key)
        code, out = self.wine(args, timeout=30)
        if code != 0:
            return None
        values = {}
        for line in out.splitlines():
            m = re.match(r"^    (.*?)    (REG_[A-Z_]+)    ?(.*)$", line)
            if m:
                values[m.group(1)] = (m.group(2), m.group(3))
        if name is None:
            return values
        return values.get(name) or values.get("(Default)" if name == "(Default)" else name)

    def reg_add(self, key, name, data, kind="REG_SZ"):
        args = ["reg", "add", key] + (["/ve"] if name in (None, "(Default)") else ["/v", name])
        args += ["/t", kind, "/d", str(data), "/f"] + self._view(key)
        # On a loaded machine the prefix's services may still be starting: one more, longer try.
        for timeout in (30, 90):
            code, _ = self.wine(args, timeout=timeout)
            if code == 0:
                return
        raise BenchError("reg add %s %s failed (exit code %d)" % (key, name, code))

    def reg_delete(self, key, name=None):
        """Deletes a value, or the whole key with name None; True when something was deleted."""
        args = ["reg", "delete", key] + ([] if name is None else ["/v", name]) + ["/f"]
        args += self._view(key)
        return self.wine(args, timeout=30)[0] == 0

    def reg_export(self, key):
        """The key exported as .reg text (decoded from UTF-16LE), or None when absent."""
        path = os.path.join(self.work_dir, "export-%d.reg" % time.monotonic_ns())
        code, _ = self.wine(["reg", "export", key, path, "/y"] + self._view(key), timeout=30)
        if code != 0 or not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            raw = f.read()
        os.unlink(path)
        return raw.decode("utf-16-le").lstrip("\ufeff")

    # ----- X -----------------------------------------------------------------------------------
    def x(self, args, timeout=20, check=True):
        """Runs an X client against the bench's display; its standard output."""
        env = dict(os.environ, DISPLAY=self.display)
        done = subprocess.run(args, env=env, timeout=timeout, capture_output=True, text=True,
                              stdin=subprocess.DEVNULL)
        if check and done.returncode != 0:
            raise BenchError("%s failed: %s" % (" ".join(args), done.stderr.strip()))
        return done.stdout

    def find_windows(self, name):
        """X window ids whose name matches the regular expression (visible ones only)."""
        out = self.x(["xdotool", "search", "--onlyvisible", "--name", name], check=False)
        return [int(w) for w in out.split()]

    def wait_window(self, name, timeout=60.0):
        """The first visible X window whose name matches, waiting at most timeout seconds."""
        deadline = time.monotonic() + timeout
        while True:
            found = self.find_windows(name)
            if found:
                return found[0]
            if time.monotonic() > deadline:
                raise TimeoutError("no window named %r within %.1f s" % (name, timeout))
            time.sleep(0.1)

    def window_geometry(self, window):
        """(x, y, width, height) of an X window on the screen."""
        out = self.x(["xdotool", "getwindowgeometry", "--shell", str(window)])
        v = dict(line.split("=", 1) for line in out.split())
        return int(v["X"]), int(v["Y"]), int(v["WIDTH"]), int(v["HEIGHT"])

    def windows_origin(self):
        """X screen position of the Windows desktop's (0, 0): the primary monitor's corner."""
        out = self.x(["xrandr", "--query"], check=False)
        m = re.search(r" connected primary \d+x\d+\+(\d+)\+(\d+)", out)
        return (int(m.group(1)), int(m.group(2))) if m else (0, 0)

    def to_x(self, x, y):
        """X screen coordinates of a Windows virtual-desktop point (for clicks, pixels)."""
        ox, oy = self.windows_origin()
        return x + ox, y + oy

    def move_mouse(self, x, y):
        self.x(["xdotool", "mousemove", "--sync", str(x), str(y)])

    def click(self, x, y, button=1):
        self.x(["xdotool", "mousemove", "--sync", str(x), str(y), "click", str(button)])

    def key(self, *keys, window=None):
        args = ["xdotool", "key"] + (["--window", str(window)] if window else []) + list(keys)
        self.x(args)

    def opacity(self, window):
        """The window's _NET_WM_WINDOW_OPACITY (0..0xffffffff), or None when not set."""
        out = self.x(["xprop", "-id", str(window), "_NET_WM_WINDOW_OPACITY"], check=False)
        m = re.search(r"=\s*(\d+)", out)
        return int(m.group(1)) if m else None

    def screenshot(self, name):
        """Saves the whole screen as <artefacts>/<name>.png and returns its path."""
        path = os.path.join(self.artefact_dir, name + ".png")
        self.x(["import", "-window", "root", path], timeout=60)
        return path

    def image(self, path_or_name):
        """The screenshot at a path (or taken now under a name) as an Image for pixel reads."""
        path = path_or_name if os.path.exists(path_or_name) else self.screenshot(path_or_name)
        return Image(path)

    def pixel(self, png, x, y):
        return Image(png).pixel(x, y)


def _read_with_deadline(fd, timeout):
    """Reads a display number written by -displayfd; '' on time-out or end of file."""
    import select
    deadline = time.monotonic() + timeout
    text = b""
    while not text.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0:
            return ""
        ready, _, _ = select.select([fd], [], [], left)
        if not ready:
            return ""
        chunk = os.read(fd, 64)
        if not chunk:
            break
        text += chunk
    return text.decode().strip()


def _copy_prefix(template, prefix):
    """A private prefix: everything copied except drive_c/windows, which is hard-linked (large
    and only read) apart from its top-level files, which Wine may rewrite in place."""
    subprocess.run("cd '%s' && tar --exclude=./drive_c/windows -cf - . | (cd '%s' && tar xf -)"
                   % (template, prefix), shell=True, check=True, timeout=120)
    windows = os.path.join(template, "drive_c", "windows")
    target = os.path.join(prefix, "drive_c", "windows")
    subprocess.run(["cp", "-al", windows, target], check=True, timeout=120)
    for entry in os.listdir(windows):
        src = os.path.join(windows, entry)
        if os.path.isfile(src):
            os.unlink(os.path.join(target, entry))
            shutil.copy2(src, os.path.join(target, entry))


@atexit.register
def _close_all():
    for bench in list(WineBench._live):
        bench.close()


def _exit_on_signal(signum, frame):
    raise SystemExit(128 + signum)  # runs the finally blocks and atexit teardown


for _sig in (signal.SIGTERM, signal.SIGHUP):
    if signal.getsignal(_sig) in (signal.SIG_DFL, None):
        signal.signal(_sig, _exit_on_signal)
