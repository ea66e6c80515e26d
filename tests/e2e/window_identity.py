"""The desktop's view of the program's window under Xvfb: its WM_CLASS is the application id that
the desktop entry names (StartupWMClass), its _NET_WM_ICON is the program's own icon (icon group
97, the 64-pixel image, compared pixel by pixel with the PNG it is made from, in straight alpha),
and its size follows PDA_ZOOM: unset ("auto") on a 1600x2000 screen the 480x640 device fits three
times, PDA_ZOOM=1 forces one, and on a screen it does not fit at all it stays at one."""
import re
import struct
import sys
import zlib
from pathlib import Path

import harness as h

LOG = "tests/platform/gps/data/no_fix_indoors.nmea"
ICON_PNG = "app/resources/png/icon97_64.png"


def desktop_entry_class(source):
    for line in (source / "data" / "org.zazorudu.Zazorudu.desktop").read_text().splitlines():
        if line.startswith("StartupWMClass="):
            return line.split("=", 1)[1].strip()
    raise h.Failure("the desktop entry names no StartupWMClass")


def read_png_rgba(path):
    """(width, height, [(a, r, g, b), ...]) of an 8-bit RGBA, non-interlaced PNG."""
    data = Path(path).read_bytes()
    h.check(data[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG")
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            h.check((depth, colour, interlace) == (8, 6, 0), f"{path} is not 8-bit RGBA, non-interlaced")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw, stride, rows, prior = zlib.decompress(idat), width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up, corner = prior[i], prior[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append(line)
        prior = line
    pixels = [(row[i + 3], row[i], row[i + 1], row[i + 2]) for row in rows for i in range(0, stride, 4)]
    return width, height, pixels


def window_icon(x, window):
    """(width, height, [(a, r, g, b), ...]) of the first image of the window's _NET_WM_ICON."""
    r = x.run("xprop", "-id", window, "-notype", "32c", "_NET_WM_ICON")
    text = r.stdout.decode()
    h.check("=" in text and "not found" not in text, f"the window has no _NET_WM_ICON: {text.strip()!r}")
    values = [int(v) for v in re.findall(r"\d+", text.split("=", 1)[1])]
    h.check(len(values) >= 2, f"_NET_WM_ICON holds no image: {text.strip()!r}")
    width, height = values[0], values[1]
    h.check(len(values) >= 2 + width * height,
            f"_NET_WM_ICON says {width}x{height} but holds {len(values) - 2} pixels")
    argb = values[2:2 + width * height]
    return width, height, [((v >> 24) & 0xFF, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF) for v in argb]


def check_icon(x, window, source):
    want_w, want_h, want = read_png_rgba(source / ICON_PNG)
    got_w, got_h, got = window_icon(x, window)
    h.check((got_w, got_h) == (want_w, want_h),
            f"_NET_WM_ICON is {got_w}x{got_h}, expected the {want_w}x{want_h} image of icon group 97")
    partial = 0
    for n, (g, w) in enumerate(zip(got, want)):
        alpha = w[0]
        # The icon is kept premultiplied inside the program; a colour comes back within what
        # that rounding loses at its alpha.
        slack = 0 if alpha == 0 else -(-255 // (2 * alpha)) + 1
        expected = (0, 0, 0, 0) if alpha == 0 else w
        same = g[0] == expected[0] and all(abs(a - b) <= slack for a, b in zip(g[1:], expected[1:]))
        h.check(same, f"icon pixel ({n % want_w}, {n // want_w}) is ARGB {g}, expected {expected} "
                      f"(within {slack})")
        partial += 0 < alpha < 255
    print(f"icon: {got_w}x{got_h}, {partial} partly transparent pixels matched in straight alpha")


def run_once(s, a, display, label, zoom=None):
    x = h.X(s, display)
    env = h.program_env(display, s.path(f"root-{label}"), f"nmea:{a.source / LOG}")
    if zoom is not None:
        env["PDA_ZOOM"] = zoom
    program = s.start(f"zazorudu-{label}", [str(a.program)], env=env)
    window = x.wait_window(program)
    return x, program, window


def stop(x, program, window, label):
    x.key(window, "ctrl+q")
    code = h.wait_exit(program, 15, f"the program ({label}), after Ctrl+Q,")
    h.check(code == 0, f"exit code {code} after Ctrl+Q ({label}), expected 0")


def scenario(a, s):
    h.require_tools("Xvfb", "xdotool", "xprop")
    wanted_class = desktop_entry_class(a.source)

    display = h.start_xvfb(s, 1600, 2000)
    x, program, window = run_once(s, a, display, "auto")
    r = x.run("xprop", "-id", window, "WM_CLASS")
    classes = re.findall(r'"([^"]*)"', r.stdout.decode())
    h.check(classes == [wanted_class, wanted_class],
            f"WM_CLASS is {classes}, expected the desktop entry's {wanted_class!r} twice")
    check_icon(x, window, a.source)
    size = x.geometry(window)
    h.check(size == (1440, 1920), f"with PDA_ZOOM unset on 1600x2000 the window is {size}, expected "
                                  "(1440, 1920): three times the 480x640 device")
    stop(x, program, window, "auto")

    # A display of its own for each start: a second program on the display the first one left
    # misses a Ctrl+Q sent as soon as its window appears.
    x, program, window = run_once(s, a, h.start_xvfb(s, 1600, 2000), "forced", zoom="1")
    size = x.geometry(window)
    h.check(size == (480, 640), f"with PDA_ZOOM=1 the window is {size}, expected (480, 640)")
    stop(x, program, window, "forced")

    small = h.start_xvfb(s, 400, 500)
    x, program, window = run_once(s, a, small, "too-small", zoom="auto")
    size = x.geometry(window)
    h.check(size == (480, 640), f"with PDA_ZOOM=auto on 400x500 the window is {size}, expected "
                                "(480, 640): zoom 1 when even that does not fit")
    stop(x, program, window, "too-small")


if __name__ == "__main__":
    a = h.args()
    sys.exit(h.run_scenario("window_identity", lambda s: scenario(a, s)))
