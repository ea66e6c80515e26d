"""An ending signal closes the program as its user would: SIGTERM under X (a desktop logout, kill)
and SIGINT headless (Ctrl+C in a terminal, and the only way to stop a headless run) end it with
exit code 0, having saved the settings file."""
import signal
import sys
import time

import harness as h


def wait_running(s, label):
    """The program's window is up once the GPS driver it opens after showing it reports."""
    err = s.path(f"{label}.err")
    h.wait_until(f"{label} to open its GPS receiver", 30,
                 lambda: err.exists() and b"Demo receiver" in err.read_bytes())


def scenario(a, s):
    h.require_tools("Xvfb")
    display = h.start_xvfb(s)
    for label, display_kind, sig in (("under_x", "sdl", signal.SIGTERM),
                                     ("headless", "headless", signal.SIGINT)):
        root = s.path(f"root_{label}")
        env = h.program_env(display, root, "demo")
        env["PDA_DISPLAY"] = display_kind
        started = time.time()
        program = s.start(label, [str(a.program)], env=env)
        wait_running(s, label)
        program.send_signal(sig)
        code = h.wait_exit(program, 15, f"the program ({label}), after {sig.name},")
        h.check(code == 0, f"the program ({label}) ended with exit code {code} after {sig.name}, "
                           "expected 0")
        h.check_settings(root, started, time.time())


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("signals", lambda s: scenario(a, s)))
