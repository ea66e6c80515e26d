"""scripts/run.sh without a display (DISPLAY and WAYLAND_DISPLAY empty, PDA_DISPLAY not headless)
prints one line telling how to run it under Xvfb or headless, and exits with 1."""
import sys

import harness as h


def scenario(a, s):
    env = h.base_env()
    env["PDA_ROOT"] = str(s.path("root"))
    runner = s.start("run.sh", [str(a.source / "scripts" / "run.sh")], env=env, group=True)
    code = h.wait_exit(runner, 60, "scripts/run.sh without a display")
    h.check(code == 1, f"scripts/run.sh ended with exit code {code} without a display, expected 1")
    out = s.log_text("run.sh", "out") + s.log_text("run.sh", "err")
    lines = out.splitlines()
    h.check(len(lines) == 1, f"scripts/run.sh printed {len(lines)} lines, expected one: {lines}")
    for command in ("xvfb-run -a scripts/run.sh", "PDA_DISPLAY=headless scripts/run.sh"):
        h.check(command in lines[0], f"the line does not give `{command}`: {lines[0]!r}")
    h.check(not s.path("root").exists(), "scripts/run.sh started the program without a display")


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("run_script_no_display", lambda s: scenario(a, s)))
