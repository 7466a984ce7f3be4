"""Reads an X screen for the end-to-end tests, one command per line on stdin,
one answer per line on stdout, after a first line "ready". One process serves
a whole test: starting an X client per pixel costs a tenth of a second, far
too slow to watch a paint.

  find NAME          the id of a window named NAME, or "none"
  state WINDOW       viewable, unmapped, unviewable or gone
  origin WINDOW      the root position of the window's top-left pixel
  pixels X Y ...     the colours RRGGBB at those root positions, read one
                     after the other in the order given
  owner SELECTION    the id of the window that owns the selection, or "none"
  disown SELECTION   makes the selection owned by no window
  pointer            "grabbed" while a client holds the pointer, else "free"
  keyboard           "grabbed" while a client holds the keyboard, else "free"
  hold_pointer       grabs the pointer for this probe, as another program
                     would, until release_pointer; answers "held"
  release_pointer    gives it back; answers "released"
  viewable NAME      how many viewable windows are named NAME
  at_once INPUT ...  sends input through XTEST in one write, so that the X
                     server has handled all of it before a client can answer
                     the first: key:NAME (pressed and released, NAME a keysym
                     such as Escape, or keysyms joined by "+" for a chord:
                     Control_L+p) or click:BUTTON; answers "sent"
  close WINDOW       asks the window to close, as a window manager's close
                     button does (WM_DELETE_WINDOW); answers "asked"
  managed            "yes" once the window manager has taken in a window of
                     ours (which then goes), "no" until then
  cursor             the pointer's shape as the X server shows it now:
                     WIDTHxHEIGHT and a digest of its pixels
  silent_wm          names a window manager on the root window that promises
                     to estimate frames (_NET_REQUEST_FRAME_EXTENTS) and
                     never does: none runs
  mapped_at WINDOW   the root position at which the top-level window holding
                     WINDOW (its frame, under a window manager) was first
                     mapped since this probe started, or "unmapped"
"""
import hashlib
import ctypes
import ctypes.util
import sys

xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")

ZPixmap = 2
AllPlanes = ctypes.c_ulong(0xFFFFFFFF)
IsViewable, IsUnviewable = 2, 1


class XImage(ctypes.Structure):
    _fields_ = [
        ("width", ctypes.c_int), ("height", ctypes.c_int),
        ("xoffset", ctypes.c_int), ("format", ctypes.c_int),
        ("data", ctypes.POINTER(ctypes.c_ubyte)),
        ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int),
        ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong),
        ("blue_mask", ctypes.c_ulong),
    ]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_int), ("y", ctypes.c_int),
        ("width", ctypes.c_int), ("height", ctypes.c_int),
        ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
        ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong),
        ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
        ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
        ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
        ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
        ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
        ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
        ("do_not_propagate_mask", ctypes.c_long),
        ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p),
    ]


class XFixesCursorImage(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_short), ("y", ctypes.c_short),
        ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
        ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
        ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
        ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p),
    ]


xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                      ctypes.c_ulong]
xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(XFixesCursorImage)
xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XGetImage.restype = ctypes.POINTER(XImage)
xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                           ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
xlib.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                      ctypes.POINTER(XWindowAttributes)]
xlib.XTranslateCoordinates.argtypes = [
    ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
    ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong)]
xlib.XQueryTree.argtypes = [
    ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
    ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
    ctypes.POINTER(ctypes.c_uint)]
xlib.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                            ctypes.POINTER(ctypes.c_char_p)]
xlib.XFree.argtypes = [ctypes.c_void_p]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XStringToKeysym.restype = ctypes.c_ulong
xlib.XStringToKeysym.argtypes = [ctypes.c_char_p]
xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XFlush.argtypes = [ctypes.c_void_p]
xlib.XInternAtom.restype = ctypes.c_ulong
xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
xlib.XGetSelectionOwner.restype = ctypes.c_ulong
xlib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XSetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
xlib.XGrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint,
                              ctypes.c_int, ctypes.c_int, ctypes.c_ulong, ctypes.c_ulong,
                              ctypes.c_ulong]
xlib.XUngrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XGrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                               ctypes.c_int, ctypes.c_ulong]
xlib.XUngrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                            ctypes.c_void_p]
xlib.XCreateSimpleWindow.restype = ctypes.c_ulong
xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong,
                                     ctypes.c_ulong]
xlib.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XDestroyWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong,
                                 ctypes.c_int, ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
PropModeReplace = 0
xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
xlib.XPending.argtypes = [ctypes.c_void_p]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
GrabModeAsync, GrabSuccess, CurrentTime = 1, 0, 0

# A window that has just gone away is an answer ("gone"), not a crash.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
x_errors = []
on_error = ERROR_HANDLER(lambda display, event: x_errors.append(1) or 0)
xlib.XSetErrorHandler(on_error)

display = xlib.XOpenDisplay(None)
if not display:
    sys.exit("xprobe: cannot open the display")
root = xlib.XDefaultRootWindow(display)


class XStructureEvent(ctypes.Structure):
    """The fields that CreateNotify, ConfigureNotify and MapNotify share:
    the root is "event" (the parent, for a creation), the top-level window
    "window"; x and y are not filled in by MapNotify."""
    _fields_ = [
        ("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
        ("x", ctypes.c_int), ("y", ctypes.c_int),
    ]


CreateNotify, MapNotify, ConfigureNotify = 16, 19, 22
SubstructureNotifyMask = 1 << 19
# Every creation, move and mapping of a top-level window, from now on.
xlib.XSelectInput(display, root, SubstructureNotifyMask)
xlib.XSync(display, 0)
print("ready", flush=True)
positions = {}
first_mapped = {}


def synced(call):
    x_errors.clear()
    result = call()
    xlib.XSync(display, 0)
    return result, not x_errors


def named(name, window=root):
    """The windows below `window` named `name`, depth first."""
    text = ctypes.c_char_p()
    if window != root and xlib.XFetchName(display, window, ctypes.byref(text)) and text.value:
        found = text.value.decode("latin-1") == name
        xlib.XFree(text)
        if found:
            yield window
    parent, top = ctypes.c_ulong(), ctypes.c_ulong()
    children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    if not xlib.XQueryTree(display, window, ctypes.byref(top), ctypes.byref(parent),
                           ctypes.byref(children), ctypes.byref(count)):
        return
    ids = [children[i] for i in range(count.value)]
    if children:
        xlib.XFree(children)
    for child in ids:
        yield from named(name, child)


def find(name):
    return next(named(name), None)


def state(window):
    attributes = XWindowAttributes()
    _, ok = synced(lambda: xlib.XGetWindowAttributes(display, window, ctypes.byref(attributes)))
    if not ok:
        return "gone"
    return {IsViewable: "viewable", IsUnviewable: "unviewable"}.get(attributes.map_state,
                                                                    "unmapped")


def origin(window):
    x, y, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
    _, ok = synced(lambda: xlib.XTranslateCoordinates(display, window, root, 0, 0,
                                                       ctypes.byref(x), ctypes.byref(y),
                                                       ctypes.byref(child)))
    return f"{x.value} {y.value}" if ok else "gone"


def selection(name):
    return xlib.XInternAtom(display, name.encode(), 0)


def pointer():
    """Whether another client grabs the pointer: a grab of ours is refused."""
    status = xlib.XGrabPointer(display, root, 0, 0, GrabModeAsync, GrabModeAsync, 0, 0,
                               CurrentTime)
    if status == GrabSuccess:
        xlib.XUngrabPointer(display, CurrentTime)
    xlib.XSync(display, 0)
    return "free" if status == GrabSuccess else "grabbed"


def keyboard():
    """Whether another client grabs the keyboard: a grab of ours is refused."""
    status = xlib.XGrabKeyboard(display, root, 0, GrabModeAsync, GrabModeAsync, CurrentTime)
    if status == GrabSuccess:
        xlib.XUngrabKeyboard(display, CurrentTime)
    xlib.XSync(display, 0)
    return "free" if status == GrabSuccess else "grabbed"


def hold_pointer():
    status = xlib.XGrabPointer(display, root, 0, 0, GrabModeAsync, GrabModeAsync, 0, 0,
                               CurrentTime)
    xlib.XSync(display, 0)
    return "held" if status == GrabSuccess else "refused"


def release_pointer():
    xlib.XUngrabPointer(display, CurrentTime)
    xlib.XSync(display, 0)
    return "released"


def viewable(name):
    return sum(1 for window in named(name) if state(window) == "viewable")


def at_once(inputs):
    for item in inputs:
        kind, name = item.split(":", 1)
        if kind == "key":
            codes = [xlib.XKeysymToKeycode(display, xlib.XStringToKeysym(key.encode()))
                     for key in name.split("+")]
            for code in codes:
                xtst.XTestFakeKeyEvent(display, code, 1, 0)
            for code in reversed(codes):
                xtst.XTestFakeKeyEvent(display, code, 0, 0)
        else:
            xtst.XTestFakeButtonEvent(display, int(name), 1, 0)
            xtst.XTestFakeButtonEvent(display, int(name), 0, 0)
    xlib.XFlush(display)
    return "sent"


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5), ("padding", ctypes.c_long * 12),
    ]


ClientMessage = 33


def close(window):
    message = XClientMessageEvent(type=ClientMessage, window=window,
                                  message_type=selection("WM_PROTOCOLS"), format=32)
    message.data[0] = selection("WM_DELETE_WINDOW")
    message.data[1] = CurrentTime
    synced(lambda: xlib.XSendEvent(display, window, 0, 0, ctypes.byref(message)))
    return "asked"


def parent_of(window):
    parent, top = ctypes.c_ulong(), ctypes.c_ulong()
    children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    if not xlib.XQueryTree(display, window, ctypes.byref(top), ctypes.byref(parent),
                           ctypes.byref(children), ctypes.byref(count)):
        return None
    if children:
        xlib.XFree(children)
    return parent.value


def top_level(window):
    while True:
        parent = parent_of(window)
        if parent in (None, root):
            return window
        window = parent


def mapped_at(window):
    event = (ctypes.c_long * 24)()
    while xlib.XPending(display):
        xlib.XNextEvent(display, event)
        fields = ctypes.cast(event, ctypes.POINTER(XStructureEvent)).contents
        if fields.type in (CreateNotify, ConfigureNotify):
            positions[fields.window] = (fields.x, fields.y)
        elif fields.type == MapNotify and fields.window not in first_mapped:
            first_mapped[fields.window] = positions.get(fields.window)
    at = first_mapped.get(top_level(window))
    return f"{at[0]} {at[1]}" if at else "unmapped"


def silent_wm():
    check = xlib.XCreateSimpleWindow(display, root, -1, -1, 1, 1, 0, 0, 0)
    atom = selection
    window_type, atom_type = atom("WINDOW"), atom("ATOM")
    for holder in (root, check):
        xlib.XChangeProperty(display, holder, atom("_NET_SUPPORTING_WM_CHECK"), window_type, 32,
                             PropModeReplace, ctypes.byref(ctypes.c_ulong(check)), 1)
    xlib.XChangeProperty(display, root, atom("_NET_SUPPORTED"), atom_type, 32, PropModeReplace,
                         ctypes.byref(ctypes.c_ulong(atom("_NET_REQUEST_FRAME_EXTENTS"))), 1)
    xlib.XSync(display, 0)
    return "named"


test_window = None


def managed():
    """A window manager that has only just started may not yet take in the
    windows mapped: a window of ours is mapped (again, at each call) until the
    manager has framed it."""
    global test_window
    if test_window is None:
        test_window = xlib.XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0)
    elif parent_of(test_window) not in (None, root):
        xlib.XDestroyWindow(display, test_window)
        xlib.XSync(display, 0)
        test_window = None
        return "yes"
    xlib.XMapWindow(display, test_window)
    xlib.XSync(display, 0)
    return "no"


def pixel(x, y):
    """The colour RRGGBB of the root pixel at (x, y)."""
    image = xlib.XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap)
    if not image:
        return None
    picture = image.contents
    if picture.bits_per_pixel != 32:
        sys.exit(f"xprobe: {picture.bits_per_pixel} bits per pixel are not handled")
    value = int.from_bytes(bytes(picture.data[0:4]), "little" if picture.byte_order == 0 else "big")
    masks = (picture.red_mask, picture.green_mask, picture.blue_mask)
    xlib.XFree(picture.data)
    xlib.XFree(image)
    return "%02X%02X%02X" % tuple((value & mask) * 255 // mask for mask in masks)


def pixels(coordinates):
    colours, ok = synced(lambda: [pixel(x, y)
                                  for x, y in zip(coordinates[0::2], coordinates[1::2])])
    return " ".join(colours) if ok and None not in colours else "outside"


def cursor():
    image = xfixes.XFixesGetCursorImage(display)
    if not image:
        return "unknown"
    shape = image.contents
    count = shape.width * shape.height
    digest = hashlib.sha1(bytes(ctypes.cast(shape.pixels, ctypes.POINTER(
        ctypes.c_ulong * count)).contents)).hexdigest()[:12]
    xlib.XFree(image)
    return f"{shape.width}x{shape.height} {digest}"


for line in sys.stdin:
    takes_name = line.startswith(("find", "viewable"))
    command, *arguments = line.split(maxsplit=1 if takes_name else -1)
    if command == "find":
        hit = find(arguments[0].rstrip("\n"))
        answer = hex(hit) if hit else "none"
    elif command == "state":
        answer = state(int(arguments[0], 0))
    elif command == "origin":
        answer = origin(int(arguments[0], 0))
    elif command == "owner":
        owner = xlib.XGetSelectionOwner(display, selection(arguments[0]))
        answer = hex(owner) if owner else "none"
    elif command == "disown":
        xlib.XSetSelectionOwner(display, selection(arguments[0]), 0, CurrentTime)
        xlib.XSync(display, 0)
        answer = "none"
    elif command == "pointer":
        answer = pointer()
    elif command == "keyboard":
        answer = keyboard()
    elif command == "hold_pointer":
        answer = hold_pointer()
    elif command == "release_pointer":
        answer = release_pointer()
    elif command == "viewable":
        answer = str(viewable(arguments[0].rstrip("\n")))
    elif command == "at_once":
        answer = at_once(arguments)
    elif command == "close":
        answer = close(int(arguments[0], 0))
    elif command == "managed":
        answer = managed()
    elif command == "silent_wm":
        answer = silent_wm()
    elif command == "mapped_at":
        answer = mapped_at(int(arguments[0], 0))
    elif command == "cursor":
        answer = cursor()
    elif command == "pixels":
        answer = pixels([int(value) for value in arguments])
    else:
        answer = f"unknown command {command}"
    print(answer, flush=True)
