"""The whole program with the stylus alone, on each of the three screens (240x320 at 96 DPI,
480x640 and 640x480 at 192 DPI): no key is pressed at any time. The copy button puts the position
on the clipboard; the e-mail and the SMS are addressed with the on-screen input panel and sent
with the compose form's "Send" soft key; a GeoNote is typed with the panel and saved; the
settings' account is tapped in its list, the address and the number typed with the panel, and
kept with "Ok"; the "Exit" soft key ends the program. Then the outbox, the GeoNote and the
settings file are read back (the clipboard is read while the program still holds it).

Where things are is worked out from the screen as the user sees it: the bars (26 px at 96 DPI),
the input panel above the soft-key bar (80 px at 96 DPI) with its keyboard, the touch buttons
along the bottom of the main screen, the first field of the compose form and of the settings
pages near the top. A tap goes to the device window under it when it comes, so a tap that opens or
closes a form or the settings is followed by a wait for the program's window to bear the title
of what is then in front."""
import sys
from pathlib import Path

import harness as h

SCREENS = [(240, 320, 96), (480, 640, 192), (640, 480, 192)]

# The panel's letters page, row by row: (characters, width in quarter units); "" marks a key
# that types nothing wanted here (backspace, enter, shift, the page switch, the last keys).
LETTER_ROWS = [
    [(c, 4) for c in "1234567890"] + [("", 6)],
    [(c, 4) for c in "qwertyuiop-"],
    [(c, 4) for c in "asdfghjkl"] + [("", 8)],
    [("", 6)] + [(c, 4) for c in "zxcvbnm,./"],
    [("", 8), ("'", 4), (" ", 24), ("@", 4), ("", 4)],
]

ADDRESS_TO = "ann@example.org"
NUMBER_TO = "0170555"
NOTE = "meet here"
ADDRESS_DEFAULT = "bob@example.net"
NUMBER_DEFAULT = "4912345"


class Device:
    """Taps in device pixels on the program's window (PDA_ZOOM is 1)."""

    def __init__(self, x, window, width, height, dpi):
        self.x, self.window = x, window
        self.width, self.height, self.dpi = width, height, dpi
        self.bar = 26 * dpi // 96
        self.panel = 80 * dpi // 96

    def at96(self, length):
        return length * self.dpi // 96

    def tap(self, px, py):
        self.x.tap(self.window, int(px), int(py))

    def soft_key(self, right):
        self.tap(self.width * (7 / 8 if right else 1 / 8), self.height - self.bar / 2)

    def panel_button(self):
        self.tap(self.width / 2, self.height - self.bar / 2)

    def touch_button(self, index):
        strip = 77 * self.dpi // 192
        self.tap(self.width * (2 * index + 1) / 8, self.height - self.bar - strip / 2)

    def in_front(self, title):
        self.x.wait_title(self.window, title)

    def type(self, text):
        top = self.height - self.bar - self.panel
        for ch in text:
            for r, row in enumerate(LETTER_ROWS):
                units = sum(w for _, w in row)
                left = 0
                for label, w in row:
                    if label == ch:
                        break
                    left += w
                else:
                    continue
                self.tap(self.width * (2 * left + w) / (2 * units),
                         top + self.panel * (2 * r + 1) / 10)
                break
            else:
                raise h.Failure(f"no key for {ch!r} on the panel's letters page")


def outbox_file(outbox, suffix, before):
    def probe():
        found = [p for p in outbox.glob("*" + suffix) if p.name not in before] if outbox.is_dir() else []
        return found[0] if found else None
    return probe


def session_on(s, a, width, height, dpi):
    name = f"{width}x{height}@{dpi}"
    root = s.path(f"root-{name}")
    display = h.start_xvfb(s)
    x = h.X(s, display)
    env = h.program_env(display, root, "demo")
    env["PDA_SCREEN"] = name
    env["PDA_ZOOM"] = "1"  # taps are in device pixels; auto would double 240x320 on this Xvfb
    program = s.start(f"zazorudu-{name}", [str(a.program)], env=env)
    d = Device(x, x.wait_window(program), width, height, dpi)

    # The clipboard: the copy button, until a fix is shown.
    def copied():
        d.touch_button(3)
        text = x.clipboard()
        return text if text and h.PAIR.fullmatch(text) else None
    h.wait_until(f"a position on the clipboard ({name})", 30, copied, interval=0.5)

    # E-mail and SMS: the recipient typed into the form's first field with the panel.
    outbox = Path(root) / "Outbox"
    for index, form, recipient, suffix in [(0, "New Message", ADDRESS_TO, ".eml"),
                                           (1, "New Text Message", NUMBER_TO, ".sms")]:
        before = {p.name for p in outbox.glob("*")} if outbox.is_dir() else set()
        d.touch_button(index)
        d.in_front(form)
        d.tap(d.width * 3 / 4, d.bar + d.at96(13))
        d.panel_button()
        d.type(recipient)
        d.soft_key(right=True)  # "Send"
        d.in_front(h.WINDOW_TITLE)
        sent = h.wait_until(f"a {suffix} file in the outbox ({name})", 15,
                            outbox_file(outbox, suffix, before))
        text = sent.read_bytes().decode()
        h.check(recipient in text.split("\r\n\r\n")[0],
                f"the {suffix} file is not addressed to {recipient} ({name}):\n{text}")

    # A GeoNote, typed after its header and saved.
    d.touch_button(2)
    d.panel_button()
    d.type(NOTE)
    d.soft_key(right=True)  # "Save"
    notes = Path(root) / "My Documents" / "GeoNotes"
    note = h.wait_until(f"a GeoNote ({name})", 15,
                        lambda: next(iter(notes.glob("GeoNote_*.txt")), None) if notes.is_dir() else None)

    # The settings: the account tapped (its second row), the address and the number typed.
    field_x, field_y = d.at96(60), d.bar + d.at96(57)  # the pages' fields are 128 units wide
    d.soft_key(right=True)  # "Settings"
    d.in_front("Settings")
    d.tap(d.width / 4, d.bar + d.at96(122))
    d.tap(field_x, field_y)
    d.panel_button()
    d.type(ADDRESS_DEFAULT)
    d.tap(d.width * 3 / 4, d.height - d.bar - d.panel - d.bar / 2)  # "Next >>" above the panel
    d.tap(field_x, field_y)
    d.panel_button()
    d.type(NUMBER_DEFAULT)
    d.soft_key(right=True)  # "Ok"
    d.in_front(h.WINDOW_TITLE)
    d.soft_key(right=False)  # "Exit"
    code = h.wait_exit(program, 20, f"the program after the Exit soft key ({name})")
    h.check(code == 0, f"the program ended with {code} ({name})")

    text = note.read_bytes().decode()
    h.check(text.endswith(NOTE), f"the GeoNote does not end with the typed text ({name}): {text!r}")
    settings = (Path(root) / h.SETTINGS).read_bytes().decode()
    for line in [f"wszDefaultEmailAddr={ADDRESS_DEFAULT}", "DefaultEmailAccount=SMS",
                 f"DefaultSMSphoneNumber={NUMBER_DEFAULT}"]:
        h.check(line + "\r\n" in settings, f"the settings file lacks {line!r} ({name}):\n{settings}")


def scenario(a, s):
    h.require_tools("Xvfb", "xdotool", "xclip")
    for width, height, dpi in SCREENS:
        session_on(s, a, width, height, dpi)


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("stylus_session", lambda s: scenario(a, s)))
