"""The desktop parts the game is tried on: a virtual X server, the openbox window manager and
the weston compositor. Each starts from a configuration of the caller's own, in a folder of the
caller's, and is waited for until it is ready, never for a guessed time: whatever a machine's
user has under ~/.config, ~/.local or /etc/xdg, and whatever desktop the caller runs in, stays
out of it.

Also where a dialog's controls are on the screen: the dialog templates measure them in dialog
units, which follow from the base units that reproduce the window's client size.
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
COMMAND_TIMEOUT = 10.0
CLEANUP_TIMEOUT = 5.0
POLL_INTERVAL = 0.1  # between looks at something that is not ready yet
PR_SET_PDEATHSIG = 1  # from <linux/prctl.h>

# A dialog unit is a quarter of the horizontal base unit and an eighth of the vertical one.
DLU_PER_BASE_X = 4
DLU_PER_BASE_Y = 8
MAX_BASE_UNIT = 64

# Settings of the desktop the caller runs in that would reach the programs started here.
INHERITED_PREFIXES = ("SDL_", "GDK_", "GTK_", "QT_", "HOPLIN_", "XDG_")
INHERITED_NAMES = ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XMODIFIERS",
                   "XCURSOR_THEME", "XCURSOR_SIZE", "XCURSOR_PATH", "LANGUAGE", "LC_ALL",
                   "LC_MESSAGES", "LANG")
# Messages in the program's own words, whatever the machine's locale.
LOCALE = "C.UTF-8"
# No cursor theme is found under an empty XCURSOR_PATH, so every Wayland client falls back to
# the same built-in pointer: a white outline round a black arrow whose tip is the hot spot.
NO_CURSOR_THEME = "hoplin-e2e-none"

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

OPENBOX_CONFIG_NAME = "openbox-rc.xml"
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


class Failure(Exception):
    """A check failed; the message says what was seen, and where to look."""


def die_with_parent():
    # A ctest timeout kills the script outright; its children must not outlive it. SIGTERM
    # rather than SIGKILL lets Xvfb remove its lock file on the way out.
    ctypes.CDLL(None).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def run(args, env, timeout=COMMAND_TIMEOUT, input=None):
    try:
        done = subprocess.run(args, env=env, input=input, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure(f"{' '.join(args)} did not finish within {timeout} s")
    if done.returncode != 0:
        raise Failure(
            f"{' '.join(args)} exited with {done.returncode}: "
            f"{done.stderr.decode(errors='replace').strip()}"
        )
    return done.stdout


def start(args, env, log, **options):
    return subprocess.Popen(args, env=env, stdout=log, stderr=subprocess.STDOUT,
                            preexec_fn=die_with_parent, **options)


def stop_process(proc):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(timeout=CLEANUP_TIMEOUT)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def stop_all(games, processes):
    """Stops the games first, then the desktop's parts, the last started first."""
    for proc in [game for game in games if game is not None] + list(reversed(processes)):
        stop_process(proc)


def wait_until(what, condition, timeout, proc=None, log=None):
    """Polls condition until it holds; fails once timeout seconds have passed, or at once when
    proc, the program that should bring it about, has ended. The failure names log."""
    deadline = time.monotonic() + timeout
    where = f" (see {log.name})" if log is not None else ""
    while not condition():
        if proc is not None and proc.poll() is not None:
            raise Failure(f"{what}: {proc.args[0]} exited with {proc.returncode}{where}")
        if time.monotonic() > deadline:
            raise Failure(f"{what} not seen within {timeout} s{where}")
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
    return dict(env, **places, LC_ALL=LOCALE, XCURSOR_THEME=NO_CURSOR_THEME)


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
            left = deadline - time.monotonic()
            ready, _, _ = select.select([reader], [], [], max(0.0, left))
            chunk = os.read(reader, 16) if ready else b""
            if not chunk:
                stop_process(proc)
                raise Failure(f"Xvfb named no display within {STARTUP_TIMEOUT} s "
                              f"(exit status {proc.returncode}; see {log.name})")
            number += chunk
    finally:
        os.close(reader)
        if writer is not None:
            os.close(writer)
    return proc, dict(env, DISPLAY=f":{int(number)}")


def start_session_bus(env, folder, log):
    """Starts a D-Bus session bus of its own, as the big desktops run their window managers
    on one; returns (process, env with its address)."""
    path = os.path.join(folder, "session-bus")
    config = os.path.join(folder, "session-bus.conf")
    with open(config, "w", encoding="utf-8") as out:
        out.write(SESSION_BUS_CONFIG.format(path=path))
    proc = start(["dbus-daemon", "--nofork", f"--config-file={config}"], env, log)
    wait_until("the session bus", lambda: os.path.exists(path), STARTUP_TIMEOUT, proc, log)
    return proc, dict(env, DBUS_SESSION_BUS_ADDRESS=f"unix:path={path}")


def start_window_manager(args, env, log, timeout=STARTUP_TIMEOUT):
    """Starts a window manager and waits until it manages the screen."""
    proc = start(args, env, log)

    def managing():
        done = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env,
                              capture_output=True)
        return b"window id" in done.stdout

    wait_until(f"{args[0]} managing the screen", managing, timeout, proc, log)
    return proc


def start_openbox(env, folder, log):
    """Starts openbox with a configuration of its own."""
    config = os.path.join(folder, OPENBOX_CONFIG_NAME)
    with open(config, "w", encoding="utf-8") as out:
        out.write(OPENBOX_CONFIG)
    return start_window_manager(["openbox", "--sm-disable", "--config-file", config], env, log)


def start_mutter(env, log):
    """Starts GNOME's window manager with its settings at their defaults, kept in memory."""
    return start_window_manager(["mutter", "--x11", "--replace", "--sm-disable"],
                                dict(env, GSETTINGS_BACKEND="memory"), log,
                                COMPOSITOR_STARTUP_TIMEOUT)


def start_kwin(env, log):
    """Starts KDE's window manager; with no configuration in the home folder it takes its
    defaults, the Breeze frames among them."""
    return start_window_manager(["kwin_x11", "--replace"], env, log, COMPOSITOR_STARTUP_TIMEOUT)


def start_weston(env, folder, log, scale=1, size=(800, 600)):
    """Starts weston on env's X server with an output of size in its own units, scale X
    pixels to the unit. Returns (process, env of its Wayland clients, output), the output as
    (origin, size) of weston's window on the X screen."""
    config = os.path.join(folder, "weston.ini")
    with open(config, "w", encoding="utf-8") as out:
        out.write(WESTON_CONFIG)
    proc = start(["weston", "--backend=x11-backend.so", f"--config={config}",
                  f"--socket={WESTON_SOCKET}", f"--width={size[0]}", f"--height={size[1]}",
                  f"--scale={scale}"], env, log)
    socket = os.path.join(env["XDG_RUNTIME_DIR"], WESTON_SOCKET)
    wait_until("weston's socket", lambda: os.path.exists(socket), STARTUP_TIMEOUT, proc, log)
    found = run(["xdotool", "search", "--sync", "--class", WESTON_WINDOW_CLASS], env,
                timeout=STARTUP_TIMEOUT)
    window = found.split()[0].decode()
    geometry = {}
    for line in run(["xdotool", "getwindowgeometry", "--shell", window], env).split():
        key, _, value = line.decode().partition("=")
        geometry[key] = int(value)
    output = (geometry["X"], geometry["Y"]), (geometry["WIDTH"], geometry["HEIGHT"])
    client_env = dict(env, WAYLAND_DISPLAY=WESTON_SOCKET)
    client_env.pop("DISPLAY")
    return proc, client_env, output


def mul_div(number, numerator, denominator):
    """Win32 MulDiv for non-negative arguments: rounds half away from zero."""
    return (2 * number * numerator + denominator) // (2 * denominator)


def base_unit(client_size, dialog_dlu, dlu_per_base, axis):
    for base in range(1, MAX_BASE_UNIT + 1):
        if mul_div(dialog_dlu, base, dlu_per_base) == client_size:
            return base
    raise Failure(f"no base unit gives a client {axis} of {client_size} px")


def base_units(client_size, dialog_size_dlu):
    """The base units (x, y) that give a dialog of dialog_size_dlu a client area of
    client_size pixels."""
    return (base_unit(client_size[0], dialog_size_dlu[0], DLU_PER_BASE_X, "width"),
            base_unit(client_size[1], dialog_size_dlu[1], DLU_PER_BASE_Y, "height"))


def dialog_rect(dlu, base):
    """The rectangle (x, y, width, height) in dialog units dlu as client pixels (left, top,
    right, bottom), right and bottom exclusive, at the base units base (x, y)."""
    x, y, cx, cy = dlu
    base_x, base_y = base
    return (
        mul_div(x, base_x, DLU_PER_BASE_X),
        mul_div(y, base_y, DLU_PER_BASE_Y),
        mul_div(x + cx, base_x, DLU_PER_BASE_X),
        mul_div(y + cy, base_y, DLU_PER_BASE_Y),
    )
