#!/usr/bin/env python3
"""The game's windows as window managers and old tools see them, each on a fresh Xvfb: with no
window manager and no session bus, under openbox, under GNOME's mutter and under KDE's KWin.
The About box is a modal dialog to each of them, comes back whenever its owner is clicked or
activated, and gives the keyboard back to its owner when it closes.

usage: test_window_managers.py <hoplin binary> <screenshot folder>

The screen checks, the layout and the driving come from test_e2e.py beside this script.
"""

import os
import sys
import tempfile
import time

import desktop
import test_desktops as desktops
import test_e2e as e2e
from desktop import Failure, run, wait_until

DIALOG_TYPE = "_NET_WM_WINDOW_TYPE_DIALOG"
MODAL_STATE = "_NET_WM_STATE_MODAL"
MINIMIZE_ACTION = "_NET_WM_ACTION_MINIMIZE"
# The Motif hints' functions field, and its minimise and maximise bits.
MOTIF_FUNCTIONS = 1
MOTIF_MINIMIZE = 1 << 3
MOTIF_MAXIMIZE = 1 << 4
ICONIC = "Iconic"


class Manager:
    """A window manager to try the game under: how to start it, whether it composites and
    runs on a session bus, as the big desktops' do, and whether it offers to minimise a window
    whose Motif hints say it cannot be (openbox and KWin do)."""

    def __init__(self, name, start, big=False, ignores_motif_minimise=False):
        self.name = name
        self.start = start
        self.big = big
        self.ignores_motif_minimise = ignores_motif_minimise


class CompositedSession(desktops.WmSession):
    """The game under a compositing window manager. On Xvfb such a manager shows a window's
    new pixels when it next repaints the screen, which with no display's vertical blank to
    drive it it may put off until the pointer moves; so the main window is read from its own
    pixels, which are what the game drew."""

    def shoot(self, region=None):
        if region is not None:
            return super().shoot(region)
        taken_at = time.monotonic()
        shot = e2e.Shot(run(["import", "-window", self.window, "-depth", "8", "ppm:-"], self.env),
                        taken_at)
        if (shot.width, shot.height) != self.size:
            raise Failure(f"screenshot is {shot.width}x{shot.height}, expected {self.size}")
        return shot


MANAGERS = (
    # The game alone on a fresh server, with no session bus to talk to.
    Manager("no window manager", None),
    Manager("openbox", lambda env, own, log: desktop.start_openbox(env, own, log),
            ignores_motif_minimise=True),
    Manager("mutter", lambda env, own, log: desktop.start_mutter(env, log), big=True),
    Manager("KWin", lambda env, own, log: desktop.start_kwin(env, log), big=True,
            ignores_motif_minimise=True),
)


def text_property(env, window, name):
    """(type, text) of a window's text property, as xprop decodes it in the locale."""
    line = desktops.xprop(env, "-id", window, name).strip()
    kind = line[line.index("(") + 1:line.index(")")] if "(" in line.split("=")[0] else None
    return kind, line.partition(" = ")[2].strip('"')


def motif_functions(env, window):
    hints = [int(v, 0) for v in desktops.property_atoms(env, window, "_MOTIF_WM_HINTS")]
    return hints[MOTIF_FUNCTIONS] if hints else None


def window_state(env, window):
    """"Normal", "Iconic" or "Withdrawn", from the window's WM_STATE."""
    found = desktops.xprop(env, "-id", window, "WM_STATE")
    for line in found.splitlines():
        if "window state:" in line:
            return line.split(":", 1)[1].strip()
    return None


def expect_title(env, window, kinds, title, what):
    kind, text = text_property(env, window, "WM_NAME")
    if kind not in kinds or text != title:
        raise Failure(f"{what}: WM_NAME is {kind} {text!r}, expected {title!r} as one of {kinds}")


def check_windows(session, about, manager):
    """What the window manager and old tools read off the two windows."""
    env, main = session.env, session.window
    if desktops.property_atoms(env, main, "WM_TRANSIENT_FOR"):
        raise Failure("the main window is transient for another window")
    expect_title(env, main, ("STRING",), "Hoplin", "the main window")
    expect_title(env, about, ("COMPOUND_TEXT",), e2e.ABOUT_CAPTION, "the About box")
    for window in (main, about):
        _, locale = text_property(env, window, "WM_LOCALE_NAME")
        if locale != desktop.LOCALE:
            raise Failure(f"WM_LOCALE_NAME is {locale!r}, expected {desktop.LOCALE!r}")
    if desktops.property_atoms(env, about, "_NET_WM_WINDOW_TYPE") != [DIALOG_TYPE]:
        raise Failure("the About box is not typed as a dialog")
    if MODAL_STATE not in desktops.property_atoms(env, about, "_NET_WM_STATE"):
        raise Failure("the About box is not modal")
    owners = desktops.property_atoms(env, about, "WM_TRANSIENT_FOR")
    if [desktops.as_id(w) for w in owners] != [desktops.as_id(main)]:
        raise Failure(f"the About box is transient for {owners}, not the main window")
    functions = motif_functions(env, about)
    if functions is None or functions & (MOTIF_MINIMIZE | MOTIF_MAXIMIZE):
        raise Failure(f"the About box's Motif functions {functions} offer minimise or maximise")
    if manager.start is None:
        return
    actions = desktops.property_atoms(env, about, desktops.ALLOWED_ACTIONS)
    offered = [a for a in actions if a in desktops.MAXIMIZE_ACTIONS]
    if not manager.ignores_motif_minimise and MINIMIZE_ACTION in actions:
        offered.append(MINIMIZE_ACTION)
    if offered:
        raise Failure(f"{manager.name} offers {offered} on the About box")
    if desktops.SKIP_TASKBAR_STATE not in desktops.property_atoms(env, about, "_NET_WM_STATE"):
        raise Failure("the About box has a taskbar entry of its own")


def focused(session, window):
    """Whether window has the keyboard, and under a window manager the activation too."""
    env = session.env
    has_focus = desktops.as_id(run(["xdotool", "getwindowfocus"], env).decode()) == \
        desktops.as_id(window)
    if session.managed:
        active = desktops.property_atoms(env, "-root", "_NET_ACTIVE_WINDOW")
        return has_focus and [desktops.as_id(w) for w in active] == [desktops.as_id(window)]
    return has_focus


def about_in_front(session, about):
    """Whether the About box is shown, above its owner, with the keyboard."""
    env = session.env
    if window_state(env, about) == ICONIC or not focused(session, about):
        return False
    if not session.managed:
        return True
    stacking = [desktops.as_id(w)
                for w in desktops.property_atoms(env, "-root", "_NET_CLIENT_LIST_STACKING")]
    return (desktops.as_id(about) in stacking
            and stacking.index(desktops.as_id(about)) > stacking.index(desktops.as_id(session.window)))


def play(session, manager, ok):
    env, name = session.env, manager.name

    began = time.monotonic()
    session.start_game(f"title screen under {name}", e2e.check_title, save_as="title.png")
    layout = session.layout
    session.right_click(layout.menu_point)
    session.wait_for("the system menu", e2e.check_menu(layout.menu_point), e2e.SCREEN_TIMEOUT)
    session.key("a")
    about = session.about_window()
    # In front, the box is managed: the window manager has said what it offers.
    wait_until("the About box in front once it opens", lambda: about_in_front(session, about),
               e2e.SCREEN_TIMEOUT)
    check_windows(session, about, manager)
    ok(f"under {name} the About box is a modal dialog, transient for the main window, that "
       "offers neither minimise nor maximise, opens in front, and both titles reach old tools",
       began)

    began = time.monotonic()
    # The title box's middle lies above the About box, which is centred on the window.
    pressed_before = desktops.user_time(env, session.window)
    session.click(layout.title)
    # A window manager acts on a press before it passes the press on to the game.
    wait_until("the game taking the click on its main window",
               lambda: desktops.user_time(env, session.window) != pressed_before,
               e2e.SCREEN_TIMEOUT)
    wait_until("the About box in front after a click on the main window",
               lambda: about_in_front(session, about), e2e.SCREEN_TIMEOUT)
    session.shoot(session.around(session.geometry(about))).save(
        os.path.join(session.out_dir, "about.png"))
    ok(f"under {name} a click on the main window leaves the About box in front", began)

    if manager.ignores_motif_minimise:
        began = time.monotonic()
        run(["xdotool", "windowminimize", "--sync", about], env)
        # A minimised dialog would leave a window that takes no input; its owner goes too.
        wait_until("the main window minimised with the About box",
                   lambda: window_state(env, session.window) == ICONIC, e2e.SCREEN_TIMEOUT)
        run(["xdotool", "windowactivate", session.window], env)
        wait_until("the About box back in front once the main window is activated",
                   lambda: about_in_front(session, about), e2e.SCREEN_TIMEOUT)
        ok(f"under {name}, which offers minimise anyway, the minimised About box takes its "
           "owner along and comes back in front when the owner is activated", began)

    began = time.monotonic()
    session.key("Return")
    session.wait_for_no_about("the About box after Return")
    wait_until("the main window with the keyboard once the About box has closed",
               lambda: focused(session, session.window), e2e.SCREEN_TIMEOUT)
    if not session.managed:
        session.key("alt+space")
        session.wait_for("the system menu after Alt+Space", e2e.check_menu((0, 0)),
                         e2e.SCREEN_TIMEOUT)
        session.key("Escape")
        session.wait_for("the title again after Esc", e2e.check_title, e2e.SCREEN_TIMEOUT)
    session.click(layout.exit)
    session.expect_exit("Exit", began)
    ok(f"under {name} Return closes the About box, the main window has the keyboard again, "
       "and Exit ends the game with nothing of it left running", began)


def main(argv):
    paths = e2e.script_paths(argv, __doc__, 2)
    if paths is None:
        return 2
    hoplin, out_dir = paths
    ok = e2e.reporter()
    began = time.monotonic()
    for manager in MANAGERS:
        processes = []
        session = None
        folder = os.path.join(out_dir, manager.name.replace(" ", "-").lower())
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "desktop.log"), "wb") as log, \
                tempfile.TemporaryDirectory(prefix="hoplin-e2e-") as own:
            try:
                xvfb, env = desktop.start_xvfb(desktop.own_environment(own), log)
                processes.append(xvfb)
                if manager.big:
                    bus, env = desktop.start_session_bus(env, own, log)
                    processes.append(bus)
                if manager.start is not None:
                    processes.append(manager.start(env, own, log))
                kind = CompositedSession if manager.big else desktops.WmSession
                session = kind(hoplin, None, folder, env)
                session.managed = manager.start is not None
                session.logs.append(log.name)
                play(session, manager, ok)
            except Failure as failure:
                print(f"not ok - {manager.name}: {failure}", file=sys.stderr, flush=True)
                return 1
            finally:
                desktop.stop_all([session.game if session else None], processes)
    print(f"# all passed in {time.monotonic() - began:.1f} s", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
