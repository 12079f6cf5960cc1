#!/usr/bin/env python3
"""Plays the real game on the desktops players run, each on its own Xvfb: under the openbox
window manager, and as a Wayland client of weston (its X11 backend inside Xvfb). It also
ends the game the ways a desktop can: the frame's close button, a window that another client
destroys, a display that goes away, a signal.

usage: test_desktops.py <hoplin binary> <screenshot folder>

The screen checks, the layout and the driving come from test_e2e.py beside this script.
"""

import os
import signal
import subprocess
import sys
import tempfile
import time

import desktop
import test_e2e as e2e
from desktop import Failure, run, wait_until

# --- openbox ----------------------------------------------------------------------------------

OTHER_WINDOW_TITLE = "hoplin-e2e-other"
ALLOWED_ACTIONS = "_NET_WM_ALLOWED_ACTIONS"
# The Hoplin window's actions: minimise is offered, maximise in neither direction.
MINIMIZE_ACTION = "_NET_WM_ACTION_MINIMIZE"
MAXIMIZE_ACTIONS = ("_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT")
SKIP_TASKBAR_STATE = "_NET_WM_STATE_SKIP_TASKBAR"
HIDDEN_STATE = "_NET_WM_STATE_HIDDEN"
LOST_DISPLAY_LINE = "hoplin: lost the connection to the display"
# Windows counts two clicks within a 4 x 4 px box as a double-click; these two are not.
DOUBLE_CLICK_MISS = 8
# The game's worker thread, while a run goes on, as /proc names it.
WORKER_THREAD = "hoplin-worker"
# How long the game may take to notice that its display has gone.
LOST_DISPLAY_TIMEOUT = 5.0

# --- weston -----------------------------------------------------------------------------------

WESTON_OUTPUT = (800, 600)
# Between clicks weston's pointer waits this far inside one of the bottom corners of its
# output, on the desktop beside the window, out of the screenshots' way.
POINTER_REST_INSET = 40
# Weston draws the pointer into its output: the pointer of every client here is white down
# its left edge for at least this many pixels from its tip, which lies within this many
# pixels of where the pointer is.
POINTER_EDGE = 8
POINTER_SLACK = 2


def xprop(env, *args):
    return run(["xprop"] + list(args), env).decode()


def property_atoms(env, window, name):
    """The atoms (or window ids) of a window's X property, as strings; window "-root" for
    the root window's."""
    where = [window] if window == "-root" else ["-id", window]
    # "NAME = a, b" for atoms and numbers, "NAME: window id # w" for windows.
    value = xprop(env, *where, "-notype", name)[len(name):].lstrip(" =:")
    value = value.replace("window id #", "")
    if "not found" in value or "no such atom" in value:
        return []
    return [atom.strip() for atom in value.split(",") if atom.strip()]


def as_id(window):
    return int(window, 0)


class WmSession(e2e.Session):
    """The game under a reparenting window manager: a window's client position comes from
    xwininfo, since xdotool's geometry is off by the frame."""

    def geometry(self, window):
        info = {}
        for line in run(["xwininfo", "-id", window], self.env).decode().splitlines():
            key, _, value = line.strip().partition(":")
            info[key] = value.strip()
        origin = (int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"]))
        return origin, (int(info["Width"]), int(info["Height"]))

    def frame_extents(self):
        """(left, right, top, bottom) of the frame the window manager put round the window."""
        extents = property_atoms(self.env, self.window, "_NET_FRAME_EXTENTS")
        if len(extents) != 4:
            raise Failure(f"no frame round the window: _NET_FRAME_EXTENTS is {extents}")
        return tuple(int(e) for e in extents)

    def about_window(self):
        """The About box's window id, once it is there."""
        found = {}

        def opened():
            found.update(
                {w: n for w, n in self.game_windows().items() if n == e2e.ABOUT_CAPTION}
            )
            return found

        wait_until("the About box", opened, e2e.SCREEN_TIMEOUT)
        return next(iter(found))

    def active_window(self):
        return run(["xdotool", "getactivewindow"], self.env).decode().strip()


def start_other_window(env, log):
    """Another program's window, to take the focus from the game."""
    proc = desktop.start(
        ["xmessage", "-name", OTHER_WINDOW_TITLE, "-title", OTHER_WINDOW_TITLE,
         "-geometry", "+0+0", "another program"], env, log)
    found = run(
        ["xdotool", "search", "--sync", "--onlyvisible", "--name", f"^{OTHER_WINDOW_TITLE}$"],
        env, timeout=desktop.STARTUP_TIMEOUT,
    )
    return proc, found.split()[0].decode()


def worker_running(pid):
    """Whether the game's worker thread, which a run lives on, is there."""
    for thread in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{thread}/comm", encoding="utf-8") as comm:
                if comm.read().strip() == WORKER_THREAD:
                    return True
        except FileNotFoundError:  # the thread has just ended
            pass
    return False


def user_time(env, window):
    """The window's _NET_WM_USER_TIME, which SDL moves on with every press the game takes."""
    return property_atoms(env, window, "_NET_WM_USER_TIME")


def expect_no_jump(session, shot, clicks):
    """Fails if the jumper leaves the ground in any screenshot until it has stepped on twice
    after the clicks: the game may be painting a step as they come, and the step after that
    one was painted after the game had seen them."""
    for step in ("first", "second"):
        moved_on = e2e.check_moved_on(e2e.jumper_left(shot, session.layout), [])

        def check(shot, layout):
            if not e2e.check_airborne(shot, layout):
                raise Failure(f"{clicks} made the jumper jump")
            return moved_on(shot, layout)

        shot = session.wait_for(f"the jumper's {step} step after {clicks}", check,
                                e2e.MOVE_TIMEOUT, save_as="no-jump.png")


def play_openbox(session, other, ok):
    env = session.env

    began = time.monotonic()
    session.start_game("title screen under openbox", e2e.check_title,
                       save_as="openbox-title.png")
    layout = session.layout
    actions = property_atoms(env, session.window, ALLOWED_ACTIONS)
    if MINIMIZE_ACTION not in actions or any(a in actions for a in MAXIMIZE_ACTIONS):
        raise Failure(f"the window offers {actions}: expected minimise and no maximise")
    ok("under openbox the fixed-size window offers minimise and no maximise", began)

    began = time.monotonic()
    run(["xdotool", "windowactivate", "--sync", other], env)
    if as_id(session.active_window()) == as_id(session.window):
        raise Failure("the other window did not take the focus")
    session.click(layout.start)
    shot = session.wait_for("playing screen after one click", e2e.check_playing,
                            e2e.SCREEN_TIMEOUT)
    ok("one click on Start in a window without the focus starts a run", began)

    began = time.monotonic()
    # Two quick clicks further apart than the double-click box are two single clicks.
    x, y = e2e.centre(layout.title)
    session.click((x, y, x + 1, y + 1))
    session.click((x + DOUBLE_CLICK_MISS, y, x + DOUBLE_CLICK_MISS + 1, y + 1))
    expect_no_jump(session, shot, f"clicks {DOUBLE_CLICK_MISS} px apart")
    ok(f"clicks {DOUBLE_CLICK_MISS} px apart are no double-click", began)

    began = time.monotonic()
    session.key("space")
    session.wait_for("jumper above the ground after Space", e2e.check_airborne, e2e.JUMP_TIMEOUT)
    ok("Space makes the jumper jump", began)

    began = time.monotonic()
    session.wait_for("FAIL!! on the board", e2e.check_fail, e2e.FAIL_TIMEOUT)
    run(["xdotool", "windowminimize", "--sync", session.window], env)
    # Openbox marks the window hidden once it has unmapped it.
    wait_until("the window minimised",
               lambda: HIDDEN_STATE in property_atoms(env, session.window, "_NET_WM_STATE"),
               e2e.SCREEN_TIMEOUT)
    if not worker_running(session.game.pid):
        raise Failure("the run ended before the window was minimised")
    wait_until("the run's end while the window is minimised",
               lambda: not worker_running(session.game.pid), e2e.OUTCOME_PAUSE_MAX)
    run(["xdotool", "windowactivate", "--sync", session.window], env)
    session.wait_for("title screen after the restore", e2e.check_title, e2e.SCREEN_TIMEOUT,
                     save_as="openbox-restored.png")
    ok("a window minimised during a run shows the title when restored after the run", began)

    began = time.monotonic()
    session.key("space")
    session.wait_for("playing screen after Space on the title", e2e.check_playing,
                     e2e.SCREEN_TIMEOUT, save_as="openbox-space-start.png")
    ok("Space on the title screen starts a run", began)

    began = time.monotonic()
    left, right, top, _ = session.frame_extents()
    x, y = session.origin
    width, _ = session.size
    # The close button ends the title bar on the right.
    button = (x + width + right - top // 2 - 1, y - top // 2)
    run(["xdotool", "mousemove", "--sync", str(button[0]), str(button[1])], env)
    asked = time.monotonic()
    run(["xdotool", "click", e2e.LEFT_BUTTON], env)
    took = session.expect_exit("the frame's close button", asked)
    ok(f"the frame's close button ends the game with status 0 in {took:.2f} s", began)

    began = time.monotonic()
    session.start_game("title screen before the window is destroyed", e2e.check_title)
    asked = time.monotonic()
    run(["xdotool", "windowclose", session.window], env)
    took = session.expect_exit("a window destroyed by another client", asked)
    ok(f"a window destroyed by another client ends the game with status 0 in {took:.2f} s",
       began)


def play_lost_display(session, xvfb, ok):
    """Takes the X server away under a running game."""
    began = time.monotonic()
    # The line is the program's own, in the C locale's words.
    session.env = dict(session.env, LC_ALL="C", LANGUAGE="")
    session.start_game("title screen before the display goes", e2e.check_title)
    xvfb.kill()
    xvfb.wait()
    try:
        status = session.game.wait(timeout=LOST_DISPLAY_TIMEOUT)
    except subprocess.TimeoutExpired:
        raise Failure(f"the game still runs {LOST_DISPLAY_TIMEOUT} s after its display went")
    with open(session.game_log, encoding="utf-8", errors="replace") as log:
        lines = log.read().splitlines()
    if status != 1 or lines != [LOST_DISPLAY_LINE]:
        raise Failure(f"after the display went: status {status}, output {lines}; expected "
                      f"status 1 and {LOST_DISPLAY_LINE!r}")
    ok("a lost display ends the game with one line of its own and status 1", began)


# --- weston -------------------------------------------------------------------------------------


class WaylandSession(e2e.Session):
    """The game as a Wayland client. X11 sees only weston's output window, so the game's
    window is found on it by its title box, and the pointer moves and clicks on weston's
    window."""

    def __init__(self, hoplin, out_dir, x_env, game_env, output, client_size):
        # Screenshots and clicks go through weston's X11 window.
        super().__init__(hoplin, None, out_dir, x_env)
        self.game_env = game_env
        self.output = output
        self.client_size = client_size

    def start_game(self, what, check, save_as=None):
        self.runs += 1
        self.game_log = os.path.join(self.out_dir, f"hoplin-wayland-run{self.runs}.log")
        with open(self.game_log, "wb") as log:
            self.game = desktop.start([self.hoplin], self.marked(self.game_env), log)
        self.layout = e2e.Layout(*self.client_size)
        self.size = self.client_size

        def shown():
            self.origin = self.find_title_box()
            return self.origin is not None

        try:
            wait_until("the game's first frame on weston's output", shown,
                       desktop.STARTUP_TIMEOUT, self.game)
        except Failure as failure:
            path = os.path.join(self.out_dir, "weston-nothing.png")
            self.shoot(self.output).save(path)
            raise Failure(f"{failure}{self.where_to_look(path)}")
        return self.wait_for(what, check, desktop.STARTUP_TIMEOUT, save_as=save_as)

    def find_title_box(self):
        """The client origin on the screen, from the left edge of the title box's grey
        outline, or None. The title's glyphs may cross its other edges, and the Start and
        Exit boxes have outlines alike, but of another height."""
        shot = self.shoot(self.output)
        (x, y), _ = self.output
        left, top, _, bottom = self.layout.title
        height = bottom - top
        for column in range(shot.width - 1):
            run = 0
            for row in range(shot.height):
                if shot.at(column, row) == e2e.GREY:
                    run += 1
                    continue
                first = row - run
                if run == height and shot.at(column + 1, first + 1) == e2e.DARK_GREY:
                    return x + column - left, y + first - top
                run = 0
        return None

    def hover(self, point, origin=None):
        left, top = origin or self.origin
        self.point_at((left + point[0], top + point[1]))

    def click(self, rect, repeat=1, origin=None):
        """Clicks as on X11, then puts the pointer at rest beside the window."""
        super().click(rect, repeat, origin)
        (x, y), (width, height) = self.output
        near, far = x + POINTER_REST_INSET, x + width - POINTER_REST_INSET
        self.point_at((near if self.origin[0] > near else far, y + height - POINTER_REST_INSET))

    def point_at(self, target):
        """Moves weston's pointer to target on the X screen, and waits until weston draws it
        there. Weston's X11 backend follows the X pointer by how far it moves, and learns where
        it is only when it comes in over weston's window; so the pointer first leaves that
        window, and comes back in at target."""
        (x, y), (width, height) = self.output
        outside = (desktop.SCREEN_SIZE[0] - 1, desktop.SCREEN_SIZE[1] - 1)
        if e2e.inside((x, y, x + width, y + height), *outside):
            raise Failure(f"weston's output {self.output} leaves no room beside it")
        for place in (outside, target):
            e2e.Session.hover(self, place, (0, 0))
        region = ((target[0] - POINTER_SLACK, target[1] - POINTER_SLACK),
                  (2 * POINTER_SLACK + 1, 2 * POINTER_SLACK + POINTER_EDGE))
        wait_until(f"weston's pointer at {target}",
                   lambda: pointer_drawn(self.shoot(region)), e2e.SCREEN_TIMEOUT)


def pointer_drawn(shot):
    """Whether shot, of the pointer's place with POINTER_SLACK pixels to spare each way,
    shows the white left edge of a pointer whose tip lies there."""
    return any(
        all(shot.at(x, top + i) == e2e.WHITE for i in range(POINTER_EDGE))
        for x in range(shot.width)
        for top in range(shot.height - POINTER_EDGE + 1)
    )


def play_weston(session, ok):
    began = time.monotonic()
    session.start_game("title screen on weston", e2e.check_title)
    session.shoot(session.output).save(os.path.join(session.out_dir, "weston.png"))
    ok("with only WAYLAND_DISPLAY set, the title screen shows on weston's output", began)

    began = time.monotonic()
    session.click(session.layout.start)
    session.wait_for("playing screen on weston", e2e.check_playing, e2e.SCREEN_TIMEOUT,
                     save_as="weston-playing.png")
    ok("a click on Start through weston starts a run", began)

    began = time.monotonic()
    session.game.send_signal(signal.SIGTERM)
    took = session.expect_exit("SIGTERM on weston", began)
    ok(f"SIGTERM ends the Wayland game with status 0 in {took:.2f} s", began)


def main(argv):
    paths = e2e.script_paths(argv, __doc__, 2)
    if paths is None:
        return 2
    hoplin, out_dir = paths
    ok = e2e.reporter()

    began = time.monotonic()
    processes = []
    sessions = []
    with open(os.path.join(out_dir, "desktops.log"), "wb") as log, \
            tempfile.TemporaryDirectory(prefix="hoplin-e2e-") as own:
        try:
            base_env = desktop.own_environment(own)
            xvfb, env = desktop.start_xvfb(base_env, log)
            processes.append(xvfb)
            processes.append(desktop.start_openbox(env, own, log))
            other, other_window = start_other_window(env, log)
            processes.append(other)
            session = WmSession(hoplin, None, out_dir, env)
            session.logs.append(log.name)
            sessions.append(session)
            play_openbox(session, other_window, ok)
            play_lost_display(session, xvfb, ok)
            client_size = session.size

            xvfb, env = desktop.start_xvfb(base_env, log)
            processes.append(xvfb)
            weston, wayland_env, output = desktop.start_weston(env, own, log,
                                                               size=WESTON_OUTPUT)
            processes.append(weston)
            session = WaylandSession(hoplin, out_dir, env, wayland_env, output, client_size)
            session.logs.append(log.name)
            sessions.append(session)
            play_weston(session, ok)
        except Failure as failure:
            print(f"not ok - {failure}", file=sys.stderr, flush=True)
            return 1
        finally:
            desktop.stop_all([session.game for session in sessions], processes)
    print(f"# all passed in {time.monotonic() - began:.1f} s", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
