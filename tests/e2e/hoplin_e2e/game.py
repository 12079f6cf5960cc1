"""The real game on a desktop: started, found on the screen, driven, looked at and ended."""

import os
import subprocess
import time

from Xlib import error

from . import desktop, screens
from .screens import Layout, Shot

SCREEN_TIMEOUT = 5.0  # for a screen that should follow an action at once
# For what a window manager does: a busy machine may keep it waiting, and the wait ends as soon
# as it is done.
WINDOW_MANAGER_TIMEOUT = 30.0
JUMP_TIMEOUT = 1.2
MOVE_TIMEOUT = 1.0  # for the jumper to step on: a few of the game's 0.3 s steps
STOP_TIMEOUT = 1.5  # below the 2 s outcome pause, so only Stop can bring the title this soon
OUTCOME_TIMEOUT = 25.0  # a run without a jump ends in a hit long before this
OUTCOME_PAUSE_MIN = 1.5
OUTCOME_PAUSE_MAX = 3.5
EXIT_TIMEOUT = 1.0
# What the game says when its display goes, X server or compositor, in the C locale's words,
# and how long it may take to notice.
LOST_DISPLAY_LINE = "hoplin: lost the connection to the display"
LOST_DISPLAY_TIMEOUT = 5.0
# How much of the game's log a failure repeats.
GAME_LOG_LINES = 5
# The environment variable that marks the processes of one game, to find any it leaves.
GAME_MARK = "HOPLIN_E2E_GAME"
# The About box is centred on the main window; halving an odd difference may put it this
# many pixels off.
CENTRE_SLACK = 1
LEFT_BUTTON, RIGHT_BUTTON = 1, 3
# The game's worker thread, while a run goes on, as /proc names it.
WORKER_THREAD = "hoplin-worker"

# Weston draws the pointer into its output: the pointer of every client here is white down
# its left edge for at least this many pixels from its tip, which lies within this many
# pixels of where the pointer is.
POINTER_EDGE = 8
POINTER_SLACK = 2
# Between clicks weston's pointer waits this far inside one of the bottom corners of its
# output, on the desktop beside the window, out of the screenshots' way.
POINTER_REST_INSET = 40


class Artifacts:
    """The folder that keeps what a failed test leaves for diagnosis: screenshots and the logs
    of the game and of the desktop's programs. A passing test's folder is removed."""

    def __init__(self, folder):
        self.folder = folder
        self.logs = []
        self.keep = False
        # What takes a screenshot of the whole screen when a test fails; set by the desktop.
        self.snapshot = None

    def path(self, name):
        return os.path.join(self.folder, name)

    def log(self, name):
        """A log file of the folder, open for writing, that failures name."""
        path = self.path(name)
        self.logs.append(path)
        return open(path, "wb")

    def where_to_look(self, screenshot=None):
        """What a failure names: the screenshot, the logs, and the game's last words, which
        a run elsewhere shows no file of."""
        files = ([f"screenshot {screenshot}"] if screenshot else []) + \
            [f"log {path}" for path in self.logs]
        said = ""
        for path in self.logs:
            if os.path.basename(path).startswith("game") and os.path.exists(path):
                with open(path, encoding="utf-8", errors="replace") as log:
                    last = log.read().splitlines()[-GAME_LOG_LINES:]
                said += "".join(f"\n  {os.path.basename(path)}: {line}" for line in last)
        return (f" ({'; '.join(files)})" if files else "") + said


class X11Desktop:
    """The game's windows on an X display, with or without a window manager."""

    def __init__(self, screen, env, manager=None):
        self.screen = screen
        self.env = env
        self.manager = manager
        self.managed = manager is not None
        # A compositing window manager on Xvfb shows a window's new pixels when it next
        # repaints the screen, which with no display's vertical blank to drive it it may put
        # off until the pointer moves; so a window is read from its own pixels, which are
        # what the game drew.
        self.composited = manager is not None and manager.composites

    def find(self, game):
        """Whether the game's main window is there; it becomes game.window."""
        found = [w for w, name in self.screen.windows_of(game.proc.pid).items()
                 if name == screens.MAIN_CAPTION and self.screen.viewable(w)]
        game.window = found[0] if len(found) == 1 else None
        return game.window is not None

    def locate(self, game):
        """Where the game's main window shows: a window manager may still be placing it."""
        game.origin, game.size = self.screen.geometry(game.window)

    def shoot(self, game, region):
        if region is None and self.composited:
            return self.screen.shoot(((0, 0), game.size), window=game.window)
        return self.screen.shoot(region or (game.origin, game.size))

    def point_at(self, point):
        if self.screen.pointer() != point:
            self.screen.move(point)

    def after_click(self, game):
        pass

    def whole_screen(self):
        return (0, 0), desktop.SCREEN_SIZE


class WestonDesktop(X11Desktop):
    """The game as a Wayland client of weston, whose output is a window on the X display.
    X11 sees only that window, so the game's window is found on it by its title box, and the
    pointer moves and clicks on weston's window."""

    def __init__(self, screen, env, output, client_size):
        super().__init__(screen, env)
        self.output = output
        self.client_size = client_size

    def find(self, game):
        """Whether the game's window shows on weston's output; it has no X window."""
        game.size = self.client_size
        game.layout = Layout(*self.client_size)
        game.origin = self.find_title_box(game.layout)
        return game.origin is not None

    def locate(self, game):
        pass

    def shoot(self, game, region):
        return self.screen.shoot(region or (game.origin, game.size))

    def find_title_box(self, layout):
        """The client origin on the screen, from the left edge of the title box's grey
        outline, or None. The title's glyphs may cross its other edges, and the Start and
        Exit boxes have outlines alike, but of another height."""
        shot = Shot(self.screen.shoot(self.output), time.monotonic())
        (x, y), _ = self.output
        left, top, _, bottom = layout.title
        height = bottom - top
        for column in range(shot.width - 1):
            run = 0
            for row in range(shot.height):
                if shot.at(column, row) == screens.GREY:
                    run += 1
                    continue
                first = row - run
                if run == height and shot.at(column + 1, first + 1) == screens.DARK_GREY:
                    return x + column - left, y + first - top
                run = 0
        return None

    def point_at(self, target):
        """Moves weston's pointer to target on the X screen, and waits until weston draws it
        there. Weston's X11 backend follows the X pointer by how far it moves, and learns where
        it is only when it comes in over weston's window; so the pointer first leaves that
        window, and comes back in at target."""
        (x, y), (width, height) = self.output
        outside = (desktop.SCREEN_SIZE[0] - 1, desktop.SCREEN_SIZE[1] - 1)
        assert not screens.inside((x, y, x + width, y + height), *outside), \
            f"weston's output {self.output} leaves no room beside it"
        for place in (outside, target):
            self.screen.move(place)
        region = ((target[0] - POINTER_SLACK, target[1] - POINTER_SLACK),
                  (2 * POINTER_SLACK + 1, 2 * POINTER_SLACK + POINTER_EDGE))
        desktop.wait_until(f"weston's pointer at {target}",
                           lambda: pointer_drawn(Shot(self.screen.shoot(region), 0)),
                           SCREEN_TIMEOUT)

    def after_click(self, game):
        """Puts the pointer at rest beside the window."""
        (x, y), (width, height) = self.output
        near, far = x + POINTER_REST_INSET, x + width - POINTER_REST_INSET
        self.point_at((near if game.origin[0] > near else far, y + height - POINTER_REST_INSET))

    def whole_screen(self):
        return self.output


def pointer_drawn(shot):
    """Whether shot, of the pointer's place with POINTER_SLACK pixels to spare each way,
    shows the white left edge of a pointer whose tip lies there."""
    return any(all(shot.at(x, top + i) == screens.WHITE for i in range(POINTER_EDGE))
               for x in range(shot.width) for top in range(shot.height - POINTER_EDGE + 1))


class Game:
    """One run of the hoplin binary on a desktop."""

    def __init__(self, binary, desktop_, env, artifacts, number, args=()):
        self.desktop = desktop_
        self.screen = desktop_.screen
        self.artifacts = artifacts
        self.mark = f"{os.getpid()}-{id(self)}"
        self.env = dict(env, **{GAME_MARK: self.mark})
        self.log_name = f"game-{number}.log"
        self.window = None
        self.origin = self.size = self.layout = None
        # The status the test expects the game to end with, which the fixture checks.
        self.expected_status = 0
        with artifacts.log(self.log_name) as log:
            self.proc = desktop.start([binary, *args], self.env, log)

    @property
    def log_path(self):
        return self.artifacts.path(self.log_name)

    def output(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as log:
            return log.read().splitlines()

    def where_to_look(self, screenshot=None):
        return self.artifacts.where_to_look(screenshot)

    def show(self, check=screens.check_title, save_as=None):
        """Waits for the game's window and its first screen, which check must find."""
        desktop.wait_until("the game's window", lambda: self.desktop.find(self),
                           desktop.STARTUP_TIMEOUT, self.proc, self.where_to_look())

        def locate():
            self.desktop.locate(self)
            self.layout = Layout(*self.size)

        return self.wait_for("the game's first screen", check, desktop.STARTUP_TIMEOUT,
                             save_as=save_as, before_each=locate)

    # --- Looking --------------------------------------------------------------------------

    def shoot(self, region=None):
        """A screenshot of region, (origin, size) on the screen; by default the main window."""
        taken_at = time.monotonic()
        return Shot(self.desktop.shoot(self, region), taken_at)

    def wait_for(self, what, check, timeout, since=None, save_as=None, region=None,
                 before_each=None):
        """Takes screenshots of region (default: the main window) until check finds no
        problem, and fails with its last findings once timeout seconds from since (default:
        now) have passed. before_each, if given, runs before every screenshot. The deciding
        screenshot goes to save_as in the artifacts' folder, and on a failure always."""
        deadline = (time.monotonic() if since is None else since) + timeout
        while True:
            if self.proc.poll() is not None:
                raise AssertionError(f"{what}: the game exited with {self.proc.returncode}"
                                     f"{self.where_to_look()}")
            if before_each is not None:
                before_each()
            try:
                shot = self.shoot(region)
                problems = check(shot, self.layout)
            except error.BadMatch:
                # A window manager may unmap the window for a moment, to reparent it.
                shot, problems = None, [f"the region {region or 'of the main window'} is not "
                                        "on the screen"]
            if not problems or time.monotonic() > deadline:
                break
        saved = self.artifacts.path(save_as or "failed.png") \
            if shot is not None and (save_as or problems) else None
        if saved:
            shot.save(saved)
        if problems:
            raise AssertionError(f"{what} not seen in time{self.where_to_look(saved)}:\n  "
                                 + "\n  ".join(problems))
        return shot

    def windows(self):
        """{window: name} of the game's windows."""
        return self.screen.windows_of(self.proc.pid)

    def about_window(self, what):
        """Waits for the game's one other window, the About box, on the screen, checks its
        caption, and answers it."""
        def others():
            if self.proc.poll() is not None:
                raise AssertionError(f"{what}: the game exited with {self.proc.returncode}")
            return {w: n for w, n in self.windows().items()
                    if w != self.window and self.screen.viewable(w)}

        found = desktop.wait_until(what, others, SCREEN_TIMEOUT)
        assert len(found) == 1, f"{what}: expected one window besides the main one, found {found}"
        ((window, name),) = found.items()
        assert name == screens.ABOUT_CAPTION, \
            f"{what}: the new window is called {name!r}, expected {screens.ABOUT_CAPTION!r}"
        return window

    def wait_for_about(self, what):
        """Waits for the About box, as about_window, checks its size and that it is centred
        on the main window, and answers (window, (origin, size))."""
        window = self.about_window(what)
        origin, size = self.screen.geometry(window)
        assert size == self.layout.about_size, \
            f"{what}: the About box is {size}, expected {self.layout.about_size}"
        for axis in range(2):
            centred = (2 * self.origin[axis] + self.size[axis] - size[axis]) // 2
            assert abs(origin[axis] - centred) <= CENTRE_SLACK, \
                f"{what}: the About box is at {origin}, not centred on the main window at " \
                f"{self.origin} of {self.size}"
        return window, (origin, size)

    def wait_for_no_about(self, what):
        desktop.wait_until(f"{what}: the About box gone",
                           lambda: screens.ABOUT_CAPTION not in self.windows().values(),
                           SCREEN_TIMEOUT)

    def in_client(self, region):
        """The rect that region, (origin, size) on the screen, covers in the main window's
        client coordinates."""
        (x, y), (width, height) = region
        left, top = x - self.origin[0], y - self.origin[1]
        return left, top, left + width, top + height

    def around(self, region):
        """The smallest region that holds the main window and region."""
        (x, y), (width, height) = region
        left, top = min(x, self.origin[0]), min(y, self.origin[1])
        right = max(x + width, self.origin[0] + self.size[0])
        bottom = max(y + height, self.origin[1] + self.size[1])
        return (left, top), (right - left, bottom - top)

    # --- Driving --------------------------------------------------------------------------

    def hover(self, point, origin=None):
        """Moves the pointer to point, in the client coordinates of the window at origin
        (default: the main window, where it is now: a window manager may have placed it
        after its first screen showed)."""
        if origin is None:
            self.desktop.locate(self)
            origin = self.origin
        left, top = origin
        self.desktop.point_at((left + point[0], top + point[1]))

    def click(self, rect, repeat=1, origin=None):
        """Clicks the centre of rect, in the client coordinates of the window at origin
        (default: the main window)."""
        self.hover(screens.centre(rect), origin)
        self.screen.click(LEFT_BUTTON, repeat)
        self.desktop.after_click(self)

    def right_click(self, point):
        self.hover(point)
        self.screen.click(RIGHT_BUTTON)

    def key(self, name):
        """Presses and releases a key, or keys such as alt+space, in the focused window."""
        self.screen.key(name)

    def open_menu(self, point=None):
        """Opens the system menu with a right-click at point (default: the layout's menu
        point) and answers it as measured."""
        point = point or self.layout.menu_point
        self.right_click(point)
        shot = self.wait_for("the system menu", screens.check_menu(point), SCREEN_TIMEOUT)
        menu, _ = screens.find_menu(shot, point)
        return menu

    def open_about(self, placed_by_game=True):
        """Opens the About box through the system menu; answers (window, region). Without a
        window manager the game itself centres the box on its main window, which is checked
        unless placed_by_game is false."""
        self.open_menu()
        self.key("a")
        if not placed_by_game:
            window = self.about_window("the About box after A")
            return window, self.screen.geometry(window)
        return self.wait_for_about("the About box after A")

    def start_run(self):
        """Clicks Start and waits for the run's first screen; answers it."""
        self.click(self.layout.start)
        return self.wait_for("playing screen", screens.check_playing, SCREEN_TIMEOUT)

    def steps_on(self, shot, after, *also):
        """Waits for the jumper to step on twice after something that must not stop the run,
        and answers the last screenshot. The game may be painting a step as that comes; the
        step after that one was painted after the game saw it."""
        for step in ("first", "second"):
            shot = self.wait_for(f"the jumper's {step} step after {after}",
                                 screens.check_moved_on(screens.jumper_left(shot, self.layout),
                                                        also),
                                 MOVE_TIMEOUT)
        return shot

    def worker_running(self):
        """Whether the game's worker thread, which a run lives on, is there."""
        for thread in os.listdir(f"/proc/{self.proc.pid}/task"):
            try:
                with open(f"/proc/{self.proc.pid}/task/{thread}/comm", encoding="utf-8") as comm:
                    if comm.read().strip() == WORKER_THREAD:
                        return True
            except FileNotFoundError:  # the thread has just ended
                pass
        return False

    # --- Ending ---------------------------------------------------------------------------

    def expect_exit(self, how, since, status=0, timeout=EXIT_TIMEOUT):
        """Fails unless the game ends with status within timeout of since, leaving no process
        of its own behind; answers how long it took."""
        self.expected_status = status
        try:
            ended = self.proc.wait(timeout=max(0.0, since + timeout - time.monotonic()))
        except subprocess.TimeoutExpired:
            raise AssertionError(f"{how}: the game still runs {timeout} s later")
        assert ended == status, \
            f"{how}: the game exited with status {ended}, expected {status}{self.where_to_look()}"
        left = self.leftovers()
        assert not left, f"{how}: the game left {left} running"
        return time.monotonic() - since

    def leftovers(self):
        """The processes that carry the mark of this game."""
        mark = f"{GAME_MARK}={self.mark}".encode() + b"\0"
        found = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{pid}/environ", "rb") as environ:
                    if mark in environ.read():
                        with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
                            found.append(cmdline.read().replace(b"\0", b" ").decode().strip())
            except OSError:  # gone meanwhile, or not ours to read
                pass
        return found
