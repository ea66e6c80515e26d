"""While the receiver has no fix the touch buttons are inert: a tap on the copy button leaves the
clipboard as it was.

The receiver replays tests/platform/gps/data/no_fix_indoors.nmea, which never has a fix, so the
screen stays "Acquiring satellites..." for the whole run. The tap is followed by Ctrl+Q: the
program handles its input in order, so once it has ended the tap has been handled too, and the
clipboard must still be the marker put there before (held by the session's xclip, which lets go
only when another client takes the clipboard)."""
import sys
import time

import harness as h

LOG = "tests/platform/gps/data/no_fix_indoors.nmea"
MARKER = "clipboard-marker-before-the-tap"


def scenario(a, s):
    h.require_tools("Xvfb", "xdotool", "xclip")
    log = a.source / LOG
    h.check(not h.fixes(log), f"{LOG} should hold no fix")

    display = h.start_xvfb(s)
    x = h.X(s, display)
    root = s.path("root")
    started = time.time()
    program = s.start("zazorudu", [str(a.program)], env=h.program_env(display, root, f"nmea:{log}"))
    window = x.wait_window(program)

    holder = x.hold_clipboard(MARKER)
    cx, cy = x.button_centre(window, 3)
    x.tap(window, cx, cy)
    x.key(window, "ctrl+q")
    code = h.wait_exit(program, 15, "the program, after Ctrl+Q,")
    h.check(code == 0, f"the program ended with exit code {code} after Ctrl+Q, expected 0")

    h.check(holder.poll() is None,
            "the marker's xclip lost the clipboard: the program took it while acquiring")
    text = x.clipboard()
    h.check(text == MARKER, f"the clipboard holds {text!r} after the tap, expected the marker {MARKER!r}")
    h.check_settings(root, started, time.time())


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("acquiring", lambda s: scenario(a, s)))
