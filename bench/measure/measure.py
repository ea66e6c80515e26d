#!/usr/bin/env python3
"""Start-up time, peak memory and idle CPU of the program beside a bare SDL2 window, under a
private Xvfb. Standard library only; X11 is reached through libX11 with ctypes.

Sections: command line; helpers (statistics, /proc readers); the private X server and the window
watch; the programs under test; the three measures; main.

Run through startup.sh, memory.sh and cpu.sh next to this file (see bench/README.md).
"""
import argparse
import ctypes
import ctypes.util
import math
import os
import select
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CLK_TCK = os.sysconf("SC_CLK_TCK")
PAGE = os.sysconf("SC_PAGE_SIZE")
SETTINGS_IN_ROOT = os.path.join("Program Files", "Zazorudu", "Zazorudu.settings.txt")


# --- helpers --------------------------------------------------------------------------------

def percentile(values, p):
    """Nearest-rank percentile."""
    ordered = sorted(values)
    return ordered[max(0, math.ceil(p / 100 * len(ordered)) - 1)]


def fmt(value, unit="", digits=1):
    return "-" if value is None else f"{value:.{digits}f}{unit}"


def proc_stat(pid):
    """Fields of /proc/PID/stat after the command name, numbered as in proc(5) (state is 3)."""
    with open(f"/proc/{pid}/stat") as f:
        line = f.read()
    rest = line[line.rindex(")") + 2:].split()
    return {i + 3: v for i, v in enumerate(rest)}


def cpu_seconds(pid):
    fields = proc_stat(pid)
    return (int(fields[14]) + int(fields[15])) / CLK_TCK


def status_fields(path):
    out = {}
    try:
        with open(path) as f:
            for line in f:
                key, _, value = line.partition(":")
                out[key] = value.strip()
    except OSError:
        pass
    return out


def kib(text):
    return int(text.split()[0]) if text else None


def thread_switches(pid):
    """{tid: (name, voluntary, involuntary, seconds on CPU)} for every thread alive now."""
    threads = {}
    try:
        tids = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return threads
    for tid in tids:
        s = status_fields(f"/proc/{pid}/task/{tid}/status")
        if "voluntary_ctxt_switches" in s:
            try:
                with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                    on_cpu = int(f.read().split()[0]) / 1e9
            except (OSError, IndexError, ValueError):
                on_cpu = 0.0
            threads[int(tid)] = (s.get("Name", "?"), int(s["voluntary_ctxt_switches"]),
                                 int(s["nonvoluntary_ctxt_switches"]), on_cpu)
    return threads


def on_cpu_seconds(pid):
    """Time on a CPU of the threads alive now, in ns resolution (/proc/PID/task/*/schedstat)."""
    total = 0
    try:
        tids = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return 0.0
    for tid in tids:
        try:
            with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                total += int(f.read().split()[0])
        except (OSError, IndexError, ValueError):
            pass
    return total / 1e9


def stop(process, grace=2.0):
    """SIGTERM, then SIGKILL after `grace` seconds. Returns how it ended."""
    if process.poll() is not None:
        return "exited"
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(grace)
        return "terminated"
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        return "killed"


# --- the private X server and the window watch ----------------------------------------------

def die_with_parent():
    """In a child before exec: SIGTERM when this script ends, however it ends."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


class Xvfb:
    """An Xvfb on a display it picks itself (-displayfd), so parallel runs never collide."""

    def __init__(self, screen="1024x768x24"):
        self.screen = screen

    def __enter__(self):
        if not shutil.which("Xvfb"):
            sys.exit("Xvfb is not installed (package xvfb; scripts/install-deps.sh installs it)")
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", self.screen, "-nolisten", "tcp",
             "-noreset"], pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=die_with_parent)
        os.close(write)
        number = b""
        ready, _, _ = select.select([read], [], [], 10)
        while ready:
            chunk = os.read(read, 16)
            if not chunk:
                break
            number += chunk
            if number.endswith(b"\n"):
                break
            ready, _, _ = select.select([read], [], [], 10)
        os.close(read)
        if not number.strip():
            self.process.kill()
            sys.exit("Xvfb did not report a display within 10 s")
        self.display = ":" + number.decode().strip()
        return self

    def cpu_seconds(self):
        return on_cpu_seconds(self.process.pid)

    def __exit__(self, *exc):
        stop(self.process)


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong),
                ("window", ctypes.c_ulong), ("override_redirect", ctypes.c_int)]


# Xlib's default error handler ends the process; a window may be gone by the time its name is asked
# for (GL set-up maps and destroys probe windows), so errors are ignored.
X_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
IGNORE_X_ERRORS = X_ERROR_HANDLER(lambda display, event: 0)


class WindowWatch:
    """Notes when a top-level window whose name holds `title` is mapped. Without a window
    manager every top-level window is a child of the root, so SubstructureNotify on the root
    sees every MapNotify, with no polling."""
    MAP_NOTIFY = 19
    PROPERTY_NOTIFY = 28
    SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
    PROPERTY_CHANGE_MASK = 1 << 22

    def __init__(self, display):
        path = ctypes.util.find_library("X11")
        if not path:
            sys.exit("libX11 not found")
        x = self.x = ctypes.CDLL(path)
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
        x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        x.XSetErrorHandler.argtypes = [X_ERROR_HANDLER]
        x.XSetErrorHandler.restype = ctypes.c_void_p
        x.XSetErrorHandler(IGNORE_X_ERRORS)
        self.dpy = x.XOpenDisplay(display.encode())
        if not self.dpy:
            sys.exit(f"cannot open X display {display}")
        x.XSelectInput(self.dpy, x.XDefaultRootWindow(self.dpy), self.SUBSTRUCTURE_NOTIFY_MASK)
        x.XFlush(self.dpy)
        self.fd = x.XConnectionNumber(self.dpy)
        self.unnamed = {}  # window -> when it was mapped, while its name does not match yet

    def name_matches(self, window, title):
        name = ctypes.c_char_p()
        found = False
        if self.x.XFetchName(self.dpy, window, ctypes.byref(name)) and name.value is not None:
            found = title.encode() in name.value
            self.x.XFree(name)
        return found

    def mapped(self, title, now):
        """Drains pending events. Returns when the window named like `title` was mapped, or
        None. A program may name its window only after showing it: a window mapped under another
        name is watched for property changes, and counts from its map once the name matches."""
        event = XEvent()
        found = None
        while self.x.XPending(self.dpy):
            self.x.XNextEvent(self.dpy, ctypes.byref(event))
            window = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XMapEvent)).contents.window
            if event.type == self.MAP_NOTIFY:
                if self.name_matches(window, title):
                    found = found or now
                else:
                    self.unnamed[window] = now
                    self.x.XSelectInput(self.dpy, window, self.PROPERTY_CHANGE_MASK)
            elif event.type == self.PROPERTY_NOTIFY:
                # XPropertyEvent's window sits where XMapEvent's `event` field is.
                window = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XMapEvent)).contents.event
                if window in self.unnamed and self.name_matches(window, title):
                    found = found or self.unnamed.pop(window)
        return found

    def close(self):
        self.x.XCloseDisplay(self.dpy)


# --- a 1 Hz receiver through gpsd -------------------------------------------------------------

class GpsFake:
    """gpsd fed by gpsfake with bench/data/walk_1hz.nmea: one epoch a second, each with a position
    and a sky view, as a real receiver sends them. Sets args.gps to its address."""
    LOG = os.path.join(ROOT, "bench", "data", "walk_1hz.nmea")

    def __init__(self, args):
        self.args = args

    def __enter__(self):
        if not shutil.which("gpsfake"):
            sys.exit("gpsfake is not installed (package gpsd-clients; scripts/install-deps.sh)")
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            port = probe.getsockname()[1]
        self.process = subprocess.Popen(
            ["gpsfake", "-q", "-P", str(port), "-c", "0.2", self.LOG], stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, preexec_fn=die_with_parent)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            try:
                with socket.create_connection(("127.0.0.1", port), timeout=1):
                    break
            except OSError:
                time.sleep(0.1)
        else:
            stop(self.process)
            sys.exit("gpsfake's gpsd did not answer within 10 s")
        self.args.gps = f"gpsd://127.0.0.1:{port}"
        print(f"gpsd fed by gpsfake at 1 Hz ({os.path.relpath(self.LOG, ROOT)}) on port {port}")
        return self

    def __exit__(self, *exc):
        stop(self.process)


# --- the programs under test ----------------------------------------------------------------

class Program:
    """One program to measure: how to start it, what its window is called, how it is closed."""

    def __init__(self, label, argv, title, env=None, closes_itself=False, fresh_root=False):
        self.label, self.argv, self.title = label, argv, title
        self.env = env or {}
        self.closes_itself = closes_itself
        self.fresh_root = fresh_root
        self.root = None

    def start(self, display, stderr, settings=None, rss_file=None):
        """Starts the program; with rss_file, under /usr/bin/time, which writes the program's peak
        RSS (KiB) there. Reaping the program ourselves would not do: a child forked from this
        Python process carries Python's resident size in its ru_maxrss past the exec."""
        env = dict(os.environ, DISPLAY=display, **self.env)
        env.pop("SDL_VIDEODRIVER", None)
        env.pop("SDL_FRAMEBUFFER_ACCELERATION", None)  # would override the programs' own hint
        if self.fresh_root:
            self.root = tempfile.mkdtemp(prefix="zaz-measure-root-")
            env["PDA_ROOT"] = self.root
            if settings:
                target = os.path.join(self.root, SETTINGS_IN_ROOT)
                os.makedirs(os.path.dirname(target))
                shutil.copy(settings, target)
        argv = ["/usr/bin/time", "-f", "%M", "-o", rss_file] + self.argv if rss_file else self.argv
        return subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=stderr)

    def cleanup(self):
        if self.root:
            shutil.rmtree(self.root, ignore_errors=True)
            self.root = None


def programs(args, reference_seconds):
    """The reference first (always there once built), then the program when it is built."""
    build = os.path.join(ROOT, args.build)
    reference = args.reference or os.path.join(build, "bench", "reference", "bare_sdl_window")
    found = []
    if os.access(reference, os.X_OK):
        argv = [reference, "--seconds", str(reference_seconds)] if reference_seconds else [reference]
        found.append(Program("bare SDL2 window (reference)", argv, "bare_sdl_window",
                             closes_itself=bool(reference_seconds)))
    else:
        print(f"reference {reference} is not built: cmake --build {args.build} --target bare_sdl_window")
    app = args.app or os.path.join(build, "zazorudu")
    if os.access(app, os.X_OK):
        found.append(Program(f"zazorudu (PDA_GPS={args.gps})", [app], "Zazorudu", fresh_root=True,
                             env={"PDA_GPS": args.gps, "PDA_DISPLAY": "sdl",
                                  "PDA_SCREEN": args.screen, "PDA_TRACE_STARTUP": "1"}))
    else:
        print(f"program {os.path.relpath(app, ROOT)} is not built yet: measuring the reference only")
    if not found:
        sys.exit("nothing to measure")
    return found


def child_of(pid, timeout=5.0):
    """The first child of `pid` (the program under /usr/bin/time), or None."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            with open(f"/proc/{pid}/task/{pid}/children") as f:
                children = f.read().split()
            if children:
                return int(children[0])
        except OSError:
            return None
        time.sleep(0.002)
    return None


def exited(process, timeout):
    """Waits until the process has ended, without reaping it (wait4 reads its rusage later)."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        state = status_fields(f"/proc/{process.pid}/status").get("State", "Z")
        if state.startswith("Z"):
            return True
        time.sleep(0.01)
    return False


def send_ctrl_q(display, program):
    """Ctrl+Q to the program's window with xdotool. There is no window manager, so the focus is
    set directly (windowfocus), then the keys go through XTEST like a keyboard's (a `key` chained
    to the found window would be a synthetic XSendEvent, which toolkits may treat apart)."""
    env = dict(os.environ, DISPLAY=display)
    for command in (["search", "--name", program.title, "windowfocus", "--sync"],
                    ["key", "--clearmodifiers", "ctrl+q"]):
        try:
            subprocess.run(["xdotool"] + command, env=env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=10)
        except subprocess.TimeoutExpired:
            pass


def close(display, program, process, timeout=5.0):
    """Closes the program (Ctrl+Q, then SIGTERM, then SIGKILL) and reaps it.
    Returns (how it ended, rusage)."""
    send_ctrl_q(display, program)
    sent = time.monotonic()
    if exited(process, timeout):
        how = f"closed by Ctrl+Q in {(time.monotonic() - sent) * 1e3:.0f} ms"
    else:
        process.send_signal(signal.SIGTERM)
        how = f"did not close {timeout:.0f} s after Ctrl+Q; SIGTERM"
        if not exited(process, 2.0):
            process.kill()
            how += ", SIGKILL"
    return how, reap(process)


def reap(process):
    """wait4 on the process: its exit code into `process`, its rusage returned."""
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    return usage


# --- start-up ---------------------------------------------------------------------------------

def one_start(x, program, settings, timeout):
    """One start: ms from just before exec to the self-reported first present, and to the map
    of the window, as far as seen within `timeout` seconds."""
    watch = WindowWatch(x.display)
    read, write = os.pipe()
    before = time.monotonic()
    process = program.start(x.display, write, settings)
    os.close(write)
    present = clock = mapped = None
    pending = b""
    reading = True
    deadline = before + timeout
    try:
        while time.monotonic() < deadline:
            if mapped is not None and (present is not None or not reading):
                break
            if mapped is not None and present is None:
                # No first-present line yet: give it a moment after the map, not the whole timeout.
                deadline = min(deadline, time.monotonic() + 1.0)
            if process.poll() is not None and mapped is None:
                break
            fds = [watch.fd] + ([read] if reading else [])
            ready, _, _ = select.select(fds, [], [], max(0, min(0.1, deadline - time.monotonic())))
            now = time.monotonic()
            if watch.fd in ready and mapped is None:
                at = watch.mapped(program.title, now)
                if at is not None:
                    mapped = (at - before) * 1e3
            if read in ready:
                chunk = os.read(read, 4096)
                reading = bool(chunk)
                pending += chunk
                *lines, pending = pending.split(b"\n")
                for line in lines:
                    key, _, value = line.decode(errors="replace").partition("=")
                    if key == "first-present-ms" and present is None:
                        present = float(value)
                    elif key == "first-present-clock-ms":
                        clock = float(value) - before * 1e3
                    elif key and not key.startswith("first-present"):
                        print(f"  {program.label}: {line.decode(errors='replace')}", file=sys.stderr)
        if process.poll() is not None and present is None and mapped is None:
            print(f"  {program.label} exited with {process.returncode} during start-up",
                  file=sys.stderr)
    finally:
        stop(process)
        os.close(read)
        watch.close()
        program.cleanup()
    # The clock line, read against our own clock, is finer than the 10 ms tick of the other.
    if clock is not None:
        present = clock
    return present, mapped


def series(values):
    values = [v for v in values if v is not None]
    if not values:
        return None, None, 0
    return statistics.median(values), percentile(values, 90), len(values)


def measure_startup(args):
    with Xvfb(args.xvfb_screen) as x:
        print(f"start-up under Xvfb {x.display} ({args.xvfb_screen}), {args.runs} runs each, "
              f"load average {os.getloadavg()[0]:.2f}")
        print("from just before exec to: the first present the program reports on stderr "
              "(first-present-ms=, with PDA_TRACE_STARTUP=1), and the map of its window "
              "(X MapNotify)")
        found = programs(args, reference_seconds=0)
        print(f"{'program':34} {'present median':>15} {'p90':>8} {'mapped median':>14} {'p90':>8}")
        cases = []
        for program in found:
            cases.append((program, None, ""))
            if program.fresh_root and args.settings:
                cases.append((program, args.settings, " +settings"))
        medians = {}
        for program, settings, suffix in cases:
            presents, maps = [], []
            for _ in range(args.runs):
                present, mapped = one_start(x, program, settings, args.timeout)
                presents.append(present)
                maps.append(mapped)
            pm, p90, n = series(presents)
            mm, m90, k = series(maps)
            medians[suffix] = pm if pm is not None else mm
            note = "" if n == args.runs else f"  (present line in {n}/{args.runs} runs"
            if n == 0:
                note += "; no first-present-ms line: the map column is the fallback figure"
            note += ")" if note else ""
            if k != args.runs:
                note += f"  (window mapped in {k}/{args.runs} runs)"
            print(f"{program.label + suffix:34} {fmt(pm, ' ms'):>15} {fmt(p90, ' ms'):>8} "
                  f"{fmt(mm, ' ms'):>14} {fmt(m90, ' ms'):>8}{note}")
        if any(p.fresh_root for p, _, _ in cases):
            if args.settings:
                extra = None if medians.get(" +settings") is None or medians.get("") is None \
                    else medians[" +settings"] - medians[""]
                print(f"settings-load pauses: the run with a settings file took {fmt(extra, ' ms')} "
                      f"longer (median; 350 ms of fixed pauses expected)")
            else:
                print("settings-load pauses (350 ms, only when a settings file exists) are left out: "
                      "every run starts on a fresh PDA_ROOT; --settings FILE measures them apart")


# --- memory -----------------------------------------------------------------------------------

def measure_memory(args):
    with Xvfb(args.xvfb_screen) as x:
        print(f"peak resident memory under Xvfb {x.display}, each program shown {args.seconds} s "
              f"then closed; load average {os.getloadavg()[0]:.2f}")
        print("peak RSS: the kernel's high-water mark at the program's exit (/usr/bin/time %M); "
              "VmHWM seen: the same read from /proc/PID/status every 20 ms until it closed")
        found = programs(args, reference_seconds=0 if args.reference_key else args.seconds)
        print(f"{'program':34} {'peak RSS':>10} {'VmHWM seen':>11} {'threads':>8}  end")
        for program in found:
            if args.reference_key:
                program.closes_itself = False
            log = tempfile.TemporaryFile()
            rss_file = tempfile.NamedTemporaryFile(prefix="zaz-rss-")
            process = program.start(x.display, log, rss_file=rss_file.name)
            started = time.monotonic()
            close_at = started + args.seconds
            pid = child_of(process.pid)
            hwm = threads = 0
            end = None
            while end is None:
                s = status_fields(f"/proc/{pid}/status")
                if not s or s.get("State", "Z").startswith("Z"):
                    if exited(process, 5.0):
                        end = f"exited on its own after {time.monotonic() - started:.1f} s"
                        reap(process)
                        break
                else:
                    hwm = max(hwm, kib(s.get("VmHWM")) or 0)
                    threads = max(threads, int(s.get("Threads", 0)))
                late = time.monotonic() - close_at
                if not program.closes_itself and late >= 0:
                    end, _ = close(x.display, program, process)
                elif program.closes_itself and late > 10:
                    end, _ = close(x.display, program, process)
                    end = "did not exit on its own; " + end
                time.sleep(0.02)
            try:
                peak = int(open(rss_file.name).read().split()[-1])  # KiB, from the program's reap
            except (ValueError, IndexError):
                peak = None
            if process.returncode:
                end += f", exit code {process.returncode}"
            print(f"{program.label:34} {fmt(peak / 1024 if peak else None, ' MB'):>10} "
                  f"{fmt(hwm / 1024, ' MB'):>11} {threads:>8}  {end}")
            program.cleanup()


# --- CPU and wake-ups -------------------------------------------------------------------------

def measure_cpu(args):
    print(f"CPU and context switches over {args.seconds} s after a {args.warmup} s settle, each "
          f"program alone under its own Xvfb; load average {os.getloadavg()[0]:.2f}")
    rows = []
    for program in programs(args, reference_seconds=args.warmup + args.seconds + 30):
        program.closes_itself = False
        with Xvfb(args.xvfb_screen) as x:
            log = tempfile.TemporaryFile()
            process = program.start(x.display, log)
            time.sleep(args.warmup)
            if process.poll() is not None:
                log.seek(0)
                print(f"{program.label}: exited during the settle ({process.returncode}):\n"
                      + log.read().decode(errors="replace"))
                program.cleanup()
                continue
            t0, c0, n0, x0, s0 = time.monotonic(), cpu_seconds(process.pid), \
                on_cpu_seconds(process.pid), x.cpu_seconds(), thread_switches(process.pid)
            time.sleep(args.seconds)
            t1, c1, n1, x1, s1 = time.monotonic(), cpu_seconds(process.pid), \
                on_cpu_seconds(process.pid), x.cpu_seconds(), thread_switches(process.pid)
            if program.title == "Zazorudu":
                end, _ = close(x.display, program, process)
            else:
                end = stop(process)
            program.cleanup()
        elapsed = t1 - t0
        per_thread = []
        for tid, (name, vol, invol, busy) in sorted(s1.items()):
            _, vol0, invol0, busy0 = s0.get(tid, (name, 0, 0, 0.0))
            per_thread.append((tid, name, vol - vol0, invol - invol0, busy - busy0, tid not in s0))
        gone = [f"{name}[{tid}]" for tid, (name, *_) in s0.items() if tid not in s1]
        rows.append((program, elapsed, c1 - c0, n1 - n0, x1 - x0, per_thread, gone, end))

    print(f"{'program':34} {'CPU':>9} {'on CPU':>10} {'% core':>7} {'X server':>9} "
          f"{'switches':>9} {'per s':>7}")
    for program, elapsed, cpu, oncpu, xcpu, per_thread, gone, end in rows:
        total = sum(v + i for _, _, v, i, _, _ in per_thread)
        print(f"{program.label:34} {cpu * 1e3:6.0f} ms {oncpu * 1e3:7.2f} ms "
              f"{oncpu / elapsed * 100:6.3f}% {xcpu * 1e3:6.1f} ms {total:9d} {total / elapsed:7.2f}")
        for tid, name, vol, invol, busy, new in per_thread:
            print(f"    thread {name:16} [{tid}] voluntary {vol:6d}  involuntary {invol:5d}  "
                  f"on CPU {busy * 1e3:7.2f} ms"
                  + ("  (started during the window)" if new else ""))
        if gone:
            print(f"    threads that ended during the window (not counted): {', '.join(gone)}")
        print(f"    end: {end}")
    print(f"(CPU: utime+stime from /proc/PID/stat, in {1000 // CLK_TCK} ms ticks; on CPU and % core: "
          "/proc/PID/task/*/schedstat, in ns, threads alive at both ends; switches: "
          "voluntary+nonvoluntary from /proc/PID/task/*/status; X server: Xvfb's time on CPU)")


# --- main -------------------------------------------------------------------------------------

def main():
    common = argparse.ArgumentParser(add_help=False)
    common.add_argument("--build", default="build", help="build folder, relative to the repository")
    common.add_argument("--app", help="the program (default BUILD/zazorudu)")
    common.add_argument("--reference",
                        help="the reference (default BUILD/bench/reference/bare_sdl_window)")
    common.add_argument("--screen", default="480x640@192", help="PDA_SCREEN for the program")
    common.add_argument("--xvfb-screen", default="1024x768x24")
    common.add_argument("--gps", default="demo",
                        help="PDA_GPS for the program, e.g. gpsd://127.0.0.1:PORT of a gpsfake")
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    sub = parser.add_subparsers(dest="measure", required=True)
    s = sub.add_parser("startup", parents=[common], help="exec to first present and to window map")
    s.add_argument("-n", "--runs", type=int, default=10)
    s.add_argument("--timeout", type=float, default=10.0, help="seconds to wait for one start")
    s.add_argument("--settings", help="also measure the program with this settings file in place")
    m = sub.add_parser("memory", parents=[common], help="peak resident memory")
    m.add_argument("--seconds", type=float, default=5.0)
    m.add_argument("--reference-key", action="store_true",
                   help="close the reference with Ctrl+Q too (tests the close path)")
    c = sub.add_parser("cpu", parents=[common], help="CPU and context switches while idle")
    c.add_argument("--seconds", type=float, default=60.0)
    c.add_argument("--quick", dest="seconds", action="store_const", const=20.0, help="20 s")
    c.add_argument("--warmup", type=float, default=3.0)
    for sub_parser in (m, c):
        sub_parser.add_argument("--gpsd-1hz", action="store_true",
                                help="PDA_GPS: a gpsd fed by gpsfake at 1 Hz, position and sky view")
    args = parser.parse_args()
    run = {"startup": measure_startup, "memory": measure_memory, "cpu": measure_cpu}[args.measure]
    if getattr(args, "gpsd_1hz", False):
        with GpsFake(args):
            run(args)
    else:
        run(args)


if __name__ == "__main__":
    main()
