"""The programs of a desktop: a virtual X server, window managers, the weston compositor and
D-Bus session buses. Each starts from a configuration of the caller's own, in a folder of the
caller's, and is waited for until it is ready, never for a guessed time: whatever a machine's
user has under ~/.config, ~/.local or /etc/xdg, and whatever desktop the caller runs in, stays
out of it.
"""

import ctypes
import os
import select
import signal
import subprocess
import time

SCREEN_SIZE = (1280, 1024)
SCREEN_DEPTH = 24
STARTUP_TIMEOUT = 10.0
# The big desktops' window managers compose their screen with OpenGL, in software here.
COMPOSITOR_STARTUP_TIMEOUT = 30.0
CLEANUP_TIMEOUT = 5.0
POLL_INTERVAL = 0.05  # between looks at something that is not ready yet
PR_SET_PDEATHSIG = 1  # from <linux/prctl.h>

# Settings of the desktop the caller runs in that would reach the programs started here.
INHERITED_PREFIXES = ("SDL_", "GDK_", "GTK_", "QT_", "HOPLIN_", "XDG_", "AT_SPI")
INHERITED_NAMES = ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XMODIFIERS",
                   "XCURSOR_THEME", "XCURSOR_SIZE", "XCURSOR_PATH", "LANGUAGE", "LC_ALL",
                   "LC_MESSAGES", "LANG", "NO_AT_BRIDGE")
# Messages in the program's own words, whatever the machine's locale.
LOCALE = "C.UTF-8"
# No cursor theme is found under an empty XCURSOR_PATH, so every Wayland client falls back to
# the same built-in pointer: a white outline round a black arrow whose tip is the hot spot.
NO_CURSOR_THEME = "hoplin-e2e-none"
SILENT_AUDIO = "dummy"

WESTON_SOCKET = "hoplin-e2e"
WESTON_WINDOW_CLASS = "Weston Compositor"
# No panel, so nothing on weston's output opens a program when a click goes astray; a plain
# background with no white in it, so that the pointer's outline is the only white there.
WESTON_CONFIG = """\
[core]
idle-time=0

[shell]
panel-position=none
background-color=0xff203040
locking=false
animation=none
startup-animation=none
close-animation=none
focus-animation=none

[input-method]
path=
"""

OPENBOX_STOCK_CONFIG = "/etc/xdg/openbox/rc.xml"
OPENBOX_BUTTON_PRESS = """\
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
"""
# Click to focus, one desktop, no key bindings (Alt+Space belongs to the game), and the mouse
# bindings of a frame: focus and raise on a press, move by the title bar, and the buttons.
OPENBOX_CONFIG = f"""\
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy><center>yes</center></placement>
  <theme><name>Clearlooks</name><titleLayout>NLIMC</titleLayout></theme>
  <desktops><number>1</number></desktops>
  <keyboard/>
  <mouse>
    <dragThreshold>1</dragThreshold>
    <doubleClickTime>500</doubleClickTime>
    <context name="Client Titlebar Top Right Bottom Left">
{OPENBOX_BUTTON_PRESS}    </context>
    <context name="Titlebar">
      <mousebind button="Left" action="Drag"><action name="Move"/></mousebind>
    </context>
    <context name="Iconify">
{OPENBOX_BUTTON_PRESS}      <mousebind button="Left" action="Click"><action name="Iconify"/></mousebind>
    </context>
    <context name="Close">
{OPENBOX_BUTTON_PRESS}      <mousebind button="Left" action="Click"><action name="Close"/></mousebind>
    </context>
  </mouse>
</openbox_config>
"""

# A session bus that serves this user's programs and starts the desktop's services as they
# are asked for.
SESSION_BUS_CONFIG = """\
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path={path}</listen>
  <auth>EXTERNAL</auth>
  <standard_session_servicedirs/>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


def die_with_parent():
    # A timeout kills the test run outright; its children must not outlive it. SIGTERM rather
    # than SIGKILL lets Xvfb remove its lock file on the way out.
    ctypes.CDLL(None).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def start(args, env, log, **options):
    """Starts a program with its output going to the open file log."""
    return subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=log,
                            stderr=subprocess.STDOUT, preexec_fn=die_with_parent, **options)


def stop(proc):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(timeout=CLEANUP_TIMEOUT)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def wait_until(what, condition, timeout, proc=None, where=""):
    """Polls condition until it answers something true, and answers that; fails once timeout
    seconds have passed, or at once when proc, the program that should bring it about, has
    ended. where, if given, says where to look."""
    deadline = time.monotonic() + timeout
    while True:
        found = condition()
        if found:
            return found
        if proc is not None and proc.poll() is not None:
            raise AssertionError(f"{what}: {proc.args[0]} exited with {proc.returncode}{where}")
        if time.monotonic() > deadline:
            raise AssertionError(f"{what} not seen within {timeout} s{where}")
        time.sleep(POLL_INTERVAL)


def own_environment(folder):
    """The caller's environment without its desktop: a home, configuration, data and runtime
    folders of its own under folder, the C locale, no display yet."""
    env = {name: value for name, value in os.environ.items()
           if name not in INHERITED_NAMES and not name.startswith(INHERITED_PREFIXES)}
    home = os.path.join(folder, "home")
    places = {
        "HOME": home,
        "XDG_CONFIG_HOME": os.path.join(home, ".config"),
        "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
        "XDG_CACHE_HOME": os.path.join(home, ".cache"),
        "XDG_CONFIG_DIRS": os.path.join(folder, "xdg-config"),
        "XDG_RUNTIME_DIR": os.path.join(folder, "runtime"),
        "XCURSOR_PATH": os.path.join(folder, "cursors"),
    }
    for path in places.values():
        os.makedirs(path, mode=0o700, exist_ok=True)
    # Sound goes to SDL's silent device, whatever sound the machine has; the tests that listen
    # name a device of their own.
    return dict(env, **places, LC_ALL=LOCALE, XCURSOR_THEME=NO_CURSOR_THEME,
                SDL_AUDIODRIVER=SILENT_AUDIO)


def write(path, text):
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)
    return path


def start_xvfb(env, log, size=SCREEN_SIZE):
    """Starts Xvfb on a display number that it finds free itself; returns (process, env with
    DISPLAY). The server tells the number once it takes connections. It never resets: by
    default it would each time its last client leaves, and a client connecting just then is
    dropped."""
    reader, writer = os.pipe()
    try:
        proc = start(["Xvfb", "-displayfd", str(writer), "-screen", "0",
                      f"{size[0]}x{size[1]}x{SCREEN_DEPTH}", "-nolisten", "tcp", "-noreset"],
                     env, log, pass_fds=(writer,))
        os.close(writer)
        writer = None
        number = b""
        deadline = time.monotonic() + STARTUP_TIMEOUT
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([reader], [], [], max(0.0, deadline - time.monotonic()))
            chunk = os.read(reader, 16) if ready else b""
            if not chunk:
                stop(proc)
                raise AssertionError(f"Xvfb named no display within {STARTUP_TIMEOUT} s "
                                     f"(exit status {proc.returncode}; see {log.name})")
            number += chunk
    finally:
        os.close(reader)
        if writer is not None:
            os.close(writer)
    return proc, dict(env, DISPLAY=f":{int(number)}")


def start_session_bus(env, folder, log):
    """Starts a D-Bus session bus of its own, as desktops run their programs on one; returns
    (process, env with its address)."""
    path = os.path.join(folder, "session-bus")
    config = write(os.path.join(folder, "session-bus.conf"), SESSION_BUS_CONFIG.format(path=path))
    proc = start(["dbus-daemon", "--nofork", f"--config-file={config}"], env, log)
    address = f"unix:path={path}"
    wait_until("the session bus taking connections",
               lambda: os.path.exists(path) and accepts_connections(address), STARTUP_TIMEOUT,
               proc)
    return proc, dict(env, DBUS_SESSION_BUS_ADDRESS=address)


class WindowManager:
    """How to start one window manager on a display: its command and environment for env
    and a folder of the caller's, whether it needs a session bus, and whether it composites
    the screen with OpenGL, which is slow to start in software."""

    def __init__(self, name, command, needs_bus=False, composites=False):
        self.name = name
        self.command = command
        self.needs_bus = needs_bus
        self.composites = composites

    def start(self, env, folder, log, screen):
        """Starts the window manager and waits until screen, the display's XScreen, shows it
        managing the screen."""
        args, env = self.command(env, folder)
        proc = start(args, env, log)
        timeout = COMPOSITOR_STARTUP_TIMEOUT if self.composites else STARTUP_TIMEOUT
        wait_until(f"{self.name} managing the screen", screen.has_window_manager, timeout, proc,
                   f" (see {log.name})")
        return proc


def openbox_command(env, folder):
    config = write(os.path.join(folder, "openbox-rc.xml"), OPENBOX_CONFIG)
    return ["openbox", "--sm-disable", "--config-file", config], env


def stock_openbox_command(env, _folder):
    # As Debian ships it: Alt+Space, among others, is the window manager's.
    return ["openbox", "--sm-disable", "--config-file", OPENBOX_STOCK_CONFIG], env


def mutter_command(env, _folder):
    # GNOME's window manager with its settings at their defaults, kept in memory.
    return ["mutter", "--x11", "--replace", "--sm-disable"], dict(env, GSETTINGS_BACKEND="memory")


def kwin_command(env, _folder):
    # With no configuration in the home folder KWin takes its defaults, Breeze's frames among
    # them.
    return ["kwin_x11", "--replace"], env


WINDOW_MANAGERS = {
    "openbox": WindowManager("openbox", openbox_command),
    "openbox-stock": WindowManager("openbox", stock_openbox_command),
    "mutter": WindowManager("mutter", mutter_command, needs_bus=True, composites=True),
    "kwin": WindowManager("KWin", kwin_command, needs_bus=True, composites=True),
}


def start_weston(env, folder, log, screen, scale=1, size=(800, 600)):
    """Starts weston on env's X server, whose XScreen is screen, with an output of size in its
    own units, scale X pixels to the unit. Returns (process, env of its Wayland clients,
    output), the output as (origin, size) of weston's window on the X screen."""
    config = write(os.path.join(folder, "weston.ini"), WESTON_CONFIG)
    proc = start(["weston", "--backend=x11-backend.so", f"--config={config}",
                  f"--socket={WESTON_SOCKET}", f"--width={size[0]}", f"--height={size[1]}",
                  f"--scale={scale}"], env, log)
    socket = os.path.join(env["XDG_RUNTIME_DIR"], WESTON_SOCKET)
    wait_until("weston's socket", lambda: os.path.exists(socket), STARTUP_TIMEOUT, proc)
    window = wait_until("weston's window", lambda: screen.find_window(WESTON_WINDOW_CLASS),
                        STARTUP_TIMEOUT, proc)
    client_env = dict(env, WAYLAND_DISPLAY=WESTON_SOCKET)
    client_env.pop("DISPLAY")
    return proc, client_env, screen.geometry(window)


A11Y_BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
A11Y_BUS_NAME = "org.a11y.Bus"


def connect_to_bus(address):
    """A connection of the test's own to the session bus at address."""
    from gi.repository import Gio

    return Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)


def accepts_connections(address):
    """Whether the bus at address lets a client in: its socket may be there before it listens."""
    from gi.repository import GLib

    try:
        connect_to_bus(address).close_sync(None)
        return True
    except GLib.Error:
        return False


def set_accessibility(env, enabled):
    """Says through org.a11y.Status, on env's session bus, whether accessibility is on, as a
    desktop's settings do."""
    from gi.repository import Gio, GLib

    bus = connect_to_bus(env["DBUS_SESSION_BUS_ADDRESS"])
    bus.call_sync(A11Y_BUS_NAME, "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled",
                                         GLib.Variant("b", enabled))),
                  None, Gio.DBusCallFlags.NONE, -1, None)
    bus.close_sync(None)


def start_accessibility_bus(env, log, enabled=True):
    """Starts the accessibility bus on env's session bus, as a desktop does, and says through
    org.a11y.Status whether accessibility is on. Answers the launcher's process."""
    from gi.repository import Gio, GLib

    proc = start([A11Y_BUS_LAUNCHER, "--launch-immediately"], env, log)
    bus = connect_to_bus(env["DBUS_SESSION_BUS_ADDRESS"])

    def owned():
        reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                              "org.freedesktop.DBus", "NameHasOwner",
                              GLib.Variant("(s)", (A11Y_BUS_NAME,)), None,
                              Gio.DBusCallFlags.NONE, -1, None)
        return reply.unpack()[0]

    wait_until("the accessibility bus", owned, STARTUP_TIMEOUT, proc)
    bus.close_sync(None)
    set_accessibility(env, enabled)
    return proc
