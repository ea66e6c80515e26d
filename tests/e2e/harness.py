"""What the end-to-end tests share: a private Xvfb, a private gpsd fed by gpsfake, the program
started as a user starts it, the stylus and keys through xdotool, the clipboard through xclip.

Sections: tools and failures; the session (every process it starts, and its cleanup); X and
the window; the clipboard; gpsfake; NMEA positions; the settings file.

Every process a test starts is registered with its Session and killed when the session ends, on
success, on failure and on SIGTERM/SIGINT/SIGHUP (CTest's time-out). Nothing here is timed as an
assertion: time-outs only stop a wait that would otherwise hang, and a wait that runs out fails
the test with what it was waiting for.
"""

import os
import select
import re
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time
from decimal import Decimal
from pathlib import Path

# ---------------------------------------------------------------------------------------------
# Tools and failures

TOOLS = {  # program -> Debian package
    "Xvfb": "xvfb",
    "xvfb-run": "xvfb",
    "xauth": "xauth",
    "xdotool": "xdotool",
    "xclip": "xclip",
    "xev": "x11-utils",
    "xprop": "x11-utils",
    "gpsfake": "gpsd-clients",
    "gpsd": "gpsd",
}


class Failure(Exception):
    """A check of the test did not hold; the message says what was expected and what was seen."""


def require_tools(*names):
    path = os.environ.get("PATH", "/usr/bin:/bin") + ":/usr/sbin:/sbin"
    missing = [n for n in names if shutil.which(n, path=path) is None]
    if missing:
        raise Failure("not installed: " + ", ".join(f"{n} (package {TOOLS.get(n, n)})" for n in missing)
                      + "; scripts/install-deps.sh installs them")


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(what, timeout, probe, interval=0.1):
    """Calls probe() until it returns something truthy; fails naming `what` after `timeout` s."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure(f"gave up after {timeout} s waiting for {what}")
        time.sleep(interval)


def run_scenario(name, body):
    """Runs body(session) and turns its outcome into the process's exit code for CTest."""
    with Session(name) as session:
        try:
            body(session)
        except (Failure, _Stopped) as failure:
            print(f"FAIL {name}: {failure}", file=sys.stderr)
            session.dump_logs()
            session.keep = any(session.dir.iterdir())  # nothing to look at when nothing started
            return 1
    print(f"PASS {name}")
    return 0


# ---------------------------------------------------------------------------------------------
# The session


class _Stopped(BaseException):
    pass


class Session:
    def __init__(self, name):
        self.name = name
        self.dir = Path(tempfile.mkdtemp(prefix=f"zaz-e2e-{name}-"))
        self.keep = False
        self._procs = []  # (Popen, own process group?, SIGTERM before SIGKILL?)
        self._logs = []   # (label, path)
        self._after = []  # routines run once every process has ended

    def __enter__(self):
        def stop(signum, _frame):
            raise _Stopped(f"stopped by signal {signum}")
        for s in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            signal.signal(s, stop)
        return self

    def __exit__(self, kind, value, _tb):
        if kind is not None:  # anything but a failed check, which run_scenario reports
            self.keep = True
            print(f"FAIL {self.name}: {value!r}", file=sys.stderr)
            self.dump_logs()
        self.cleanup()
        if self.keep:
            print(f"files of the run kept in {self.dir}", file=sys.stderr)
        else:
            shutil.rmtree(self.dir, ignore_errors=True)
        return False

    def path(self, name):
        return self.dir / name

    def start(self, label, argv, env=None, group=False, gentle=True, stdin=subprocess.DEVNULL, **kw):
        """Starts argv with stdout and stderr in files of the session; group=True gives it a
        session (and process group) of its own, so cleanup reaches its children too; cleanup
        sends SIGTERM first when gentle (Xvfb then removes its lock file), else SIGKILL only."""
        out = open(self.path(f"{label}.out"), "wb")
        err = open(self.path(f"{label}.err"), "wb")
        self._logs += [(f"{label} stdout", out.name), (f"{label} stderr", err.name)]
        p = subprocess.Popen(argv, env=env, stdin=stdin, stdout=out, stderr=err,
                             start_new_session=group, **kw)
        out.close()
        err.close()
        self._procs.append((p, group, gentle))
        return p

    def log_text(self, label, stream="err"):
        try:
            return self.path(f"{label}.{stream}").read_text(errors="replace")
        except FileNotFoundError:
            return ""

    def dump_logs(self):
        for label, name in self._logs:
            try:
                text = Path(name).read_text(errors="replace")
            except FileNotFoundError:
                continue
            if text.strip():
                print(f"--- {label} ---\n{text.rstrip()}", file=sys.stderr)

    def cleanup(self):
        for s in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            signal.signal(s, signal.SIG_IGN)  # a second CTest signal must not cut cleanup short
        for p, group, gentle in reversed(self._procs):
            if not group and p.poll() is not None:
                continue
            if gentle:
                _signal(p, group, signal.SIGTERM)
                _wait_gone(p, group)
            _signal(p, group, signal.SIGKILL)
            if not _wait_gone(p, group):
                print(f"warning: process {p.pid} (or its group) did not end after SIGKILL", file=sys.stderr)
        for routine in self._after:
            routine()

    def after_cleanup(self, routine):
        self._after.append(routine)


def _signal(p, group, signum):
    try:
        if group:
            os.killpg(p.pid, signum)  # the group outlives its leader: signal it in any case
        elif p.poll() is None:
            p.send_signal(signum)
    except ProcessLookupError:
        pass


def _wait_gone(p, group, timeout=5):
    """Waits for p and, for a group, for its other members (not our children: Xvfb under
    xvfb-run, gpsd under gpsfake), which end on their own time."""
    deadline = time.monotonic() + timeout
    try:
        p.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return False
    while group and _group_members(p.pid):
        if time.monotonic() >= deadline:
            return False
        time.sleep(0.05)
    return True


def _group_members(group):
    members = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            stat = (entry / "stat").read_text()
        except OSError:
            continue
        fields = stat[stat.rfind(")") + 2:].split()  # comm may hold spaces
        if fields[0] != "Z" and int(fields[2]) == group:
            members.append(int(entry.name))
    return members


def wait_exit(p, timeout, what):
    """The exit code of p; fails when p is still running after `timeout` s."""
    try:
        return p.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure(f"{what} was still running {timeout} s later") from None


# ---------------------------------------------------------------------------------------------
# X and the window

WINDOW_TITLE = "Zazorudu"
# The default screen (480x640 at 192 DPI): the soft-key bar is the bottom 52 px, and the four
# touch buttons are the quarters of the 77-px strip just above it.
SCREEN_HEIGHT, SOFT_KEY_BAR, BUTTON_STRIP = 640, 52, 77


def base_env():
    """The caller's environment without anything that would point the program at another display,
    another device root or another receiver."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith("PDA_") and k not in ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY",
                                                     "SDL_VIDEODRIVER")}
    return env


def start_xvfb(session, width=640, height=800, extra=()):
    """A private Xvfb on a display number it picks itself (-displayfd); returns ':N' and keeps
    the Xvfb process as session.xvfb. `extra`: more arguments for Xvfb."""
    require_tools("Xvfb")
    read_end, write_end = os.pipe()
    p = session.start("xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                               f"{width}x{height}x24", "-nolisten", "tcp", "-noreset", *extra],
                      pass_fds=(write_end,))
    session.xvfb = p
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + 30
    while not number.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([read_end], [], [], left)[0]:
            os.close(read_end)
            raise Failure("Xvfb did not report its display within 30 s")
        chunk = os.read(read_end, 16)
        if not chunk:
            os.close(read_end)
            raise Failure(f"Xvfb ended before it had a display (exit code {p.poll()})")
        number += chunk
    os.close(read_end)
    return ":" + number.decode().strip()


class X:
    """xdotool and xclip on one display."""

    def __init__(self, session, display, xauthority=None):
        self.session = session
        self.env = base_env()
        self.env["DISPLAY"] = display
        if xauthority:
            self.env["XAUTHORITY"] = xauthority

    def run(self, *argv, timeout=15, check_rc=True):
        try:
            r = subprocess.run(argv, env=self.env, capture_output=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"`{' '.join(argv)}` did not finish within {timeout} s") from None
        if check_rc and r.returncode != 0:
            raise Failure(f"`{' '.join(argv)}` failed ({r.returncode}): {r.stderr.decode(errors='replace').strip()}")
        return r

    def windows(self):
        """Ids of the windows titled exactly like the program's."""
        r = self.run("xdotool", "search", "--name", f"^{WINDOW_TITLE}$", check_rc=False)
        return r.stdout.decode().split()

    def wait_window(self, program, timeout=30):
        """The program's window, once it exists; fails at once when `program` (the program, or
        what runs it) ends instead."""
        def probe():
            if program is not None and program.poll() is not None:
                raise Failure(f"the program ended (exit code {program.returncode}) before its window appeared")
            found = self.windows()
            return found[0] if found else None
        return wait_until(f'a window titled "{WINDOW_TITLE}"', timeout, probe)

    def wait_title(self, window, title, timeout=15):
        """Waits for the window to bear `title`: it takes the title of the device's window in
        front, a form that opened or the main window again once the form closed. A tap aimed
        at what comes next must wait for it, as a user's eyes do."""
        def probe():
            r = self.run("xdotool", "getwindowname", window, check_rc=False)
            return r.returncode == 0 and r.stdout.decode().rstrip("\n") == title
        wait_until(f'the window titled "{title}"', timeout, probe, interval=0.05)

    def geometry(self, window):
        r = self.run("xdotool", "getwindowgeometry", "--shell", window)
        fields = dict(line.split("=", 1) for line in r.stdout.decode().split() if "=" in line)
        return int(fields["WIDTH"]), int(fields["HEIGHT"])

    def button_centre(self, window, index):
        """Window-relative centre of touch button `index` (0..3, left to right)."""
        width, height = self.geometry(window)
        scale = height / SCREEN_HEIGHT  # PDA_ZOOM scales the window, not the device
        x = width * (2 * index + 1) / 8
        y = height - (SOFT_KEY_BAR + BUTTON_STRIP / 2) * scale
        return int(x), int(y)

    def tap(self, window, x, y):
        self.run("xdotool", "mousemove", "--window", window, str(x), str(y), "click", "1")

    def key(self, window, keys):
        # xdotool may report BadWindow after the key-up when the key closed the window; the
        # program's exit is what the test looks at.
        self.run("xdotool", "key", "--window", window, keys, check_rc=False)

    # The clipboard

    def clipboard(self):
        """The clipboard's text, or None when nobody holds it (or its holder does not answer)."""
        require_tools("xclip")
        try:
            r = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                               capture_output=True, timeout=5)
        except subprocess.TimeoutExpired:
            return None
        return r.stdout.decode(errors="replace") if r.returncode == 0 else None

    def hold_clipboard(self, text):
        """Puts `text` on the clipboard, held by an xclip of the session (it ends when another
        client takes the clipboard); returns that xclip."""
        require_tools("xclip")
        p = self.session.start("xclip-marker", ["xclip", "-quiet", "-selection", "clipboard", "-i"],
                               env=self.env, stdin=subprocess.PIPE)
        p.stdin.write(text.encode())
        p.stdin.close()
        wait_until(f"xclip to hold {text!r}", 10, lambda: self.clipboard() == text)
        return p


class ScreenFile:
    """The screen of an Xvfb started with `-fbdir DIR -br` (a black root), read from the XWD
    file Xvfb keeps its frame buffer in: what is on the screen, without any X client."""

    def __init__(self, folder):
        self.path = Path(folder) / "Xvfb_screen0"

    def lit_pixels(self, width, height):
        """How many pixels of the top-left width x height area are not black."""
        data = self.path.read_bytes()
        fields = struct.unpack(">25I", data[:100])
        header, order, bits, stride, colours = fields[0], fields[7], fields[11], fields[12], fields[19]
        check(bits == 32, f"the screen file has {bits} bits a pixel, expected 32")
        start = header + colours * 12
        area = b"".join(data[start + y * stride:start + y * stride + width * 4] for y in range(height))
        first = 0 if order == 0 else 1  # the three colour bytes of each pixel, either byte order
        lit = 0
        for channel in range(first, first + 3):
            lit |= int.from_bytes(area[channel::4], "big")
        return width * height - lit.to_bytes(width * height, "big").count(0)


def session_process(session_id, name):
    """Pid of the live process called `name` in the given session, or None."""
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            stat = (entry / "stat").read_text()
        except OSError:
            continue
        comm = stat[stat.find("(") + 1:stat.rfind(")")]
        fields = stat[stat.rfind(")") + 2:].split()
        if comm == name and fields[0] != "Z" and int(fields[3]) == session_id:
            return int(entry.name)
    return None


def environment_of(pid):
    try:
        raw = Path(f"/proc/{pid}/environ").read_bytes()
    except OSError:
        return {}
    return dict(item.split("=", 1) for item in raw.decode(errors="replace").split("\0") if "=" in item)


def screenshot(x, path):
    """Saves the display as a PNG when xwd and ImageMagick are there (for a person to look at;
    nothing is checked on it). Returns whether it was saved."""
    if not (shutil.which("xwd") and shutil.which("convert")):
        return False
    try:
        xwd = subprocess.run(["xwd", "-root", "-silent"], env=x.env, capture_output=True, timeout=15)
        if xwd.returncode != 0:
            return False
        png = subprocess.run(["convert", "xwd:-", f"png:{path}"], input=xwd.stdout,
                             capture_output=True, timeout=30)
    except subprocess.TimeoutExpired:
        return False
    return png.returncode == 0


# ---------------------------------------------------------------------------------------------
# gpsfake


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def _accepts(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=1):
            return True
    except OSError:
        return False


def start_gpsfake(session, log, cycle=0.2):
    """A private gpsd fed by gpsfake, looping `log`, on a free loopback port; returns the port.
    gpsfake gets a process group of its own so cleanup kills it and its gpsd with one SIGKILL
    (it ignores SIGTERM at times); its control socket /tmp/gpsfake-PID.sock is removed after."""
    require_tools("gpsfake", "gpsd")
    port = free_port()
    p = session.start("gpsfake", ["gpsfake", "-P", str(port), "-q", "-c", str(cycle), "-W", "300",
                                  str(log)], group=True, gentle=False)
    session.after_cleanup(lambda: Path(f"/tmp/gpsfake-{p.pid}.sock").unlink(missing_ok=True))

    def up():
        if p.poll() is not None:
            raise Failure(f"gpsfake ended (exit code {p.returncode}) before its gpsd listened on port {port}")
        return _accepts(port)
    wait_until(f"gpsd to listen on 127.0.0.1:{port}", 15, up)
    return port


# ---------------------------------------------------------------------------------------------
# NMEA positions


def _degrees(value, hemisphere):
    """NMEA ddmm.mmmm (or dddmm.mmmm) to signed degrees, exactly."""
    whole, minutes = divmod(Decimal(value), 100)
    degrees = whole + minutes / 60
    return -degrees if hemisphere in ("S", "W") else degrees


def fixes(log):
    """(lat, lon) as Decimals of every RMC with status A and GGA with quality > 0 in the log."""
    found = []
    for line in Path(log).read_text().splitlines():
        fields = line.split("*")[0].split(",")
        kind = fields[0][3:] if fields[0].startswith("$") else None
        if kind == "RMC" and len(fields) > 6 and fields[2] == "A":
            found.append((_degrees(fields[3], fields[4]), _degrees(fields[5], fields[6])))
        elif kind == "GGA" and len(fields) > 6 and fields[6] not in ("", "0"):
            found.append((_degrees(fields[2], fields[3]), _degrees(fields[4], fields[5])))
    return found


def seven(value):
    return f"{value.quantize(Decimal('0.0000001'))}"


PAIR = re.compile(r"-?\d+\.\d{7},-?\d+\.\d{7}")


def wait_for_copied_fix(x, program, window, timeout=30):
    """Taps the copy button until the clipboard holds a "lat,lon" pair (a fix is shown); returns
    the clipboard's text."""
    cx, cy = x.button_centre(window, 3)

    def probe():
        if program is not None and program.poll() is not None:
            raise Failure(f"the program ended (exit code {program.returncode}) while waiting for a fix")
        x.tap(window, cx, cy)
        text = x.clipboard()
        return text if text is not None and PAIR.search(text) else None
    return wait_until('a "lat,lon" pair on the clipboard after a tap on the copy button', timeout,
                      probe, interval=0.5)


# ---------------------------------------------------------------------------------------------
# The settings file

SETTINGS = Path("Program Files") / "Zazorudu" / "Zazorudu.settings.txt"
DATE_TIME = re.compile(r"DateTime=(\d{2})d-(\d{2})m-(\d+)y-t(\d{2})(\d{2})_(\d{2})s")


def check_settings(root, saved_after, saved_before):
    """The settings file of a fresh device root: eight CR LF lines, the stamp of a save between
    the two local times (seconds since the epoch) given."""
    path = Path(root) / SETTINGS
    check(path.is_file(), f"no settings file at {path}")
    data = path.read_bytes()
    check(data.endswith(b"\r\n"), f"the settings file does not end with CR LF: {data!r}")
    lines = data[:-2].split(b"\r\n")
    check(all(b"\r" not in l and b"\n" not in l for l in lines),
          f"the settings file has a line end other than CR LF: {data!r}")
    text = [l.decode(errors="replace") for l in lines]
    check(len(text) == 8, f"the settings file has {len(text)} lines, not 8: {text}")
    expected = ["[Zazorudu]", None, "Version=1.00.0785 (01.2009)", "[EMAIL]",
                "wszDefaultEmailAddr=", "DefaultEmailAccount=E-mail", "[SMS]", "DefaultSMSphoneNumber="]
    for number, (want, got) in enumerate(zip(expected, text), 1):
        if want is not None:
            check(got == want, f"settings line {number} is {got!r}, expected {want!r}; file: {text}")
    stamp = DATE_TIME.fullmatch(text[1])
    check(stamp, f"settings line 2 is {text[1]!r}, expected DateTime=DDd-MMm-YYYYy-tHHMM_SSs")
    day, month, year, hour, minute, second = map(int, stamp.groups())
    saved = time.mktime((year, month, day, hour, minute, second, 0, 0, -1))
    check(int(saved_after) - 1 <= saved <= saved_before + 1,
          f"DateTime={text[1][9:]} is not a local time between the start and the end of the run "
          f"({time.strftime('%d.%m.%Y %H:%M:%S', time.localtime(saved_after))} .. "
          f"{time.strftime('%d.%m.%Y %H:%M:%S', time.localtime(saved_before))})")


# ---------------------------------------------------------------------------------------------
# Arguments


def args():
    """--program PATH --source DIR, as CMake passes them."""
    import argparse
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--source", required=True)
    a = parser.parse_args()
    a.program = Path(a.program)
    a.source = Path(a.source)
    if not os.access(a.program, os.X_OK):
        print(f"FAIL: {a.program} is not built; cmake --build build --target zazorudu", file=sys.stderr)
        sys.exit(1)
    return a


def program_env(display, root, gps):
    env = base_env()
    env.update({"DISPLAY": display, "PDA_ROOT": str(root), "PDA_GPS": gps, "PDA_DISPLAY": "sdl"})
    return env
