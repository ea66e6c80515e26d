"""What the install tests share: the arguments, the tools they need, the installed layout, and
the README's configuration and exit-code tables (the one place the program's users read them,
against which --help and the man page are checked)."""

import argparse
import re
import shutil
import struct
import subprocess
import sys
import traceback
from pathlib import Path

APP_ID = "org.zazorudu.Zazorudu"
ICON_SIZES = (16, 32, 48, 64, 128, 256)

TOOLS = {  # program -> Debian package
    "desktop-file-validate": "desktop-file-utils",
    "appstreamcli": "appstream",
    "groff": "groff-base",
    "dpkg-deb": "dpkg",
    "dpkg-shlibdeps": "dpkg-dev",
    "file": "file",
}


class Failure(Exception):
    """A check did not hold; the message says what was expected and what was seen."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def require_tools(*names):
    missing = [n for n in names if shutil.which(n) is None]
    check(not missing, "not installed: " + ", ".join(f"{n} (package {TOOLS.get(n, n)})" for n in missing)
          + "; scripts/install-deps.sh installs them")


def args():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", type=Path, required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--build", type=Path)
    parser.add_argument("--program", type=Path)
    parser.add_argument("--cmake", default="cmake")
    parser.add_argument("--cpack", default="cpack")
    return parser.parse_args()


def run(name, body):
    """Runs a test's body; a failed check is one line on standard error and exit code 1."""
    try:
        body()
    except Failure as failure:
        print(f"{name}: FAILED: {failure}", file=sys.stderr)
        return 1
    except Exception:
        traceback.print_exc()
        return 1
    print(f"{name}: passed")
    return 0


def tool(command, **kw):
    """Runs a command to its end, capturing its output as text."""
    return subprocess.run(command, capture_output=True, text=True, timeout=120, **kw)


# ---------------------------------------------------------------------------------------------
# The installed tree: paths relative to the prefix (/usr in the package).

def expected_files():
    """{relative path: what it is}, every file the install must put in place."""
    files = {
        "bin/zazorudu": "the program",
        "bin/zazorudu-gpx": "the GeoNotes to GPX command",
        f"share/applications/{APP_ID}.desktop": "the desktop entry",
        f"share/metainfo/{APP_ID}.metainfo.xml": "the AppStream metainfo",
        f"share/icons/hicolor/scalable/apps/{APP_ID}.svg": "the scalable icon",
        "share/man/man1/zazorudu.1.gz": "the man page",
        "share/doc/zazorudu/README.md": "the README",
        "share/doc/zazorudu/LICENSE": "the licence",
    }
    for size in ICON_SIZES:
        files[f"share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png"] = f"the {size} px icon"
    return files


def unwanted(relative):
    """Why an installed path must not be there (a test program, benchmark, library, header), or
    None."""
    name = relative.rsplit("/", 1)[-1]
    if relative.startswith("include/") or relative.startswith("lib"):
        return "headers and libraries are not installed"
    if re.search(r"\.(a|h|hpp|cmake|pc)$", name):
        return "headers and libraries are not installed"
    if re.search(r"(^|[_-])(tests?|bench|benchmark|fuzz)([_-]|$)", name):
        return "test programs and benchmarks are not installed"
    if relative.startswith("bin/") and not (name == "zazorudu" or name.startswith("zazorudu-")):
        return "only the project's own commands go to bin/"
    return None


def png_size(path):
    """(width, height, colour type) from a PNG's IHDR chunk."""
    data = Path(path).read_bytes()[:26]
    check(data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", f"{path} is not a PNG")
    width, height = struct.unpack(">II", data[16:24])
    return width, height, data[25]


# ---------------------------------------------------------------------------------------------
# The README's tables

def readme_settings(source):
    """[(variable, default)] of the README's configuration table, backticks dropped."""
    rows = re.findall(r"^\| `(PDA_[A-Z_]+)` \| .* \| (.+?) \|$",
                      (source / "README.md").read_text(), re.MULTILINE)
    check(len(rows) >= 8, f"the README's configuration table has {len(rows)} rows, expected 8 or more")
    return [(name, " ".join(default.replace("`", "").split())) for name, default in rows]


def readme_exit_codes(source):
    """The codes of the README's exit-code table, "128 + N" written "128+N"."""
    text = (source / "README.md").read_text()
    section = text.split("## Exit codes", 1)[1].split("\n## ", 1)[0]
    codes = {c.replace(" ", "") for c in re.findall(r"^\| (\d+(?: \+ N)?) \|", section, re.MULTILINE)}
    check(len(codes) >= 5, f"the README's exit-code table has {sorted(codes)}, expected 5 codes or more")
    return codes
