"""The three sharing buttons from taps alone, as a user shares the position of the built-in demo
receiver: the e-mail and the SMS are sent with the compose form's "Send" soft key, the GeoNote is
typed and saved; the outbox and GeoNotes files are read back. Then the same e-mail and SMS with
PDA_COMPOSE=desktop, handed to stand-in xdg-email and xdg-open programs on PATH that record
their arguments: subject, body, recipient and the sms: address arrive intact (spaces, line
breaks, "&", quotes, non-ASCII).

A tap goes to the device window under it when it comes, so each step waits, as a user's eyes
would, for what it aims at to be in front: the form after its button, the main window after
"Send" (the program's window takes the title of the device's window in front). The demo receiver
moves along its track, so each message carries the position of its own moment: the pair is read
from the message and the whole text is checked against it."""
import json
import os
import re
import sys
from pathlib import Path
from urllib.parse import unquote

import harness as h

ADDRESS = '"Ann Ström" <ann@example.org>'
ACCOUNT = "Work mail"
NUMBER = "+49 170 1234567"
EMAIL_FORM, SMS_FORM = "New Message", "New Text Message"

STAND_IN = """#!/usr/bin/env python3
import json, os, sys
with open(os.path.join(os.environ["ZAZ_RECORD_DIR"], os.path.basename(sys.argv[0]) + ".json"), "w") as f:
    json.dump(sys.argv[1:], f)
"""


def write_settings(root):
    path = Path(root) / h.SETTINGS
    path.parent.mkdir(parents=True, exist_ok=True)
    lines = ["[Zazorudu]", "DateTime=07d-12m-2026y-t1200_00s", "Version=1.00.0785 (01.2009)",
             "[EMAIL]", f"wszDefaultEmailAddr={ADDRESS}", f"DefaultEmailAccount={ACCOUNT}",
             "[SMS]", f"DefaultSMSphoneNumber={NUMBER}"]
    path.write_bytes(("\r\n".join(lines) + "\r\n").encode())


LOCATION = re.compile(r"My GPS Location:\r\n(-?\d+\.\d{7},-?\d+\.\d{7})\r\n")


def pair_in(text, what):
    found = LOCATION.search(text)
    h.check(found, f"no \"My GPS Location:\" pair in the {what}: {text!r}")
    return found.group(1)


def bodies(pair):
    heading = "Zazorudu!  (Rel. 1.00)\r\nMy GPS Location:\r\n" + pair + "\r\n\r\n"
    email = heading + "Google maps:\r\nhttp://maps.google.com/maps?f=q&t=m&q=" + pair + "\r\n"
    sms = heading + ("Usage:\r\n1. goto maps.google.com\r\n2. Input GPS Location\r\n"
                     "3. Click on 'Search Maps' button")
    return email, sms


class Screen:
    """Taps on the program's window in device coordinates (the window may be zoomed)."""

    def __init__(self, x, window):
        self.x, self.window = x, window
        width, height = x.geometry(window)
        self.scale = height / h.SCREEN_HEIGHT
        self.width = width

    def button(self, index, opens=None):
        """Taps touch button `index`; `opens`: the title of the form it opens, waited for."""
        self.x.tap(self.window, *self.x.button_centre(self.window, index))
        if opens:
            self.x.wait_title(self.window, opens)

    def send(self):
        """Taps "Send" (or "Save") and waits for the main window to be in front again."""
        self.soft_key(right=True)
        self.x.wait_title(self.window, h.WINDOW_TITLE)

    def soft_key(self, right):
        y = self.x.geometry(self.window)[1] - h.SOFT_KEY_BAR * self.scale / 2
        x = self.width * (7 / 8 if right else 1 / 8)
        self.x.tap(self.window, int(x), int(y))


def start(s, a, root, compose, extra_env=None):
    display = h.start_xvfb(s)
    x = h.X(s, display)
    env = h.program_env(display, root, "demo")
    env["PDA_COMPOSE"] = compose
    env.update(extra_env or {})
    program = s.start(f"zazorudu-{compose}", [str(a.program)], env=env)
    window = x.wait_window(program)
    pair = h.wait_for_copied_fix(x, program, window)
    return x, program, window, pair


def new_file(folder, suffix, before=()):
    def probe():
        if not folder.is_dir():
            return None
        found = [p for p in folder.iterdir() if p.name.endswith(suffix) and p.name not in before]
        return found[0] if found else None
    return probe


def outbox_and_geonote(s, a):
    root = s.path("root-outbox")
    write_settings(root)
    x, program, window, _ = start(s, a, root, "outbox")
    screen = Screen(x, window)
    outbox = root / "Outbox"

    screen.button(0, opens=EMAIL_FORM)
    screen.send()
    eml = h.wait_until("an .eml file in the outbox after Send", 15, new_file(outbox, ".eml"))
    text = eml.read_bytes().decode()
    pair = pair_in(text, "e-mail file")
    for line in ["Subject: Zazorudu!\r\n", "X-Account: Work mail\r\n", "ann@example.org",
                 "q=3D" + pair]:
        h.check(line in text, f"the e-mail file lacks {line!r}:\n{text}")

    screen.button(1, opens=SMS_FORM)
    screen.send()
    sms = h.wait_until("an .sms file in the outbox after Send", 15, new_file(outbox, ".sms"))
    got = sms.read_bytes().decode()
    _, sms_body = bodies(pair_in(got, "SMS file"))
    expected = f"To: {NUMBER}\r\n\r\n{sms_body}"
    h.check(got == expected, f"the SMS file is {got!r}, expected {expected!r}")

    screen.button(2)
    x.run("xdotool", "type", "--window", window, "hello there")
    screen.soft_key(right=True)
    notes = root / "My Documents" / "GeoNotes"
    note = h.wait_until("a GeoNote after Save", 15, new_file(notes, ".txt"))
    text = note.read_bytes().decode()
    h.check(re.match(r"GeoNote\r\n\d{2}d/\d{2}m/\d{4}y @ \d{2}:\d{2}\r\nGPS Location:\r\n"
                     r"-?\d+\.\d{7},-?\d+\.\d{7}\r\n\r\n\r\n", text),
            f"the GeoNote's header is not a stamp and a position: {text!r}")
    h.check(text.endswith("\r\n\r\n\r\nhello there"), f"the GeoNote does not end with the typed text: {text!r}")

    x.key(window, "ctrl+q")
    code = h.wait_exit(program, 15, "the program, after Ctrl+Q,")
    h.check(code == 0, f"exit code {code} after Ctrl+Q, expected 0")


def desktop(s, a):
    root = s.path("root-desktop")
    write_settings(root)
    stand_ins = s.path("bin")
    stand_ins.mkdir()
    for name in ("xdg-email", "xdg-open"):
        (stand_ins / name).write_text(STAND_IN)
        (stand_ins / name).chmod(0o755)
    records = s.path("records")
    records.mkdir()
    env = {"PATH": f"{stand_ins}:{os.environ.get('PATH', '/usr/bin:/bin')}",
           "ZAZ_RECORD_DIR": str(records)}
    x, program, window, _ = start(s, a, root, "desktop", env)
    screen = Screen(x, window)

    screen.button(0, opens=EMAIL_FORM)
    screen.send()
    record = h.wait_until("xdg-email's arguments", 15, new_file(records, "xdg-email.json"))
    argv = json.loads(record.read_text())
    email_body, _ = bodies(pair_in(" ".join(argv), "xdg-email arguments"))
    expected = ["--utf8", "--subject", "Zazorudu!", "--body", email_body, ADDRESS]
    h.check(argv == expected, f"xdg-email got {argv!r}, expected {expected!r}")

    screen.button(1, opens=SMS_FORM)
    screen.send()
    record = h.wait_until("xdg-open's arguments", 15, new_file(records, "xdg-open.json"))
    argv = json.loads(record.read_text())
    h.check(len(argv) == 1 and argv[0].startswith("sms:") and "?body=" in argv[0],
            f"xdg-open got {argv!r}, expected one sms: address with a body")
    number, body = argv[0][len("sms:"):].split("?body=", 1)
    h.check(unquote(number) == NUMBER, f"the sms: address names {unquote(number)!r}, expected {NUMBER!r}")
    _, sms_body = bodies(pair_in(unquote(body), "sms: body"))
    h.check(unquote(body) == sms_body, f"the sms: body is {unquote(body)!r}, expected {sms_body!r}")

    x.key(window, "ctrl+q")
    code = h.wait_exit(program, 15, "the program, after Ctrl+Q,")
    h.check(code == 0, f"exit code {code} after Ctrl+Q, expected 0")


def scenario(a, s):
    h.require_tools("Xvfb", "xdotool", "xclip")
    outbox_and_geonote(s, a)
    desktop(s, a)


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("share", lambda s: scenario(a, s)))
