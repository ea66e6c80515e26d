"""The settings sheet as a user meets it, with the stylus and the on-screen input panel alone
until the end: the "Settings" soft key opens the sheet, "Next >>" goes to the SMS settings page,
a tap puts the caret in the number field, the soft-key bar's panel button raises the input panel
and its digit keys type the number, "Ok" takes it; Ctrl+Q then ends the program, and the settings
file it leaves holds the number.

The taps are queued to the window in order: the sheet is made while the soft key's command is
handled, so the taps that follow reach it. The program runs on the default screen, 480x640 at
192 DPI, where the bars are 52 px high and the input panel 160 px."""
import sys
from pathlib import Path

import harness as h

WIDTH, HEIGHT = 480, 640
BAR = h.SOFT_KEY_BAR
PANEL = 160
NUMBER = "0170555"


def digit_key(digit):
    """The centre of a digit key on the panel's first row: ten keys of four units and the
    backspace of six, laid across the width."""
    index = (int(digit) + 9) % 10  # "1" first, "0" last
    x = WIDTH * (4 * index + 2) // 46
    y = HEIGHT - BAR - PANEL + PANEL // 10
    return x, y


def scenario(a, s):
    h.require_tools("Xvfb", "xdotool", "xclip")
    root = s.path("root")
    display = h.start_xvfb(s)
    x = h.X(s, display)
    env = h.program_env(display, root, "demo")
    env["PDA_ZOOM"] = "1"  # the taps below are in device pixels
    program = s.start("zazorudu", [str(a.program)], env=env)
    window = x.wait_window(program)
    # A window mapped may not take taps yet: the copy button answering shows that it does.
    h.wait_for_copied_fix(x, program, window)

    soft_key_y = HEIGHT - BAR // 2
    x.tap(window, WIDTH * 7 // 8, soft_key_y)               # "Settings"
    x.wait_title(window, "Settings")
    x.tap(window, WIDTH * 3 // 4, HEIGHT - BAR - BAR // 2)  # "Next >>"
    x.tap(window, WIDTH // 2, 168)                          # the number field
    x.tap(window, WIDTH // 2, soft_key_y)                   # the input panel's button
    for digit in NUMBER:
        x.tap(window, *digit_key(digit))
    x.tap(window, WIDTH * 7 // 8, soft_key_y)               # "Ok"
    x.wait_title(window, h.WINDOW_TITLE)
    x.key(window, "ctrl+q")
    code = h.wait_exit(program, 20, "the program after Ctrl+Q")
    h.check(code == 0, f"the program ended with {code}")

    settings = (Path(root) / h.SETTINGS).read_bytes().decode()
    line = f"DefaultSMSphoneNumber={NUMBER}\r\n"
    h.check(line in settings, f"the settings file lacks {line!r}:\n{settings}")


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("settings", lambda s: scenario(a, s)))
