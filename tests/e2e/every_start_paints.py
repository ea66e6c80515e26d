"""Every start paints: the program is started many times, one after another, on one Xvfb while a
busy loop keeps the other core loaded, and every start must put its screen on the display (most
of its window's pixels in Xvfb's frame buffer lit), not only map a window that stays black. Each
start also reports its first full present (PDA_TRACE_STARTUP=1) and ends with exit code 0 on
SIGTERM. ZAZ_STARTS sets the count: 50 by default, 500 by hand."""
import os
import signal
import subprocess
import sys

import harness as h

LOG = "tests/platform/gps/data/no_fix_indoors.nmea"
WIDTH, HEIGHT = 480, 640  # the default screen, and so the window
# The acquiring screen lights far more than this; a window that was mapped and never drawn
# lights nothing (Xvfb's root is black with -br).
LIT_AT_LEAST = WIDTH * HEIGHT // 10


def scenario(a, s):
    starts = int(os.environ.get("ZAZ_STARTS", "50"))
    folder = s.path("fb")
    folder.mkdir()
    display = h.start_xvfb(s, WIDTH, HEIGHT, extra=("-fbdir", str(folder), "-br"))
    screen = h.ScreenFile(folder)
    s.start("busy", [sys.executable, "-c", "while True: pass"], gentle=False)
    env = h.program_env(display, s.path("root"), f"nmea:{a.source / LOG}")
    env["PDA_TRACE_STARTUP"] = "1"
    for n in range(1, starts + 1):
        h.wait_until(f"a black screen before start {n}", 10,
                     lambda: screen.lit_pixels(WIDTH, HEIGHT) == 0, interval=0.02)
        label = f"start{n}"
        program = s.start(label, [str(a.program)], env=env)

        def painted():
            if program.poll() is not None:
                raise h.Failure(f"start {n} ended (exit code {program.returncode}) before it painted")
            return screen.lit_pixels(WIDTH, HEIGHT) >= LIT_AT_LEAST
        h.wait_until(f"start {n} of {starts} to paint its window", 10, painted, interval=0.02)
        h.wait_until(f"start {n}'s first full present on standard error", 10,
                     lambda: "first-present-ms=" in s.log_text(label))
        program.send_signal(signal.SIGTERM)
        code = h.wait_exit(program, 15, f"start {n}, after SIGTERM,")
        h.check(code == 0, f"start {n} ended with exit code {code} after SIGTERM, expected 0")
    print(f"{starts} starts, each painted")


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("every_start_paints", lambda s: scenario(a, s)))
