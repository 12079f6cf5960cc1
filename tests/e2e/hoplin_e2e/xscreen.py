"""An X display read and driven in-process, through python3-xlib: the windows and their
properties, screenshots as PIL images, and the pointer and keys through XTest."""

import ctypes
import ctypes.util
import time

from PIL import Image
from Xlib import X, XK, Xatom, display, error, protocol
from Xlib.ext import xtest

# WM_STATE's states, from ICCCM.
WITHDRAWN, NORMAL, ICONIC = 0, 1, 3
# Who asks the window manager to activate a window: a pager, acting for the user.
SOURCE_PAGER = 2
CLICK_DELAY = 0.06  # between the clicks of a double-click, well inside the game's time


class XTextProperty(ctypes.Structure):
    _fields_ = [("value", ctypes.c_char_p), ("encoding", ctypes.c_ulong),
                ("format", ctypes.c_int), ("nitems", ctypes.c_ulong)]


class XScreen:
    """One connection to an X display."""

    def __init__(self, name):
        self.name = name
        self.display = display.Display(name)
        self.root = self.display.screen().root
        self.depth = self.display.screen().root_depth
        self._xlib = None

    def close(self):
        self.display.close()

    def atom(self, name):
        return self.display.intern_atom(name)

    def atom_name(self, atom):
        return self.display.get_atom_name(atom)

    def window(self, wid):
        return self.display.create_resource_object("window", wid)

    # --- Properties ---------------------------------------------------------------------------

    def property(self, window, name, kind=X.AnyPropertyType):
        """The property's value (a list of numbers, or bytes for text), or None when the
        window has no such property, or no longer exists."""
        try:
            found = window.get_full_property(self.atom(name), kind)
        except (error.BadWindow, error.BadMatch):
            return None
        return None if found is None else found.value

    def numbers(self, window, name):
        found = self.property(window, name)
        return [] if found is None or isinstance(found, (bytes, str)) else list(found)

    def atoms(self, window, name):
        """The names of the atoms in a property of atoms."""
        return [self.atom_name(atom) for atom in self.numbers(window, name)]

    def text(self, window, name):
        """(type, text) of a text property, decoded as Xlib decodes it; (None, None) when the
        window has none."""
        try:
            found = window.get_full_property(self.atom(name), X.AnyPropertyType)
        except error.BadWindow:
            return None, None
        if found is None:
            return None, None
        kind = self.atom_name(found.property_type)
        raw = found.value if isinstance(found.value, bytes) else found.value.encode()
        return kind, self.decode_text(raw, found.property_type)

    def decode_text(self, raw, encoding):
        """Text of a property in any of X's encodings, compound text among them, through
        Xlib's own conversion, as old tools read it."""
        if self._xlib is None:
            self._xlib = ctypes.CDLL(ctypes.util.find_library("X11"))
            self._xlib.XOpenDisplay.restype = ctypes.c_void_p
            self._xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
            self._xlib.Xutf8TextPropertyToTextList.argtypes = [
                ctypes.c_void_p, ctypes.POINTER(XTextProperty),
                ctypes.POINTER(ctypes.POINTER(ctypes.c_char_p)), ctypes.POINTER(ctypes.c_int)]
            self._xdisplay = self._xlib.XOpenDisplay(self.name.encode())
        prop = XTextProperty(raw, encoding, 8, len(raw))
        texts = ctypes.POINTER(ctypes.c_char_p)()
        count = ctypes.c_int()
        if self._xlib.Xutf8TextPropertyToTextList(self._xdisplay, ctypes.byref(prop),
                                                  ctypes.byref(texts), ctypes.byref(count)) < 0:
            return None
        decoded = "".join(texts[i].decode() for i in range(count.value))
        self._xlib.XFreeStringList(texts)
        return decoded

    def wm_state(self, window):
        """WITHDRAWN, NORMAL or ICONIC, from the window's WM_STATE; None without one."""
        state = self.numbers(window, "WM_STATE")
        return state[0] if state else None

    def has_window_manager(self):
        """Whether a window manager that follows EWMH runs: it names its check window."""
        return bool(self.numbers(self.root, "_NET_SUPPORTING_WM_CHECK"))

    def set_resources(self, text):
        """Sets the server's resources, as xrdb leaves them on the root window."""
        self.root.change_property(Xatom.RESOURCE_MANAGER, Xatom.STRING, 8, text.encode())
        self.display.sync()

    # --- Windows ------------------------------------------------------------------------------

    def windows(self):
        """Every window on the screen, children before their parents' later siblings."""
        found = []
        pending = [self.root]
        while pending:
            window = pending.pop()
            try:
                children = window.query_tree().children
            except error.BadWindow:  # gone meanwhile
                continue
            found.extend(children)
            pending.extend(children)
        return found

    def windows_of(self, pid):
        """{window: name} of the windows that the process pid made, as _NET_WM_PID says."""
        found = {}
        for window in self.windows():
            if self.numbers(window, "_NET_WM_PID") == [pid]:
                _, name = self.text(window, "_NET_WM_NAME")
                if name is not None:
                    found[window] = name
        return found

    def viewable(self, window):
        """Whether the window is mapped, with all its ancestors: on the screen."""
        try:
            return window.get_attributes().map_state == X.IsViewable
        except error.BadWindow:
            return False

    def find_window(self, wm_class):
        """A mapped window whose WM_CLASS names wm_class, or None."""
        for window in self.windows():
            try:
                found = window.get_wm_class()
            except error.BadWindow:
                continue
            if found and wm_class in found and self.viewable(window):
                return window
        return None

    def geometry(self, window):
        """((x, y), (width, height)) of the window's inside on the screen, frame or not."""
        size = window.get_geometry()
        origin = window.translate_coords(self.root, 0, 0)
        return (-origin.x, -origin.y), (size.width, size.height)

    def active_window(self):
        active = self.numbers(self.root, "_NET_ACTIVE_WINDOW")
        return active[0] if active else None

    def focus(self):
        focus = self.display.get_input_focus().focus
        return focus if isinstance(focus, int) else focus.id

    def stacking(self):
        return self.numbers(self.root, "_NET_CLIENT_LIST_STACKING")

    def send_to_root(self, window, message, data):
        event = protocol.event.ClientMessage(window=window, client_type=self.atom(message),
                                             data=(32, (data + [0] * 5)[:5]))
        self.root.send_event(event, X.SubstructureRedirectMask | X.SubstructureNotifyMask)
        self.display.sync()

    def activate(self, window):
        """Asks the window manager to make window the active one, as a pager does."""
        self.send_to_root(window, "_NET_ACTIVE_WINDOW", [SOURCE_PAGER, X.CurrentTime])

    def minimise(self, window):
        self.send_to_root(window, "WM_CHANGE_STATE", [ICONIC])

    def ask_to_close(self, window):
        """Sends WM_DELETE_WINDOW, as a window manager does for its close button."""
        event = protocol.event.ClientMessage(
            window=window, client_type=self.atom("WM_PROTOCOLS"),
            data=(32, [self.atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
        window.send_event(event)
        self.display.sync()

    def destroy(self, window):
        """Destroys another client's window, as xdotool's windowclose does."""
        window.destroy()
        self.display.sync()

    # --- Screenshots --------------------------------------------------------------------------

    def shoot(self, region, window=None):
        """An RGB image of region, ((x, y), (width, height)): on the screen, or in window's
        own pixels, which a compositing window manager shows only when it next repaints."""
        (x, y), (width, height) = region
        source = self.root if window is None else window
        image = source.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF)
        return Image.frombytes("RGB", (width, height), image.data, "raw", "BGRX")

    # --- Input --------------------------------------------------------------------------------

    def pointer(self):
        at = self.root.query_pointer()
        return at.root_x, at.root_y

    def move(self, point):
        xtest.fake_input(self.display, X.MotionNotify, x=point[0], y=point[1])
        self.display.sync()

    def click(self, button=1, repeat=1):
        for n in range(repeat):
            if n:
                time.sleep(CLICK_DELAY)
            xtest.fake_input(self.display, X.ButtonPress, button)
            xtest.fake_input(self.display, X.ButtonRelease, button)
            self.display.sync()

    def key(self, combination):
        """Presses and releases keys such as "a", "Escape" or "alt+space", held together in
        that order and let go in the other."""
        codes = []
        for name in combination.split("+"):
            name = {"alt": "Alt_L", "shift": "Shift_L", "ctrl": "Control_L"}.get(name, name)
            keysym = XK.string_to_keysym(name)
            code = self.display.keysym_to_keycode(keysym)
            if not code:
                raise AssertionError(f"no key for {name!r} on this display")
            codes.append(code)
        for code in codes:
            xtest.fake_input(self.display, X.KeyPress, code)
        for code in reversed(codes):
            xtest.fake_input(self.display, X.KeyRelease, code)
        self.display.sync()
