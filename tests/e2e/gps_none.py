"""With no GPS driver (PDA_GPS=none) the program ends by itself with exit code 2, having saved its
settings."""
import sys
import time

import harness as h


def scenario(a, s):
    h.require_tools("Xvfb")
    display = h.start_xvfb(s)
    root = s.path("root")
    started = time.time()
    program = s.start("zazorudu", [str(a.program)], env=h.program_env(display, root, "none"))
    code = h.wait_exit(program, 30, "the program with PDA_GPS=none")
    h.check(code == 2, f"the program ended with exit code {code} with PDA_GPS=none, expected 2")
    h.check_settings(root, started, time.time())


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("gps_none", lambda s: scenario(a, s)))
