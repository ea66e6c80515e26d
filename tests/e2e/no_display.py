"""The SDL back end without a display to show its window on: the program refuses with one line
on standard error that says how to run it under Xvfb, and a non-zero exit code.

The environment is the caller's without DISPLAY, WAYLAND_DISPLAY and SDL_VIDEODRIVER, as on a
box without a screen."""
import sys

import harness as h


def scenario(a, s):
    env = h.base_env()
    env.update({"PDA_ROOT": str(s.path("root")), "PDA_DISPLAY": "sdl", "PDA_GPS": "demo"})
    program = s.start("zazorudu", [str(a.program)], env=env)
    code = h.wait_exit(program, 20, "the program without a display")
    h.check(code != 0, "the program ended with exit code 0 without a display")
    lines = s.log_text("zazorudu").splitlines()
    h.check(len(lines) == 1, f"standard error has {len(lines)} lines, expected one: {lines}")
    h.check("Xvfb" in lines[0] or "xvfb" in lines[0],
            f"the line on standard error does not mention Xvfb: {lines[0]!r}")


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("no_display", lambda s: scenario(a, s)))
