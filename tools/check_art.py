#!/usr/bin/env python3
"""The art's PNG tool: turns rendered images into the form the binary embeds, checks them, and
draws previews. Standard library only (zlib + struct), so it runs wherever python3 does.

Sections:
  PNG reading and writing      read_png, write_png
  the art list                 ART: every image, its size, its kind
  commands                     rgb   - rewrite rendered PNGs as 24-bit RGB (they must be opaque)
                               check - sizes, colour type, black rules, seamless strip
                               sheet - enlarged contact sheet and strip/screen mock-ups

Usage:
  check_art.py rgb FILE...
  check_art.py check [PNG_DIR]
  check_art.py sheet PNG_DIR OUT_DIR
"""
import os
import struct
import sys
import zlib

# --- PNG reading and writing -----------------------------------------------------------------

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
CHANNELS = {0: 1, 2: 3, 4: 2, 6: 4}  # colour type -> samples per pixel (8-bit only)


class Image:
    """Pixels as rows of (r, g, b, a) tuples; `alpha` tells whether the file had an alpha channel."""

    def __init__(self, width, height, rows, alpha):
        self.width, self.height, self.rows, self.alpha = width, height, rows, alpha

    def px(self, x, y):
        return self.rows[y][x]


def _unfilter(raw, width, height, bpp):
    stride = width * bpp
    out = bytearray()
    prev = bytearray(stride)
    pos = 0
    for _ in range(height):
        ftype = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ftype == 1:
                line[i] = (line[i] + a) & 255
            elif ftype == 2:
                line[i] = (line[i] + b) & 255
            elif ftype == 3:
                line[i] = (line[i] + ((a + b) >> 1)) & 255
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
            elif ftype != 0:
                raise ValueError("bad PNG filter type %d" % ftype)
        out += line
        prev = line
    return out


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != PNG_SIGNATURE:
        raise ValueError("%s: not a PNG file" % path)
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    width, height, depth, ctype, _, _, interlace = header
    if depth != 8 or ctype not in CHANNELS or interlace:
        raise ValueError("%s: only 8-bit, non-interlaced grey/RGB/RGBA PNGs are handled" % path)
    bpp = CHANNELS[ctype]
    pixels = _unfilter(zlib.decompress(idat), width, height, bpp)
    rows = []
    for y in range(height):
        base = y * width * bpp
        row = []
        for x in range(width):
            s = pixels[base + x * bpp:base + (x + 1) * bpp]
            if ctype == 0:
                row.append((s[0], s[0], s[0], 255))
            elif ctype == 4:
                row.append((s[0], s[0], s[0], s[1]))
            elif ctype == 2:
                row.append((s[0], s[1], s[2], 255))
            else:
                row.append((s[0], s[1], s[2], s[3]))
        rows.append(row)
    img = Image(width, height, rows, ctype in (4, 6))
    img.ctype = ctype
    return img


def _chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def write_png(path, width, height, rows, alpha):
    """Writes 8-bit RGB (alpha False) or RGBA rows of (r, g, b, a) tuples, no ancillary chunks."""
    n = 4 if alpha else 3
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for p in row:
            raw += bytes(p[:n])
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(PNG_SIGNATURE + _chunk(b"IHDR", ihdr) + _chunk(b"IDAT", zlib.compress(bytes(raw), 9))
                + _chunk(b"IEND", b""))


# --- the art list ----------------------------------------------------------------------------

# kind: globe (RGB, black ground), tile (RGB, no black, every column alike),
#       face (RGB, no black, edge columns equal to the tile of the same state), icon (RGBA)
ART = {}


def _add(name, w, h, kind, tile=None):
    ART[name] = (w, h, kind, tile)


for _n, _ids, _size in (("normal", (10000, 10010), 43), ("high", (10200, 10210), 86)):
    for _i in _ids:
        _add("bitmap_%d" % _i, _size, _size, "globe")
for _base, _tw, _th, _faces in ((10000, 26, 38, (26, 14, 26, 22)), (10200, 56, 77, (46, 24, 48, 42))):
    for _state in (0, 5):
        _tile = "bitmap_%d" % (_base + 20 + _state)
        _add(_tile, _tw, _th, "tile")
        for _k, _fw in enumerate(_faces):
            _add("bitmap_%d" % (_base + 30 + 10 * _k + _state), _fw, _th, "face", _tile)
for _g, _sizes in ((97, (64, 32, 16)), (98, (16,)), (99, (64, 32))):
    for _s in _sizes:
        _add("icon%d_%d" % (_g, _s), _s, _s, "icon")


# --- commands --------------------------------------------------------------------------------

def cmd_rgb(paths):
    """Rewrites each file as 24-bit RGB. A pixel that is not fully opaque is an error: the SVG
    must paint its own ground, so that nothing depends on how transparency is flattened."""
    for path in paths:
        img = read_png(path)
        for y, row in enumerate(img.rows):
            for x, p in enumerate(row):
                if p[3] != 255:
                    sys.exit("%s: pixel (%d, %d) has alpha %d; the SVG must paint an opaque ground"
                             % (path, x, y, p[3]))
        write_png(path, img.width, img.height, img.rows, alpha=False)


def check(png_dir):
    errors = []
    images = {}
    for name, (w, h, kind, tile) in sorted(ART.items()):
        path = os.path.join(png_dir, name + ".png")
        if not os.path.exists(path):
            errors.append("%s: missing" % path)
            continue
        img = images[name] = read_png(path)
        if (img.width, img.height) != (w, h):
            errors.append("%s: %dx%d, expected %dx%d" % (name, img.width, img.height, w, h))
            continue
        if kind == "icon":
            if img.ctype != 6:
                errors.append("%s: expected RGBA" % name)
            continue
        if img.ctype != 2:
            errors.append("%s: expected 24-bit RGB (colour type 2), found type %d" % (name, img.ctype))
        black = [(x, y) for y in range(h) for x in range(w) if img.px(x, y)[:3] == (0, 0, 0)]
        if kind == "globe":
            corners = [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1), (w // 2, 0), (0, h // 2)]
            for c in corners:
                if img.px(*c)[:3] != (0, 0, 0):
                    errors.append("%s: ground pixel %s is not pure black" % (name, c))
            # The colour key must cut out exactly the ground: every black pixel reaches the edge
            # through black pixels, so no hole opens inside the globe.
            seen, todo = set(), [p for p in black if p[0] in (0, w - 1) or p[1] in (0, h - 1)]
            blackset = set(black)
            while todo:
                p = todo.pop()
                if p in seen:
                    continue
                seen.add(p)
                x, y = p
                for q in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                    if q in blackset and q not in seen:
                        todo.append(q)
            holes = blackset - seen
            if holes:
                errors.append("%s: %d pure-black pixels inside the globe, e.g. %s"
                              % (name, len(holes), sorted(holes)[0]))
        else:
            if black:
                errors.append("%s: %d pure-black pixels (black is the colour key), e.g. %s"
                              % (name, len(black), black[0]))
        if kind == "tile":
            for y in range(h):
                if len(set(img.rows[y])) != 1:
                    errors.append("%s: row %d is not uniform, so tiles would show seams" % (name, y))
                    break
    # A face must sit on exactly the tile of its state, so it melts into the tiled strip.
    for name, (w, h, kind, tile) in sorted(ART.items()):
        if kind != "face" or name not in images or tile not in images:
            continue
        img, t = images[name], images[tile]
        if (img.width, img.height) != (w, h):
            continue
        for x in (0, w - 1):
            for y in range(h):
                if img.px(x, y) != t.px(0, y):
                    errors.append("%s: column %d row %d is %s, tile %s has %s"
                                  % (name, x, y, img.px(x, y)[:3], tile, t.px(0, y)[:3]))
                    break
    return errors


# --- previews --------------------------------------------------------------------------------

def _blank(w, h, c=(0, 0, 0, 255)):
    return [[c] * w for _ in range(h)]


def _blit(dst, img, x0, y0, key=None):
    for y in range(img.height):
        for x in range(img.width):
            p = img.px(x, y)
            if key is not None and p[:3] == key:
                continue
            if p[3] == 255:
                dst[y0 + y][x0 + x] = p
            elif p[3]:
                d, a = dst[y0 + y][x0 + x], p[3]
                dst[y0 + y][x0 + x] = tuple((p[i] * a + d[i] * (255 - a)) // 255 for i in range(3)) + (255,)


def _gradient(w, h):
    top, bottom = (92, 98, 104), (46, 54, 66)
    return [[tuple(top[i] + (bottom[i] - top[i]) * y // max(1, h - 1) for i in range(3)) + (255,)] * w
            for y in range(h)]


def _strip(images, width, hi, pressed):
    """The bottom strip as the layout builds it: tiles across, one more at the right edge, the
    four faces centred in their quarters; `pressed` is a button index or None."""
    base = 10200 if hi else 10000
    def build(state):
        tile = images["bitmap_%d" % (base + 20 + state)]
        rows = _blank(width, tile.height)
        for i in range(width // tile.width):
            _blit(rows, tile, i * tile.width, 0)
        _blit(rows, tile, width - tile.width, 0)
        q = width // 4
        for k in range(4):
            face = images["bitmap_%d" % (base + 30 + 10 * k + state)]
            _blit(rows, face, k * q + q // 2 - face.width // 2, 0)
        return rows
    rows = build(0)
    if pressed is not None:
        down, q = build(5), width // 4
        for y in range(len(rows)):
            rows[y][pressed * q:(pressed + 1) * q] = down[y][pressed * q:(pressed + 1) * q]
    return rows


def _screen(images, w, h, hi, pressed):
    rows = _gradient(w, h)
    globe = 10200 if hi else 10000
    _blit(rows, images["bitmap_%d" % globe], int(0.14 * w), int(0.22 * h), key=(0, 0, 0))
    _blit(rows, images["bitmap_%d" % (globe + 10)], int(0.14 * w), int(0.49 * h), key=(0, 0, 0))
    strip = _strip(images, w, hi, pressed)
    rows[h - len(strip):] = strip
    return rows


def _scale(rows, f):
    out = []
    for row in rows:
        line = [p for p in row for _ in range(f)]
        out.extend([line] * f)
    return out


def sheet(png_dir, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    images = {n: read_png(os.path.join(png_dir, n + ".png")) for n in ART}
    # Contact sheet: every image at 4x on a checkerboard (so alpha shows), in groups.
    groups = [[n for n in ART if ART[n][2] == "globe"],
              [n for n in ART if ART[n][2] in ("tile", "face") and int(n[7:]) < 10200],
              [n for n in ART if ART[n][2] in ("tile", "face") and int(n[7:]) >= 10200],
              [n for n in ART if ART[n][2] == "icon"]]
    f, pad = 4, 12
    width = max(sum(ART[n][0] * f + pad for n in g) for g in groups) + pad
    height = sum(max(ART[n][1] for n in g) * f + pad for g in groups) + pad
    rows = [[((200, 200, 200, 255) if ((x // 8 + y // 8) % 2) else (150, 150, 150, 255))
             for x in range(width)] for y in range(height)]
    y = pad
    for g in groups:
        x = pad
        for n in g:
            big = Image(ART[n][0] * f, ART[n][1] * f, _scale(images[n].rows, f), True)
            _blit(rows, big, x, y)
            x += big.width + pad
        y += max(ART[n][1] for n in g) * f + pad
    write_png(os.path.join(out_dir, "sheet.png"), width, height, rows, alpha=False)
    # Strip mock-ups at the two layout widths, normal and with each button pressed, enlarged.
    for w, hi, f in ((240, False, 3), (480, True, 2)):
        stack = []
        for pressed in (None, 0, 1, 2, 3):
            stack += _strip(images, w, hi, pressed) + _gradient(w, 6)
        write_png(os.path.join(out_dir, "strip_%d.png" % w), w * f, len(stack) * f, _scale(stack, f), alpha=False)
    # Whole-screen mock-ups (no text): the globes colour-keyed over the gradient, the strip below.
    for w, h, hi, f in ((240, 294, False, 2), (480, 588, True, 1), (640, 428, True, 1)):
        rows = _screen(images, w, h, hi, 2 if w == 480 else None)
        write_png(os.path.join(out_dir, "screen_%dx%d.png" % (w, h)), w * f, h * f, _scale(rows, f), alpha=False)


def main(argv):
    if len(argv) >= 2 and argv[1] == "rgb":
        cmd_rgb(argv[2:])
    elif len(argv) >= 2 and argv[1] == "check":
        png_dir = argv[2] if len(argv) > 2 else os.path.join(os.path.dirname(__file__), "..", "app", "resources", "png")
        errors = check(png_dir)
        for e in errors:
            print("check_art: " + e, file=sys.stderr)
        if errors:
            sys.exit(1)
        print("check_art: %d images good" % len(ART))
    elif len(argv) == 4 and argv[1] == "sheet":
        sheet(argv[2], argv[3])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
