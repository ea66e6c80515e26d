"""scripts/run.sh keeps the PDA_* settings the caller made: with PDA_GPS=none (and a small
screen) under xvfb-run, the program it starts has those values and, having no GPS driver, ends
by itself with exit code 2 after saving its settings under the caller's PDA_ROOT."""
import sys
import time

import harness as h


def scenario(a, s):
    h.require_tools("xvfb-run", "Xvfb", "xauth")
    root = s.path("root")
    env = h.base_env()
    env.update({"PDA_ROOT": str(root), "PDA_GPS": "none", "PDA_SCREEN": "240x320@96"})
    started = time.time()
    runner = s.start("xvfb-run", ["xvfb-run", "-a", "-f", str(s.path("Xauthority")), "-s",
                                  "-screen 0 640x800x24 -nolisten tcp",
                                  str(a.source / "scripts" / "run.sh")], env=env, group=True)
    code = h.wait_exit(runner, 600, "xvfb-run scripts/run.sh with PDA_GPS=none")
    h.check(code == 2, f"xvfb-run scripts/run.sh ended with exit code {code} with PDA_GPS=none, "
                       "expected the program's 2")
    h.check_settings(root, started, time.time())


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("run_script_keeps_settings", lambda s: scenario(a, s)))
