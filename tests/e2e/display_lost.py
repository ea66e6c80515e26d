"""The X server going away under the running program: the program closes as its user would
close it (the settings file is written), says so in one line and exits with code 1; no abort,
no other complaint on standard error."""
import sys
import time

import harness as h

LOST = "zazorudu: the display was lost"


def scenario(a, s):
    h.require_tools("Xvfb", "xdotool")
    display = h.start_xvfb(s)
    x = h.X(s, display)
    root = s.path("root")
    started = time.time()
    program = s.start("zazorudu", [str(a.program)], env=h.program_env(display, root, "demo"))
    x.wait_window(program)
    s.xvfb.kill()
    code = h.wait_exit(program, 15, "the program, after its X server was killed,")
    h.check(code == 1, f"the program ended with exit code {code} when its display was lost, expected 1")
    lines = [l for l in s.log_text("zazorudu").splitlines() if not l.startswith("GPS ")]
    h.check(lines == [LOST], f"standard error, besides the GPS state lines, is {lines}, "
                             f"expected only {LOST!r}")
    h.check_settings(root, started, time.time())


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("display_lost", lambda s: scenario(a, s)))
