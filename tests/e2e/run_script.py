"""The README's run command on a box without a screen, `xvfb-run -a scripts/run.sh`: it builds
what is out of date and starts the program on the demo receiver; the window appears, a fix of
the demo track reaches the clipboard through the copy button, and Ctrl+Q ends it (xvfb-run then
ends with the program's exit code, 0).

xvfb-run picks its display; the test reads it, and the program's PDA_GPS, from the program's
environment. A screenshot of the running program is left beside the test (run_script.png) when
xwd and ImageMagick are installed."""
import sys
import time
from decimal import Decimal
from pathlib import Path

import harness as h


def scenario(a, s):
    h.require_tools("xvfb-run", "Xvfb", "xauth", "xdotool", "xclip")
    track = h.fixes(a.source / "data" / "demo_track.nmea")
    h.check(track, "data/demo_track.nmea holds no fix")

    root = s.path("root")
    auth = s.path("Xauthority")
    env = h.base_env()
    env["PDA_ROOT"] = str(root)
    started = time.time()
    runner = s.start("xvfb-run", ["xvfb-run", "-a", "-f", str(auth), "-s",
                                  "-screen 0 640x800x24 -nolisten tcp",
                                  str(a.source / "scripts" / "run.sh")], env=env, group=True)

    def program_started():
        if runner.poll() is not None:
            raise h.Failure(f"xvfb-run scripts/run.sh ended with exit code {runner.returncode} "
                            "before the program started")
        return h.session_process(runner.pid, "zazorudu")
    # Generous: run.sh may have a build to do first.
    pid = h.wait_until("run.sh to start build/zazorudu", 600, program_started, interval=0.2)
    program_env = h.environment_of(pid)
    h.check(program_env.get("PDA_GPS") == "demo",
            f"run.sh started the program with PDA_GPS={program_env.get('PDA_GPS')!r}, expected demo")
    h.check(program_env.get("PDA_ROOT") == str(root),
            f"run.sh did not pass PDA_ROOT on: the program has {program_env.get('PDA_ROOT')!r}")
    display = program_env.get("DISPLAY")
    h.check(display, "the program started by run.sh has no DISPLAY")

    x = h.X(s, display, xauthority=str(auth))
    window = x.wait_window(runner)
    copied = h.wait_for_copied_fix(x, runner, window, timeout=40)
    lat, lon = (Decimal(v) for v in copied.split(","))
    tolerance = Decimal("0.0000001")
    h.check(any(abs(lat - tl) <= tolerance and abs(lon - tn) <= tolerance for tl, tn in track),
            f"copied {copied!r}, which is no position of data/demo_track.nmea")
    shot = Path.cwd() / "run_script.png"
    if h.screenshot(x, shot):
        print(f"screenshot: {shot}")

    x.key(window, "ctrl+q")
    code = h.wait_exit(runner, 20, "xvfb-run scripts/run.sh, after Ctrl+Q,")
    h.check(code == 0, f"xvfb-run scripts/run.sh ended with exit code {code} after Ctrl+Q, expected 0")
    h.check_settings(root, started, time.time())


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("run_script", lambda s: scenario(a, s)))
