"""What the Wayland end-to-end tests share: a private sway on wlroots' headless back end (no
screen, no input devices), taps through a virtual pointer, and the clipboard through wl-paste.

Why sway: Debian's weston has no way in for injected input (its test plugin is not packaged, and
its headless back end has no seat at all, on which SDL's Wayland driver crashes at start), while
wlroots compositors take a virtual pointer from any client (wlr-virtual-pointer-unstable-v1).
No packaged client speaks that protocol, so the few requests a tap needs are written here on the
Wayland wire itself: a registry, one bind, one pointer, absolute motion, a button and a frame.

sway refuses to start as root (it could not drop the rights afterwards), so as root it runs as
nobody, in a runtime folder of nobody's; the program and wl-paste, as root, reach its socket.
"""

import json
import os
import socket
import struct
import subprocess
from pathlib import Path

import harness as h

h.TOOLS.update({"sway": "sway", "swaymsg": "sway", "wl-paste": "wl-clipboard"})

OUTPUT = (720, 1440)  # a phone's screen, in logical pixels
BTN_LEFT = 0x110

CONFIG = f"""xwayland disable
output HEADLESS-1 resolution {OUTPUT[0]}x{OUTPUT[1]}
# Every window floats at its own size, as on a phone shell, so a tap lands where it is meant.
for_window [app_id=".*"] floating enable
"""


class Sway:
    """A headless sway of the session: .env reaches it (WAYLAND_DISPLAY, XDG_RUNTIME_DIR)."""

    def __init__(self, session):
        h.require_tools("sway", "swaymsg", "wl-paste")
        self.session = session
        runtime = session.path("wayland-runtime")
        runtime.mkdir(mode=0o700)
        config = session.path("sway.conf")
        config.write_text(CONFIG)
        env = h.base_env()
        env.update({"XDG_RUNTIME_DIR": str(runtime), "HOME": str(runtime),
                    "WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1",
                    "WLR_RENDERER": "pixman", "WLR_HEADLESS_OUTPUTS": "1"})
        argv = ["sway", "-c", str(config)]
        if os.geteuid() == 0:
            os.chmod(session.dir, 0o711)  # nobody reaches its config and runtime folder
            os.chmod(config, 0o644)
            os.chown(runtime, 65534, 65534)
            argv = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] + argv
        self.process = session.start("sway", argv, env=env)
        self.runtime = runtime

        def up():
            if self.process.poll() is not None:
                raise h.Failure(f"sway ended (exit code {self.process.returncode}) before it listened")
            sockets = [p.name for p in runtime.glob("wayland-*") if not p.name.endswith(".lock")]
            ipc = list(runtime.glob("sway-ipc.*.sock"))
            return (sockets[0], ipc[0]) if sockets and ipc else None
        display, ipc = h.wait_until("sway's Wayland socket", 15, up)
        self.env = h.base_env()
        self.env.update({"XDG_RUNTIME_DIR": str(runtime), "WAYLAND_DISPLAY": display,
                         "SWAYSOCK": str(ipc)})
        # One pointer for the whole session, made before any program starts: a client binds its
        # wl_pointer only once the seat has one, and a pointer made for each tap would press
        # before the program had bound it.
        self.pointer = VirtualPointer(self.env)
        session.after_cleanup(self.pointer.close)

    def views(self):
        """[(app_id, title, (x, y, width, height) of its surface in layout pixels)]."""
        r = subprocess.run(["swaymsg", "-r", "-t", "get_tree"], env=self.env, capture_output=True,
                           timeout=10)
        if r.returncode != 0:
            raise h.Failure(f"swaymsg get_tree failed: {r.stderr.decode(errors='replace').strip()}")
        found = []

        def walk(node):
            if node.get("app_id") is not None or node.get("pid"):
                rect, inner = node["rect"], node["window_rect"]
                found.append((node.get("app_id"), node.get("name"),
                              (rect["x"] + inner["x"], rect["y"] + inner["y"], inner["width"],
                               inner["height"])))
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)
        walk(json.loads(r.stdout))
        return found

    def wait_view(self, program, title, timeout=30):
        def probe():
            if program.poll() is not None:
                raise h.Failure(f"the program ended (exit code {program.returncode}) before its "
                                "window appeared")
            return next((v for v in self.views() if v[1] == title and v[2][2] > 0), None)
        return h.wait_until(f'a Wayland window titled "{title}"', timeout, probe)

    def tap(self, x, y):
        """A left-button tap at (x, y) in layout pixels, through the virtual pointer."""
        self.pointer.tap(x, y)

    def clipboard(self):
        try:
            r = subprocess.run(["wl-paste", "--no-newline"], env=self.env, capture_output=True,
                               timeout=5)
        except subprocess.TimeoutExpired:
            return None
        return r.stdout.decode(errors="replace") if r.returncode == 0 else None


class VirtualPointer:
    """A Wayland client of a few requests: enough to make a virtual pointer and tap with it."""

    DISPLAY, REGISTRY = 1, 2

    def __init__(self, env):
        path = Path(env["XDG_RUNTIME_DIR"]) / env["WAYLAND_DISPLAY"]
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.settimeout(10)
        self.sock.connect(str(path))
        self.next_id = 3
        self.buffer = b""
        self.clock = 0
        self.pointer = self.create()

    def close(self):
        self.sock.close()

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def send(self, obj, opcode, payload=b""):
        self.sock.sendall(struct.pack("=II", obj, (8 + len(payload)) << 16 | opcode) + payload)

    @staticmethod
    def string(text):
        data = text.encode() + b"\0"
        return struct.pack("=I", len(data)) + data + b"\0" * (-len(data) % 4)

    def events(self):
        """Reads one event: (object, opcode, payload)."""
        while len(self.buffer) < 8 or len(self.buffer) < (struct.unpack_from("=II", self.buffer)[1] >> 16):
            chunk = self.sock.recv(65536)
            if not chunk:
                raise h.Failure("the compositor closed the virtual pointer's connection")
            self.buffer += chunk
        obj, word = struct.unpack_from("=II", self.buffer)
        size = word >> 16
        payload, self.buffer = self.buffer[8:size], self.buffer[size:]
        if obj == self.DISPLAY and word & 0xFFFF == 0:  # wl_display.error
            _, code, length = struct.unpack_from("=III", payload)
            raise h.Failure(f"Wayland protocol error {code}: {payload[12:12 + length - 1].decode()}")
        return obj, word & 0xFFFF, payload

    def roundtrip(self, on_event=lambda *_: None):
        callback = self.new_id()
        self.send(self.DISPLAY, 0, struct.pack("=I", callback))  # wl_display.sync
        while True:
            obj, opcode, payload = self.events()
            if obj == callback:
                return
            on_event(obj, opcode, payload)

    def create(self):
        self.send(self.DISPLAY, 1, struct.pack("=I", self.REGISTRY))  # wl_display.get_registry
        globals_ = {}

        def registry(obj, opcode, payload):
            if obj == self.REGISTRY and opcode == 0:  # wl_registry.global
                name, length = struct.unpack_from("=II", payload)
                interface = payload[8:8 + length - 1].decode()
                version = struct.unpack_from("=I", payload, 8 + length + (-length % 4))[0]
                globals_[interface] = (name, version)
        self.roundtrip(registry)
        wanted = "zwlr_virtual_pointer_manager_v1"
        if wanted not in globals_:
            raise h.Failure(f"the compositor offers no {wanted}")
        manager = self.new_id()
        name, _ = globals_[wanted]
        self.send(self.REGISTRY, 0, struct.pack("=I", name) + self.string(wanted)
                  + struct.pack("=II", 1, manager))  # wl_registry.bind, version 1
        pointer = self.new_id()
        self.send(manager, 0, struct.pack("=II", 0, pointer))  # create_virtual_pointer(no seat)
        self.roundtrip()
        return pointer

    def tap(self, x, y):
        width, height = OUTPUT
        steps = [(1, struct.pack("=IIIII", self.clock, x, y, width, height)),  # motion_absolute
                 (2, struct.pack("=III", self.clock + 10, BTN_LEFT, 1)),  # button pressed
                 (2, struct.pack("=III", self.clock + 20, BTN_LEFT, 0))]  # button released
        self.clock += 100
        for opcode, payload in steps:
            self.send(self.pointer, opcode, payload)
            self.send(self.pointer, 4)  # frame
        self.roundtrip()
