"""A fix from a private gpsd reaches the screen and, through the copy button, the clipboard;
Ctrl+Q ends the program with exit code 0 and the settings file written.

The log (tests/platform/gps/data/gpsd_fix_3d.log) holds one stationary 3D fix; gpsfake loops it
to a gpsd on a free loopback port and the program reads it through PDA_GPS=gpsd://."""
import sys
import time

import harness as h

LOG = "tests/platform/gps/data/gpsd_fix_3d.log"


def scenario(a, s):
    h.require_tools("Xvfb", "xdotool", "xclip", "gpsfake", "gpsd")
    log = a.source / LOG
    positions = set(h.fixes(log))
    h.check(len(positions) == 1, f"{LOG} should hold one position, holds {sorted(positions)}")
    lat, lon = positions.pop()
    expected = f"{h.seven(lat)},{h.seven(lon)}"

    port = h.start_gpsfake(s, log)
    display = h.start_xvfb(s)
    x = h.X(s, display)
    root = s.path("root")
    started = time.time()
    program = s.start("zazorudu", [str(a.program)],
                      env=h.program_env(display, root, f"gpsd://127.0.0.1:{port}"))
    window = x.wait_window(program)

    copied = h.wait_for_copied_fix(x, program, window)
    h.check("\n" not in copied and "\r" not in copied,
            f"the copied text has a line break: {copied!r}")
    h.check(copied == expected, f"copied {copied!r}, the log's position is {expected!r}")

    x.key(window, "ctrl+q")
    code = h.wait_exit(program, 15, "the program, after Ctrl+Q,")
    h.check(code == 0, f"the program ended with exit code {code} after Ctrl+Q, expected 0")
    h.check_settings(root, started, time.time())


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("gpsd_fix", lambda s: scenario(a, s)))
