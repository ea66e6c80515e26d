"""The program on a Linux phone's kind of desktop: under a Wayland compositor (a headless sway)
through SDL's Wayland driver, with no X server anywhere. Its window appears with the desktop
entry's application id as its app_id, at the device's size (PDA_ZOOM=auto on a 720x1440 phone
screen: once), and taps of a pointer on the copy button put the demo receiver's "lat,lon" on the
Wayland clipboard, read with wl-paste. SIGTERM then closes it as its user would (exit code 0),
the X11-only parts of the platform having stayed out of the way."""
import signal
import sys

import harness as h
import wayland

TITLE = "Zazorudu"
DEVICE = (480, 640)


def scenario(a, s):
    entry = a.source / "data" / "org.zazorudu.Zazorudu.desktop"
    h.check(entry.is_file(), f"no desktop entry at {entry}")
    app_id = entry.name[:-len(".desktop")]

    sway = wayland.Sway(s)
    runtime = s.path("program-runtime")  # the program's own, as a user's session gives it
    runtime.mkdir(mode=0o700)
    env = h.base_env()
    env.update(sway.env)
    del env["SWAYSOCK"]
    env.update({"XDG_RUNTIME_DIR": str(runtime),
                "WAYLAND_DISPLAY": str(sway.runtime / sway.env["WAYLAND_DISPLAY"]),
                "SDL_VIDEODRIVER": "wayland", "PDA_ROOT": str(s.path("root")), "PDA_GPS": "demo",
                "PDA_DISPLAY": "sdl"})
    program = s.start("zazorudu", [str(a.program)], env=env)

    got_id, _, (x, y, width, height) = sway.wait_view(program, TITLE)
    h.check(got_id == app_id, f"the window's app_id is {got_id!r}, expected the desktop entry's {app_id!r}")
    h.check((width, height) == DEVICE,
            f"the window is {width}x{height} on a {wayland.OUTPUT[0]}x{wayland.OUTPUT[1]} screen, "
            f"expected the device's {DEVICE[0]}x{DEVICE[1]} (PDA_ZOOM=auto: once)")

    # The copy button: the rightmost quarter of the strip above the soft-key bar.
    tap_x = x + width * 7 // 8
    tap_y = y + height - (h.SOFT_KEY_BAR + h.BUTTON_STRIP // 2)

    def copied():
        if program.poll() is not None:
            raise h.Failure(f"the program ended (exit code {program.returncode}) while waiting for a fix")
        sway.tap(tap_x, tap_y)
        text = sway.clipboard()
        return text if text and h.PAIR.fullmatch(text) else None
    text = h.wait_until('a "lat,lon" pair on the Wayland clipboard after a tap on the copy button',
                        30, copied, interval=0.5)
    print(f"Wayland clipboard after the tap: {text}")

    program.send_signal(signal.SIGTERM)
    code = h.wait_exit(program, 15, "the program, after SIGTERM,")
    h.check(code == 0, f"exit code {code} after SIGTERM, expected 0")
    stderr = s.log_text("zazorudu")
    for trace in ("XIO", "X11", "Segmentation", "rendezvous"):
        h.check(trace not in stderr, f"the program's standard error mentions {trace!r}:\n{stderr}")


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("wayland_session", lambda s: scenario(a, s)))
