"""The .deb that `cpack -G DEB` makes from the build: one zazorudu_VERSION_ARCH.deb whose
contents are the installed tree under /usr (every file of the install, and no test program,
benchmark, library or header), whose Depends come from the program's shared libraries (SDL2
among them) and name GMime, which the program loads itself, and which recommends gpsd.

The package is made in a folder of the test's own (cpack -B). CPack's install step rewrites the
build's install_manifest.txt; the test puts back what was there, a user's record of what
`cmake --install build` wrote."""

import re
import sys
import tempfile
from pathlib import Path

import common as c


def make_package(a, out):
    manifest = a.build / "install_manifest.txt"
    kept = manifest.read_bytes() if manifest.exists() else None
    try:
        done = c.tool([a.cpack, "-G", "DEB", "--config", str(a.build / "CPackConfig.cmake"),
                       "-B", str(out)])
    finally:
        if kept is None:
            manifest.unlink(missing_ok=True)
        else:
            manifest.write_bytes(kept)
    c.check(done.returncode == 0, f"cpack -G DEB failed ({done.returncode}): {done.stdout}{done.stderr}")
    packages = sorted(out.glob("*.deb"))
    c.check(len(packages) == 1 and re.fullmatch(rf"zazorudu_{re.escape(a.version)}_[a-z0-9]+\.deb",
                                                packages[0].name),
            f"cpack made {[p.name for p in packages]}, expected one zazorudu_{a.version}_ARCH.deb")
    return packages[0]


def field(package, name):
    done = c.tool(["dpkg-deb", "--field", str(package), name])
    c.check(done.returncode == 0, f"dpkg-deb --field {name}: {done.stderr}")
    return done.stdout.strip()


def check_fields(package, version):
    expected = {"Package": "zazorudu", "Version": version, "Maintainer": "The Zazorudu authors"}
    for name, value in expected.items():
        c.check(field(package, name) == value, f"the package's {name} is {field(package, name)!r}, expected {value!r}")
    depends = [d.strip() for d in field(package, "Depends").split(",")]
    c.check(any(re.match(r"libsdl2-2\.0-0\b", d) for d in depends),
            f"the package's Depends {depends} has no libsdl2-2.0-0")
    c.check(any(re.match(r"libgps\d+\b", d) for d in depends),
            f"the package's Depends {depends} has no libgps")
    # GMime is loaded on first use, not linked: only the package's own Depends names it.
    c.check(any(re.match(r"libgmime-3\.0-0\b", d) for d in depends),
            f"the package's Depends {depends} has no libgmime-3.0-0")
    recommends = [r.strip() for r in field(package, "Recommends").split(",")]
    c.check("gpsd" in recommends, f"the package recommends {recommends}, not gpsd")


def check_contents(package):
    done = c.tool(["dpkg-deb", "--contents", str(package)])
    c.check(done.returncode == 0, f"dpkg-deb --contents: {done.stderr}")
    # "-rwxr-xr-x root/root 1168304 2026-12-07 22:29 ./usr/bin/zazorudu"
    files = {line.split(None, 5)[5] for line in done.stdout.splitlines() if not line.startswith("d")}
    c.check(all(f.startswith("./usr/") for f in files),
            f"the package holds files outside /usr: {sorted(f for f in files if not f.startswith('./usr/'))}")
    files = {f[len("./usr/"):] for f in files}
    for relative, what in c.expected_files().items():
        c.check(relative in files, f"the package lacks {what} (/usr/{relative})")
    for relative in sorted(files):
        why = c.unwanted(relative)
        c.check(why is None, f"the package holds /usr/{relative}: {why}")


def body(a):
    c.require_tools("dpkg-deb", "dpkg-shlibdeps", "file")
    with tempfile.TemporaryDirectory(prefix="zaz-deb-") as temp:
        package = make_package(a, Path(temp))
        check_fields(package, a.version)
        check_contents(package)


if __name__ == "__main__":
    a = c.args()
    sys.exit(c.run("deb_package", lambda: body(a)))
