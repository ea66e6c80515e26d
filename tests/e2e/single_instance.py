"""Starting the program a second time on the same device root leaves one program and one window:
the second start ends with exit code 0 without ever making a window (xev watches every window
made on the screen), and the first keeps running until Ctrl+Q."""
import sys

import harness as h

LOG = "tests/platform/gps/data/no_fix_indoors.nmea"


def scenario(a, s):
    h.require_tools("Xvfb", "xdotool", "xev")
    display = h.start_xvfb(s)
    x = h.X(s, display)
    root = s.path("root")
    env = h.program_env(display, root, f"nmea:{a.source / LOG}")
    first = s.start("zazorudu-first", [str(a.program)], env=env)
    window = x.wait_window(first)

    xev = s.start("xev", ["xev", "-root", "-event", "substructure"], env=x.env)
    # Moving the first window tells xev's root (ConfigureNotify): once it shows, xev listens.
    # Each try moves it somewhere new, since a move to where it is tells nothing.
    tries = iter(range(10, 1000))

    def listening():
        x.run("xdotool", "windowmove", window, str(next(tries)), "0")
        return "ConfigureNotify" in s.log_text("xev", "out")
    h.wait_until("xev to see the screen's windows", 15, listening)
    second = s.start("zazorudu-second", [str(a.program)], env=env)
    code = h.wait_exit(second, 15, "the second start")
    h.check(code == 0, f"the second start ended with exit code {code}, expected 0")
    x.run("xdotool", "windowmove", window, "1", "1")  # xev's last event: all before it are in
    h.wait_until("xev to see the window moved again", 15,
                 lambda: "(1,1)" in s.log_text("xev", "out"))
    made = s.log_text("xev", "out").count("CreateNotify")
    h.check(made == 0, f"{made} windows were made on the screen while the second start ran")
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
