"""--help and --version are answered before anything starts: exit code 0, the text on standard
output, nothing on standard error, and nothing made: the device root (PDA_ROOT) does not appear,
and with no display in the environment the program does not fail for want of one. --help names
every setting of the README's configuration table with its default, and exactly the README's exit
codes. A bad setting does not stop them: the settings are checked only when the program starts.

A control run without an option, in the same environment, does make the device root and fails
for want of a display: the checks above would see a start."""

import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

import common as c


def environment(temp, extra):
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "XDG_DATA_HOME")
           and not k.startswith("PDA_")}
    env.update({"HOME": str(temp / "home"), "PDA_ROOT": str(temp / "root"), "PDA_DISPLAY": "sdl",
                "PDA_GPS": "demo"})
    env.update(extra)
    return env


def start(program, arguments, env):
    done = subprocess.run([str(program), *arguments], env=env, capture_output=True, text=True,
                          timeout=30)
    return done.returncode, done.stdout, done.stderr


def help_blocks(text):
    """{variable: its lines of --help, whitespace made single spaces}."""
    section = text.split("\nEnvironment", 1)[1].split("\nExit status", 1)[0]
    parts = re.split(r"^  (PDA_[A-Z_]+)\n", section, flags=re.MULTILINE)[1:]
    return {name: " ".join(block.split()) for name, block in zip(parts[::2], parts[1::2])}


def check_help(out, source):
    c.check(out.startswith("Usage: zazorudu "), f"--help does not start with the usage: {out[:80]!r}")
    c.check(all(len(line) <= 79 for line in out.splitlines()), "--help has lines over 79 columns")
    blocks = help_blocks(out)
    settings = c.readme_settings(source)
    c.check(sorted(blocks) == sorted(name for name, _ in settings),
            f"--help names {sorted(blocks)}, the README {sorted(name for name, _ in settings)}")
    for name, default in settings:
        c.check(f"default: {default} accepted: " in blocks[name],
                f"--help on {name} does not give the README's default {default!r}: {blocks[name]!r}")
        accepted = blocks[name].split(" accepted: ", 1)[1]
        c.check(accepted.strip(), f"--help gives no accepted forms for {name}")
    exits = out.split("\nExit status:\n", 1)[1].split("\n\n", 1)[0]
    codes = set(re.findall(r"^  (\S+) ", exits, re.MULTILINE))
    c.check(codes == c.readme_exit_codes(source),
            f"--help gives the exit codes {sorted(codes)}, the README {sorted(c.readme_exit_codes(source))}")


def body(a):
    # (what it proves, arguments, extra environment, check of standard output)
    cases = [
        ("--version prints the name and version", ["--version"], {},
         lambda out: c.check(out == f"zazorudu {a.version}\n", f"--version printed {out!r}")),
        ("--help prints the usage", ["--help"], {}, lambda out: check_help(out, a.source)),
        ("a bad setting does not stop --help", ["--help"], {"PDA_GPS": "garmin", "PDA_ZOOM": "0"},
         lambda out: c.check(out.startswith("Usage: "), f"--help printed {out[:80]!r}")),
        ("a bad setting does not stop --version", ["--version"], {"PDA_SCREEN": "tiny"},
         lambda out: c.check(out == f"zazorudu {a.version}\n", f"--version printed {out!r}")),
    ]
    for what, arguments, extra, check_output in cases:
        with tempfile.TemporaryDirectory(prefix="zaz-help-") as name:
            temp = Path(name)
            code, out, err = start(a.program, arguments, environment(temp, extra))
            c.check(code == 0, f"{what}: exit code {code}, expected 0; standard error: {err!r}")
            c.check(err == "", f"{what}: standard error is {err!r}, expected nothing")
            check_output(out)
            c.check(list(temp.iterdir()) == [], f"{what}: the program made {sorted(p.name for p in temp.iterdir())}")

    # The control: a start in the same environment is seen.
    with tempfile.TemporaryDirectory(prefix="zaz-help-") as name:
        temp = Path(name)
        code, _, err = start(a.program, [], environment(temp, {}))
        c.check(code != 0, "without an option and without a display the program exited 0")
        c.check((temp / "root").is_dir(), f"without an option the start made no device root ({err!r})")


if __name__ == "__main__":
    a = c.args()
    sys.exit(c.run("help_version", lambda: body(a)))
