"""Real input to a wlroots compositor and its pixels, for the end-to-end tests
on Wayland: one command per line on stdin, one answer per line on stdout,
after a first line "ready". It speaks the Wayland wire protocol itself
(Debian packages no client of the virtual-pointer protocol), and keeps one
virtual pointer and one virtual keyboard for the whole test: a device that
comes and goes between inputs makes the seat lose and regain it, and what is
sent meanwhile is lost. Every command ends with a round trip, so the
compositor has handled it (and passed it on) before the answer.

  wlprobe.py SCALE WIDTH HEIGHT   the output's scale and its size in device
                                  pixels; positions below are device pixels
                                  of the output, fractions allowed

  move X Y          the pointer to (X, Y); a jump into a window gives the
                    client no motion, so it moves there twice, a device
                    pixel apart
  nudge X Y         the pointer by (X, Y) device pixels, as a mouse moves it
  press BUTTON      BUTTON (left, right, middle) down
  release BUTTON    and up
  click BUTTON      down and up
  key KEY ...       each KEY pressed and released in turn: a key name
                    (Escape, Tab, Down, F1, c, ...), with modifiers before
                    it (shift+F1, ctrl+c)
  pixels X Y ...    the colours RRGGBB at those device pixels, from one
                    screen shot taken by grim
  scale SCALE       the output's scale has changed to SCALE
  output NAME       positions and pixels from now on are device pixels of
                    output NAME, one of several (sway's names): answers its
                    scale and the layout position of its top-left corner
  text X Y W H      in that rectangle of device pixels: how many are dark
                    (text), and a digest of them all
"""
import hashlib
import json
import os
import socket
import struct
import subprocess
import sys
import time

SCALE = float(sys.argv[1])
WIDTH, HEIGHT = int(sys.argv[2]), int(sys.argv[3])
# Absolute positions go as fractions of the layout; in 1/256 of a logical
# pixel they are exactly what the compositor hands on (24.8 fixed point).
EXTENT_X, EXTENT_Y = round(WIDTH / SCALE * 256), round(HEIGHT / SCALE * 256)
# With several outputs: the one positions refer to (None: the only one), its
# top-left corner in 1/256 of a logical pixel from the layout's.
OUTPUT, ORIGIN_X, ORIGIN_Y = None, 0, 0

BUTTONS = {"left": 0x110, "right": 0x111, "middle": 0x112}
# Linux input key codes; the keymap below gives them the usual US meaning.
KEYS = {
    "Escape": 1, "Tab": 15, "Return": 28, "space": 57, "Up": 103, "Down": 108,
    "Left": 105, "Right": 106, "Page_Up": 104, "Page_Down": 109, "Home": 102,
    "End": 107, "Insert": 110, "Menu": 127, "F1": 59, "F10": 68, "c": 46, "p": 25,
}
MODIFIERS = {"shift": 1, "ctrl": 4, "alt": 8}
KEYMAP = b"""xkb_keymap {
    xkb_keycodes { include "evdev+aliases(qwerty)" };
    xkb_types { include "complete" };
    xkb_compat { include "complete" };
    xkb_symbols { include "pc+us+inet(evdev)" };
};
\0"""


class Display:
    def __init__(self):
        path = os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"])
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.next_id = 2
        self.buffer = b""
        self.globals = {}
        self.callbacks = set()
        self.registry = self.new_id()
        self.request(1, 1, struct.pack("<I", self.registry))
        self.roundtrip()

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def request(self, obj, opcode, payload=b"", fds=()):
        header = struct.pack("<II", obj, (8 + len(payload)) << 16 | opcode)
        ancillary = [(socket.SOL_SOCKET, socket.SCM_RIGHTS, struct.pack("<%di" % len(fds), *fds))]
        self.sock.sendmsg([header + payload], ancillary if fds else [])

    def roundtrip(self):
        callback = self.new_id()
        self.request(1, 0, struct.pack("<I", callback))
        self.callbacks.add(callback)
        while callback in self.callbacks:
            self.dispatch()

    def dispatch(self):
        while len(self.buffer) < 8:
            self.read()
        obj, word = struct.unpack_from("<II", self.buffer)
        size, opcode = word >> 16, word & 0xFFFF
        while len(self.buffer) < size:
            self.read()
        body, self.buffer = self.buffer[8:size], self.buffer[size:]
        if obj == 1 and opcode == 0:
            raise SystemExit("Wayland error %d on object %d: %s"
                             % (struct.unpack_from("<II", body)[::-1] + (string(body[8:]),)))
        if obj == self.registry and opcode == 0:
            name, = struct.unpack_from("<I", body)
            self.globals[string(body[4:])] = (name, struct.unpack_from("<I", body, len(body) - 4)[0])
        elif obj in self.callbacks and opcode == 0:
            self.callbacks.discard(obj)

    def read(self):
        data = self.sock.recv(65536)
        if not data:
            raise SystemExit("the compositor closed the connection")
        self.buffer += data

    def bind(self, interface, version):
        if interface not in self.globals:
            raise SystemExit("the compositor offers no %s" % interface)
        name, offered = self.globals[interface]
        obj = self.new_id()
        encoded = interface.encode() + b"\0"
        padded = encoded + b"\0" * (-len(encoded) % 4)
        self.request(self.registry, 0, struct.pack("<II", name, len(encoded)) + padded
                     + struct.pack("<II", min(version, offered), obj))
        return obj


def string(data):
    length, = struct.unpack_from("<I", data)
    return data[4:4 + length - 1].decode()


def now():
    return int(time.monotonic() * 1000) & 0xFFFFFFFF


display = Display()
seat = display.bind("wl_seat", 1)
pointer_manager = display.bind("zwlr_virtual_pointer_manager_v1", 1)
keyboard_manager = display.bind("zwp_virtual_keyboard_manager_v1", 1)
pointer, keyboard = display.new_id(), display.new_id()
display.request(pointer_manager, 0, struct.pack("<II", seat, pointer))
display.request(keyboard_manager, 0, struct.pack("<II", seat, keyboard))
keymap = os.memfd_create("keymap")
os.write(keymap, KEYMAP)
display.request(keyboard, 0, struct.pack("<II", 1, len(KEYMAP)), [keymap])
display.roundtrip()


def move_to(x, y):
    fx, fy = ORIGIN_X + round(x / SCALE * 256), ORIGIN_Y + round(y / SCALE * 256)
    display.request(pointer, 1, struct.pack("<IIIII", now(), fx, fy, EXTENT_X, EXTENT_Y))
    display.request(pointer, 4)


def button(name, state):
    display.request(pointer, 2, struct.pack("<III", now(), BUTTONS[name], state))
    display.request(pointer, 4)


def key(chord):
    *modifiers, name = chord.split("+")
    mask = sum(MODIFIERS[m] for m in modifiers)
    code = KEYS[name]
    if mask:
        display.request(keyboard, 2, struct.pack("<IIII", mask, 0, 0, 0))
    display.request(keyboard, 1, struct.pack("<III", now(), code, 1))
    display.request(keyboard, 1, struct.pack("<III", now(), code, 0))
    if mask:
        display.request(keyboard, 2, struct.pack("<IIII", 0, 0, 0, 0))


def screen():
    # One output alone is read at its own scale, device pixel for device pixel.
    only = ["-o", OUTPUT] if OUTPUT else []
    shot = subprocess.run(["grim", *only, "-t", "ppm", "-"], capture_output=True, check=True).stdout
    # P6, width, height, maxval, then the pixels.
    fields = shot.split(maxsplit=4)
    return int(fields[1]), fields[4]


def pixels(points):
    width, data = screen()
    answer = []
    for x, y in zip(points[0::2], points[1::2]):
        at = (int(y) * width + int(x)) * 3
        answer.append(data[at:at + 3].hex().upper())
    return " ".join(answer)


def text(left, top, columns, rows):
    width, data = screen()
    area = b"".join(data[((top + row) * width + left) * 3:((top + row) * width + left + columns) * 3]
                    for row in range(rows))
    dark = sum(1 for at in range(0, len(area), 3) if max(area[at:at + 3]) < 0x60)
    return "%d %s" % (dark, hashlib.md5(area).hexdigest())


def use_output(name):
    """Absolute pointer positions are fractions of the whole layout, the
    bounding box of all outputs."""
    global SCALE, EXTENT_X, EXTENT_Y, OUTPUT, ORIGIN_X, ORIGIN_Y
    outputs = [o for o in json.loads(subprocess.run(
        ["swaymsg", "-r", "-t", "get_outputs"], capture_output=True, check=True).stdout)
        if o["active"]]
    chosen = [o for o in outputs if o["name"] == name]
    if not chosen:
        return "no active output " + name
    left = min(o["rect"]["x"] for o in outputs)
    top = min(o["rect"]["y"] for o in outputs)
    right = max(o["rect"]["x"] + o["rect"]["width"] for o in outputs)
    bottom = max(o["rect"]["y"] + o["rect"]["height"] for o in outputs)
    rect = chosen[0]["rect"]
    OUTPUT, SCALE = name, chosen[0]["scale"]
    ORIGIN_X, ORIGIN_Y = (rect["x"] - left) * 256, (rect["y"] - top) * 256
    EXTENT_X, EXTENT_Y = (right - left) * 256, (bottom - top) * 256
    return "%g %d %d" % (SCALE, rect["x"], rect["y"])


def serve(words):
    global SCALE, EXTENT_X, EXTENT_Y
    command, arguments = words[0], words[1:]
    if command == "move":
        x, y = float(arguments[0]), float(arguments[1])
        move_to(x + 1, y)
        move_to(x, y)
    elif command == "nudge":
        dx, dy = float(arguments[0]) / SCALE, float(arguments[1]) / SCALE
        display.request(pointer, 0, struct.pack("<Iii", now(), round(dx * 256), round(dy * 256)))
        display.request(pointer, 4)
    elif command in ("press", "release", "click"):
        if command != "release":
            button(arguments[0], 1)
        if command != "press":
            button(arguments[0], 0)
    elif command == "key":
        for chord in arguments:
            key(chord)
    elif command == "pixels":
        display.roundtrip()
        return pixels(arguments)
    elif command == "scale":
        SCALE = float(arguments[0])
        EXTENT_X, EXTENT_Y = round(WIDTH / SCALE * 256), round(HEIGHT / SCALE * 256)
    elif command == "output":
        return use_output(arguments[0])
    elif command == "text":
        display.roundtrip()
        return text(*map(int, arguments))
    else:
        return "unknown command " + command
    display.roundtrip()
    return "ok"


print("ready", flush=True)
for line in sys.stdin:
    if line.split():
        print(serve(line.split()), flush=True)
