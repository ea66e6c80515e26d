"""Starting the program a second time on the same device root leaves one program and one window:
the second start ends with exit code 0 and the first keeps running until Ctrl+Q."""
import sys

import harness as h

LOG = "tests/platform/gps/data/no_fix_indoors.nmea"


def scenario(a, s):
    h.require_tools("Xvfb", "xdotool")
    display = h.start_xvfb(s)
    x = h.X(s, display)
    root = s.path("root")
    env = h.program_env(display, root, f"nmea:{a.source / LOG}")
    first = s.start("zazorudu-first", [str(a.program)], env=env)
    window = x.wait_window(first)

    second = s.start("zazorudu-second", [str(a.program)], env=env)
    code = h.wait_exit(second, 15, "the second start")
    h.check(code == 0, f"the second start ended with exit code {code}, expected 0")
    h.check(first.poll() is None, f"the first program ended (exit code {first.returncode}) "
                                  "when the second was started")
    windows = x.windows()
    h.check(windows == [window], f"windows titled Zazorudu after the second start: {windows}, "
                                 f"expected only the first's ({window})")

    x.key(window, "ctrl+q")
    code = h.wait_exit(first, 15, "the first program, after Ctrl+Q,")
    h.check(code == 0, f"the first program ended with exit code {code} after Ctrl+Q, expected 0")


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("single_instance", lambda s: scenario(a, s)))
