"""A PDA_* setting that cannot be used, or a GPS source that cannot be opened at all, ends the
program before anything starts: one line on standard error,
`zazorudu: NAME=VALUE: WHY; expected FORMS`, exit code 78 (EX_CONFIG), no connection to the X
server (Xvfb's audit log names every client that connects) and no device root made. Each case
runs with the SDL back end and headless."""
import os
import re
import subprocess
import sys

import harness as h

BAD_SETTING = 78
LINE = re.compile(r"zazorudu: (PDA_[A-Z_]+)(=.*| \(unset\)): (.+); expected (.+)")


def cases(s):
    folder = s.path("a folder")
    folder.mkdir()
    fifo = s.path("a fifo")
    os.mkfifo(fifo)
    plain_file = s.path("a file")
    plain_file.write_text("")
    # (setting, value, words the reason holds)
    return [
        ("PDA_GPS", "nmea:/no/such/file", "no such file"),
        ("PDA_GPS", f"nmea:{folder}", "folder"),
        ("PDA_GPS", f"nmea:{fifo}", "not a file or serial device"),
        ("PDA_GPS", "nmea:", "not a GPS source"),
        ("PDA_GPS", "gpsd://localhost", "not a GPS source"),
        ("PDA_GPS", "garmin", "not a GPS source"),
        ("PDA_SCREEN", "480x640", "not a screen"),
        ("PDA_ZOOM", "0", "not a zoom"),
        ("PDA_DISPLAY", "x11", "not a display"),
        ("PDA_COMPOSE", "fax", "not a way of sending"),
        ("PDA_TRACE_STARTUP", "yes", "neither on nor off"),
        ("PDA_MESSAGE_STORES", b"E-mail,\xff", "not UTF-8"),
        ("PDA_ROOT", f"{plain_file}/root", "Not a directory"),
    ]


def scenario(a, s):
    h.require_tools("Xvfb", "xdotool")
    display = h.start_xvfb(s, extra=("-audit", "4"))
    root = s.path("root")
    for name, value, reason in cases(s):
        for kind in ("sdl", "headless"):
            if name == "PDA_DISPLAY" and kind == "headless":
                continue
            env = {k.encode(): v.encode() for k, v in h.program_env(display, root, "demo").items()}
            env[b"PDA_DISPLAY"] = kind.encode()
            env[name.encode()] = value if isinstance(value, bytes) else value.encode()
            label = f"{name}-{kind}-{len(s.log_text('xvfb'))}"
            program = s.start(label, [str(a.program)], env=env)
            what = f"{name}={value!r} ({kind})"
            code = h.wait_exit(program, 15, f"the program with {what}")
            h.check(code == BAD_SETTING, f"{what}: exit code {code}, expected {BAD_SETTING}")
            lines = s.log_text(label).splitlines()
            h.check(len(lines) == 1, f"{what}: standard error has {len(lines)} lines, expected one: {lines}")
            line = LINE.fullmatch(lines[0])
            h.check(line and line.group(1) == name and reason in line.group(3),
                    f"{what}: the line {lines[0]!r} is not `zazorudu: {name}=VALUE: WHY; expected "
                    f"FORMS` with {reason!r} in WHY")
            h.check(f"pid={program.pid} " not in s.log_text("xvfb"),
                    f"{what}: the program connected to the X server")
            if name != "PDA_ROOT":
                h.check(not root.exists(), f"{what}: the device root was made")
    # The audit log does name a client that connects: the checks above can fail.
    probe = subprocess.Popen(["xdotool", "search", "--name", "none"], env=h.X(s, display).env,
                             stdout=subprocess.DEVNULL)
    probe.wait(timeout=15)
    h.wait_until("Xvfb's audit log to name a connecting client", 10,
                 lambda: f"pid={probe.pid} " in s.log_text("xvfb"))


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("bad_settings", lambda s: scenario(a, s)))
