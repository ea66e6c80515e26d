"""The installed tree: `cmake --install` into a DESTDIR under the prefix /usr puts every file in
place, and the desktop's own validators accept them: desktop-file-validate on the desktop entry,
`appstreamcli validate --no-net` on the metainfo, `groff -man -ww` on the man page. Beside the
validators: the names agree on the application's id, the icons have their sizes, the metainfo's
release is the project's version and its screenshots are the screen tests' reference images, and
the man page names every setting and exit code of the README.

The install is of the program's component only, so that it writes its own manifest
(install_manifest_zazorudu.txt) and leaves build/install_manifest.txt, a user's record of what
`cmake --install build` wrote, alone."""

import configparser
import gzip
import os
import re
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path

import common as c

PREFIX = "usr"


def install(a, destdir):
    env = dict(os.environ, DESTDIR=str(destdir))
    done = c.tool([a.cmake, "--install", str(a.build), "--prefix", "/" + PREFIX,
                   "--component", "zazorudu"], env=env)
    c.check(done.returncode == 0, f"cmake --install failed ({done.returncode}): {done.stderr}")
    return destdir / PREFIX


def check_files(prefix):
    for relative, what in c.expected_files().items():
        c.check((prefix / relative).is_file(), f"{what} is not installed as {relative}")
    c.check((prefix / "bin/zazorudu").stat().st_mode & 0o111, "bin/zazorudu is not executable")
    for path in prefix.rglob("*"):
        relative = str(path.relative_to(prefix))
        if path.is_file():
            why = c.unwanted(relative)
            c.check(why is None, f"{relative} is installed: {why}")


def check_icons(prefix, source):
    for size in c.ICON_SIZES:
        path = prefix / f"share/icons/hicolor/{size}x{size}/apps/{c.APP_ID}.png"
        width, height, colour = c.png_size(path)
        c.check((width, height) == (size, size), f"the {size} px icon is {width}x{height}")
        c.check(colour == 6, f"the {size} px icon has PNG colour type {colour}, expected 6 (RGBA)")
    svg = prefix / f"share/icons/hicolor/scalable/apps/{c.APP_ID}.svg"
    c.check(svg.read_bytes() == (source / "app/resources/art/app_icon.svg").read_bytes(),
            "the scalable icon is not the art's app_icon.svg")


def check_desktop_entry(prefix):
    path = prefix / f"share/applications/{c.APP_ID}.desktop"
    done = c.tool(["desktop-file-validate", str(path)])
    c.check(done.returncode == 0 and not (done.stdout + done.stderr).strip(),
            f"desktop-file-validate ({done.returncode}): {done.stdout}{done.stderr}")
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(path)
    keys = entry["Desktop Entry"]
    for key, value in (("Icon", c.APP_ID), ("StartupWMClass", c.APP_ID), ("Exec", "zazorudu")):
        c.check(keys.get(key) == value, f"the desktop entry's {key} is {keys.get(key)!r}, expected {value!r}")
    c.check("Utility" in keys.get("Categories", "").split(";"),
            f"the desktop entry's categories {keys.get('Categories')!r} lack Utility")


def check_metainfo(prefix, source, version):
    path = prefix / f"share/metainfo/{c.APP_ID}.metainfo.xml"
    done = c.tool(["appstreamcli", "validate", "--no-net", "--no-color", str(path)])
    c.check(done.returncode == 0, f"appstreamcli validate ({done.returncode}): {done.stdout}{done.stderr}")
    root = ET.parse(path).getroot()
    c.check(root.findtext("id") == c.APP_ID, f"the metainfo's id is {root.findtext('id')!r}")
    c.check(root.findtext("launchable") == f"{c.APP_ID}.desktop",
            f"the metainfo launches {root.findtext('launchable')!r}")
    releases = [r.get("version") for r in root.iter("release")]
    c.check(releases[:1] == [version], f"the metainfo's releases are {releases}, expected {version} first")
    c.check(root.find("content_rating[@type='oars-1.1']") is not None, "the metainfo has no OARS rating")
    images = list(root.iter("image"))
    c.check(images, "the metainfo has no screenshots")
    for image in images:
        name = image.text.strip().rsplit("/", 1)[-1]
        reference = source / "tests/app/screen/reference" / name
        c.check(reference.is_file(), f"the screenshot {name} is not a reference screenshot")
        width, height, _ = c.png_size(reference)
        c.check((image.get("width"), image.get("height")) == (str(width), str(height)),
                f"the screenshot {name} is said to be {image.get('width')}x{image.get('height')}, "
                f"the image is {width}x{height}")


def man_section(text, title):
    return text.split(f"\n.SH {title}\n", 1)[1].split("\n.SH ", 1)[0]


def check_man_page(prefix, source):
    installed = gzip.decompress((prefix / "share/man/man1/zazorudu.1.gz").read_bytes())
    c.check(installed == (source / "data/zazorudu.1").read_bytes(),
            "the installed man page is not data/zazorudu.1")
    with tempfile.NamedTemporaryFile(suffix=".1") as page:
        page.write(installed)
        page.flush()
        done = c.tool(["groff", "-man", "-ww", "-z", page.name])
    c.check(done.returncode == 0 and not (done.stdout + done.stderr).strip(),
            f"groff -man -ww -z ({done.returncode}): {done.stdout}{done.stderr}")
    text = installed.decode()
    environment = set(re.findall(r"^\.B (PDA_[A-Z_]+)$", man_section(text, "ENVIRONMENT"), re.MULTILINE))
    settings = {name for name, _ in c.readme_settings(source)}
    c.check(environment == settings, f"the man page's ENVIRONMENT names {sorted(environment)}, "
            f"the README {sorted(settings)}")
    codes = {"".join(m) for m in re.findall(r"^\.TP\n\.BI? (\d+\+?)(?: (N))?$",
                                            man_section(text, "EXIT STATUS"), re.MULTILINE)}
    c.check(codes == c.readme_exit_codes(source),
            f"the man page's EXIT STATUS has {sorted(codes)}, the README {sorted(c.readme_exit_codes(source))}")


def body(a):
    c.require_tools("desktop-file-validate", "appstreamcli", "groff")
    with tempfile.TemporaryDirectory(prefix="zaz-install-") as temp:
        prefix = install(a, Path(temp))
        check_files(prefix)
        check_icons(prefix, a.source)
        check_desktop_entry(prefix)
        check_metainfo(prefix, a.source, a.version)
        check_man_page(prefix, a.source)


if __name__ == "__main__":
    a = c.args()
    sys.exit(c.run("installed_tree", lambda: body(a)))
