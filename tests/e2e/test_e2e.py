#!/usr/bin/env python3
"""Plays the real game under Xvfb: clicks with xdotool and reads screenshots pixel by pixel.

usage: test_e2e.py <hoplin binary> <x11 close helper> <screenshot folder>

Every probe position is computed from the window's measured client size, as the dialog lays
itself out: the dialog base units are the ones that reproduce that size.
"""

import ctypes
import os
import signal
import subprocess
import sys
import time

# --- The screen -----------------------------------------------------------------------------

FIRST_DISPLAY = 110  # lower numbers belong to other users of this machine
LAST_DISPLAY = 199
SCREEN_WIDTH = 1280
SCREEN_HEIGHT = 1024
SCREEN_DEPTH = 24

# --- Colours (R, G, B) --------------------------------------------------------------------------

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
RED = (204, 0, 0)
YELLOW = (229, 209, 0)
DARK_GREY = (38, 38, 38)
GREY = (140, 140, 140)
FACE = (240, 240, 240)
# Fills and outlines reach a 24-bit screen unchanged and are compared exactly; text is
# anti-aliased, so a glyph pixel counts as ink when every channel lies this close to the ink.
INK_TOLERANCE = 60
# Fewer ink pixels than this is a stray edge, not a label.
MIN_INK_PIXELS = 20

# --- The dialog template, in dialog units (x, y, width, height) -------------------------------

DIALOG_SIZE_DLU = (271, 163)
TITLE_DLU = (23, 19, 223, 33)
START_DLU = (62, 99, 50, 21)
EXIT_DLU = (138, 99, 50, 21)
STOP_DLU = (214, 136, 50, 21)
BOARD_DLU = (7, 7, 257, 128)
DLU_PER_BASE_X = 4
DLU_PER_BASE_Y = 8
MAX_BASE_UNIT = 64

# --- The game world ---------------------------------------------------------------------------

WORLD_WIDTH = 500
WORLD_HEIGHT = 100
OBSTACLE_HEIGHT = 10
OBSTACLE_COUNT = 5
# The jumper starts at world x 0 and no obstacle stands left of x 100, so a fresh run shows
# the jumper left of this.
NEAR_LEFT_WORLD_X = 100
# World-to-screen rounding may put an edge this many pixels off the exact mapping.
EDGE_SLACK = 2
# "FAIL!!" is centred on the board: its ink's centre lies within this fraction of the board's
# size from the board's centre.
CENTRE_TOLERANCE = 0.1

# --- Timing (seconds) -----------------------------------------------------------------------------

STARTUP_TIMEOUT = 10.0
SCREEN_TIMEOUT = 5.0  # for a screen that should follow a click at once
JUMP_TIMEOUT = 1.2
STOP_TIMEOUT = 1.5  # below the 2 s outcome pause, so only Stop can bring the title this soon
FAIL_TIMEOUT = 25.0
OUTCOME_PAUSE_MIN = 1.5
OUTCOME_PAUSE_MAX = 3.5
EXIT_TIMEOUT = 1.0
CLEANUP_TIMEOUT = 5.0
POLL_INTERVAL = 0.1  # between attempts to reach a starting X server
COMMAND_TIMEOUT = 10.0
DOUBLE_CLICK_DELAY_MS = "60"
LEFT_BUTTON = "1"
PR_SET_PDEATHSIG = 1  # from <linux/prctl.h>


class Failure(Exception):
    """A check of the game failed; the message says what was seen."""


# --- Processes ---------------------------------------------------------------------------------


def die_with_parent():
    # A ctest timeout kills this script outright; its children must not outlive it. SIGTERM
    # rather than SIGKILL lets Xvfb remove its lock file on the way out.
    ctypes.CDLL(None).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def run(args, env, timeout=COMMAND_TIMEOUT):
    try:
        done = subprocess.run(args, env=env, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure(f"{' '.join(args)} did not finish within {timeout} s")
    if done.returncode != 0:
        raise Failure(
            f"{' '.join(args)} exited with {done.returncode}: "
            f"{done.stderr.decode(errors='replace').strip()}"
        )
    return done.stdout


def stop_process(proc):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(timeout=CLEANUP_TIMEOUT)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def start_xvfb(log):
    """Starts Xvfb on the first free display from FIRST_DISPLAY; returns (process, env)."""
    for number in range(FIRST_DISPLAY, LAST_DISPLAY + 1):
        if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
            continue
        proc = subprocess.Popen(
            ["Xvfb", f":{number}", "-screen", "0", f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x{SCREEN_DEPTH}"]
            + ["-nolisten", "tcp"],
            stdout=log,
            stderr=subprocess.STDOUT,
            preexec_fn=die_with_parent,
        )
        env = dict(os.environ, DISPLAY=f":{number}")
        # The game must pick the X server, not a Wayland compositor or a forced driver.
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("SDL_VIDEODRIVER", None)
        deadline = time.monotonic() + STARTUP_TIMEOUT
        while proc.poll() is None and time.monotonic() < deadline:
            probe = subprocess.run(
                ["xdotool", "getdisplaygeometry"], env=env, capture_output=True
            )
            # Alive after the probe: the answer came from this server, not one that held the
            # number without a lock file.
            if probe.returncode == 0 and proc.poll() is None:
                if probe.stdout.split() != [b"%d" % SCREEN_WIDTH, b"%d" % SCREEN_HEIGHT]:
                    stop_process(proc)
                    raise Failure(f"Xvfb :{number} has screen {probe.stdout!r}")
                return proc, env
            time.sleep(POLL_INTERVAL)
        # Another server may have taken the number since the lock check: try the next one.
        stop_process(proc)
    raise Failure(f"no display in :{FIRST_DISPLAY}..:{LAST_DISPLAY} could be started")


# --- Screenshots ----------------------------------------------------------------------------------


class Shot:
    """A screenshot of the window's client area, with pixels addressed in client coordinates."""

    def __init__(self, ppm, taken_at):
        self.ppm = ppm
        self.taken_at = taken_at
        self.width, self.height, self.pixels = parse_p6(ppm)

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i : i + 3])

    def rows(self, rect):
        """(y, x of the first pixel, the row's samples) for each row of rect."""
        left, top, right, bottom = rect
        for y in range(top, bottom):
            start = 3 * (y * self.width + left)
            yield y, left, self.pixels[start : start + 3 * (right - left)]

    def exact(self, rect, colour):
        """The set of (x, y) in rect that show exactly colour."""
        pattern = bytes(colour)
        found = set()
        for y, left, row in self.rows(rect):
            i = row.find(pattern)
            while i >= 0:
                if i % 3 == 0:
                    found.add((left + i // 3, y))
                    i = row.find(pattern, i + 3)
                else:
                    i = row.find(pattern, i + 1)
        return found

    def ink(self, rect, colour):
        """The (x, y) in rect whose every channel lies within INK_TOLERANCE of colour."""
        (r_lo, g_lo, b_lo), (r_hi, g_hi, b_hi) = ink_bounds(colour)
        found = []
        for y, left, row in self.rows(rect):
            for i in range(0, len(row), 3):
                if (
                    r_lo <= row[i] <= r_hi
                    and g_lo <= row[i + 1] <= g_hi
                    and b_lo <= row[i + 2] <= b_hi
                ):
                    found.append((left + i // 3, y))
        return found

    def save(self, path):
        subprocess.run(
            ["convert", "ppm:-", f"png:{path}"],
            input=self.ppm,
            check=True,
            timeout=COMMAND_TIMEOUT,
        )


def parse_p6(data):
    """Returns (width, height, pixels) of a binary PPM with 8-bit samples."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos : pos + 1].isspace():
            pos += 1
        if data[pos : pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        start = pos
        while not data[pos : pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    magic, width, height, maxval = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
    if magic != b"P6" or maxval != 255:
        raise Failure(f"screenshot is not an 8-bit P6 PPM ({magic!r}, maxval {maxval})")
    # A single whitespace byte separates the header from the samples.
    pixels = data[pos + 1 : pos + 1 + 3 * width * height]
    if len(pixels) != 3 * width * height:
        raise Failure(f"screenshot holds {len(pixels)} bytes for {width}x{height} pixels")
    return width, height, pixels


def ink_bounds(colour):
    low = tuple(max(0, c - INK_TOLERANCE) for c in colour)
    high = tuple(min(255, c + INK_TOLERANCE) for c in colour)
    return low, high


# --- Layout ---------------------------------------------------------------------------------------


def mul_div(number, numerator, denominator):
    """Win32 MulDiv for non-negative arguments: rounds half away from zero."""
    return (2 * number * numerator + denominator) // (2 * denominator)


def base_unit(client_size, dialog_dlu, dlu_per_base, axis):
    for base in range(1, MAX_BASE_UNIT + 1):
        if mul_div(dialog_dlu, base, dlu_per_base) == client_size:
            return base
    raise Failure(f"no base unit gives a client {axis} of {client_size} px")


class Layout:
    """The client-area rectangles (left, top, right, bottom), right and bottom exclusive."""

    def __init__(self, width, height):
        self.base_x = base_unit(width, DIALOG_SIZE_DLU[0], DLU_PER_BASE_X, "width")
        self.base_y = base_unit(height, DIALOG_SIZE_DLU[1], DLU_PER_BASE_Y, "height")
        self.title = self.rect(TITLE_DLU)
        self.start = self.rect(START_DLU)
        self.exit = self.rect(EXIT_DLU)
        self.stop = self.rect(STOP_DLU)
        self.board = self.rect(BOARD_DLU)

    def rect(self, dlu):
        x, y, cx, cy = dlu
        return (
            mul_div(x, self.base_x, DLU_PER_BASE_X),
            mul_div(y, self.base_y, DLU_PER_BASE_Y),
            mul_div(x + cx, self.base_x, DLU_PER_BASE_X),
            mul_div(y + cy, self.base_y, DLU_PER_BASE_Y),
        )

    def board_x(self, world_x):
        """The screen column of world position world_x."""
        left, _, right, _ = self.board
        return left + world_x * (right - left) // WORLD_WIDTH

    def board_y(self, world_y):
        """The screen row of world height world_y."""
        _, top, _, bottom = self.board
        return bottom - world_y * (bottom - top) // WORLD_HEIGHT

    def ground_top(self):
        """The screen row of the obstacles' top edge: everything lower is the ground band."""
        return self.board_y(OBSTACLE_HEIGHT)


def centre(rect):
    left, top, right, bottom = rect
    return (left + right) // 2, (top + bottom) // 2


def inset(rect, by):
    left, top, right, bottom = rect
    return left + by, top + by, right - by, bottom - by


# --- What the screens show --------------------------------------------------------------------
# Each check returns the problems it found; an empty list means the screen is as expected.


def expect(shot, problems, where, x, y, colour):
    seen = shot.at(x, y)
    if seen != colour:
        problems.append(f"{where} at ({x}, {y}) is {seen}, expected {colour}")


def expect_label(shot, problems, name, rect, colour):
    inked = len(shot.ink(rect, colour))
    if inked < MIN_INK_PIXELS:
        problems.append(f"{name} holds {inked} pixels of {colour} ink, expected a label")


def expect_fill(shot, problems, name, rect, fill):
    left, top, right, bottom = rect
    expect(shot, problems, f"{name} fill, top left", left + 2, top + 2, fill)
    expect(shot, problems, f"{name} fill, bottom right", right - 3, bottom - 3, fill)


def check_box(shot, problems, name, rect, ink):
    """A drawn title-screen box: grey outline, dark grey fill and a label in ink."""
    left, top, right, bottom = rect
    cx, cy = centre(rect)
    for where, x, y in (
        ("top edge", (left + cx) // 2, top),
        ("bottom edge", (cx + right) // 2, bottom - 1),
        ("left edge", left, (top + cy) // 2),
        ("right edge", right - 1, (cy + bottom) // 2),
    ):
        expect(shot, problems, f"{name} {where}", x, y, GREY)
    expect_fill(shot, problems, name, rect, DARK_GREY)
    expect_label(shot, problems, name, inset(rect, 1), ink)


def check_frame(shot, layout, problems):
    """What every screen shares: the dialog face around a black board."""
    left, top, right, _ = layout.board
    expect(shot, problems, "dialog face", 1, 1, FACE)
    expect(shot, problems, "dialog face", 1, shot.height - 2, FACE)
    expect(shot, problems, "board corner", left + 1, top + 1, BLACK)
    expect(shot, problems, "board corner", right - 2, top + 1, BLACK)


def check_title(shot, layout):
    problems = []
    check_frame(shot, layout, problems)
    check_box(shot, problems, "title box", layout.title, RED)
    check_box(shot, problems, "Start button", layout.start, YELLOW)
    check_box(shot, problems, "Exit button", layout.exit, YELLOW)
    left, top, right, bottom = layout.stop
    for where, (x, y) in (
        ("centre", centre(layout.stop)),
        ("top left", (left + 1, top + 1)),
        ("bottom right", (right - 2, bottom - 2)),
    ):
        expect(shot, problems, f"Stop area {where} (no button on the title)", x, y, FACE)
    return problems


def check_playing_frame(shot, layout):
    """The playing screen in any state of the run: no title box, and Stop below the board."""
    problems = []
    check_frame(shot, layout, problems)
    title_x, _ = centre(layout.title)
    expect(shot, problems, "where the title box was", title_x, layout.title[1], BLACK)
    if layout.stop[1] < layout.board[3]:
        problems.append(f"Stop area {layout.stop} is not below the board {layout.board}")
    expect_fill(shot, problems, "Stop button", layout.stop, DARK_GREY)
    expect_label(shot, problems, "Stop button", layout.stop, YELLOW)
    return problems


def jumper_pixels(shot, layout):
    """Pixels inside a solid red body: red, and red on all four sides. Obstacles have only a
    one-pixel red edge, so none of theirs qualify."""
    red = shot.exact(layout.board, RED)
    return [
        (x, y)
        for x, y in red
        if {(x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)} <= red
    ]


def obstacle_columns(shot, layout):
    """The grey runs across the middle of the ground band that a red edge closes on both
    sides, as (first, last) column pairs."""
    left, _, right, _ = layout.board
    row = layout.board_y(OBSTACLE_HEIGHT // 2)
    columns = []
    x = left
    while x < right:
        if shot.at(x, row) != GREY:
            x += 1
            continue
        first = x
        while x < right and shot.at(x, row) == GREY:
            x += 1
        # Obstacles stand anywhere up to the far end of the world, so the board's right edge
        # may cut off the last one's right side.
        closed = x == right or shot.at(x, row) == RED
        if shot.at(first - 1, row) == RED and closed:
            columns.append((first, x - 1))
    return columns


def edge_row(shot, x, y, step, limit):
    """From (x, y) inside an obstacle, the first row in direction step that is not grey, or
    None when that row is not the obstacle's red edge."""
    while y != limit and shot.at(x, y) == GREY:
        y += step
    return y if y != limit and shot.at(x, y) == RED else None


def check_playing(shot, layout):
    problems = check_playing_frame(shot, layout)
    _, top, _, bottom = layout.board
    ground_top = layout.ground_top()

    body = jumper_pixels(shot, layout)
    if not body:
        problems.append("no red jumper on the board")
    else:
        body_right = max(x for x, _ in body)
        body_bottom = max(y for _, y in body)
        near_left = layout.board_x(NEAR_LEFT_WORLD_X)
        if body_right > near_left:
            problems.append(f"jumper reaches column {body_right}, expected left of {near_left}")
        if body_bottom < ground_top:
            problems.append(f"jumper's lowest row {body_bottom} is above the ground band")

    columns = obstacle_columns(shot, layout)
    if len(columns) != OBSTACLE_COUNT:
        problems.append(f"{len(columns)} obstacles {columns}, expected {OBSTACLE_COUNT}")
    row = layout.board_y(OBSTACLE_HEIGHT // 2)
    for first, last in columns:
        x = (first + last) // 2
        base = edge_row(shot, x, row, 1, bottom)
        if base is None or base < bottom - 1 - EDGE_SLACK:
            problems.append(f"obstacle at column {x} does not stand on the bottom edge")
        peak = edge_row(shot, x, row, -1, top)
        if peak is None or abs(peak - ground_top) > EDGE_SLACK:
            problems.append(f"obstacle at column {x} has its top at row {peak}, not {ground_top}")
    return problems


def check_airborne(shot, layout):
    # The playing screen first: the title's red glyphs hold solid red pixels up high too.
    problems = check_playing_frame(shot, layout)
    above = layout.ground_top() - EDGE_SLACK
    if not any(y < above for _, y in jumper_pixels(shot, layout)):
        problems.append(f"no jumper pixels above row {above}")
    return problems


def check_running(shot, layout):
    problems = check_playing_frame(shot, layout)
    white = len(shot.ink(layout.board, WHITE))
    if white:
        problems.append(f"the run has already ended: {white} white pixels on the board")
    return problems


def check_fail(shot, layout):
    problems = check_playing_frame(shot, layout)
    left, top, right, bottom = layout.board
    ink = shot.ink(layout.board, WHITE)
    if len(ink) < MIN_INK_PIXELS:
        return problems + [f"{len(ink)} white pixels on the board, expected FAIL!!"]
    ink_x = sum(x for x, _ in ink) / len(ink)
    ink_y = sum(y for _, y in ink) / len(ink)
    board_x, board_y = (left + right) / 2, (top + bottom) / 2
    if (
        abs(ink_x - board_x) > CENTRE_TOLERANCE * (right - left)
        or abs(ink_y - board_y) > CENTRE_TOLERANCE * (bottom - top)
    ):
        problems.append(
            f"white text centred at ({ink_x:.0f}, {ink_y:.0f}), "
            f"expected near the board's centre ({board_x:.0f}, {board_y:.0f})"
        )
    return problems


# --- The session ----------------------------------------------------------------------------------


class Session:
    """One Xvfb display and the game running on it, one process at a time."""

    def __init__(self, hoplin, closer, out_dir, env):
        self.hoplin = hoplin
        self.closer = closer
        self.out_dir = out_dir
        self.env = env
        self.game = None
        self.window = None
        self.origin = None
        self.size = None
        self.layout = None
        self.runs = 0

    def start_game(self):
        self.runs += 1
        log_path = os.path.join(self.out_dir, f"hoplin-run{self.runs}.log")
        with open(log_path, "wb") as log:
            self.game = subprocess.Popen(
                [self.hoplin],
                env=self.env,
                stdout=log,
                stderr=subprocess.STDOUT,
                preexec_fn=die_with_parent,
            )
        try:
            found = run(
                ["xdotool", "search", "--sync", "--name", "^Hoplin$"],
                self.env,
                timeout=STARTUP_TIMEOUT,
            )
        except Failure as failure:
            state = "running" if self.game.poll() is None else f"exited {self.game.returncode}"
            raise Failure(f"no Hoplin window: {failure} (game {state}; see {log_path})")
        windows = found.split()
        if len(windows) != 1:
            raise Failure(f"expected one Hoplin window, found {windows}")
        self.window = windows[0].decode()
        geometry = {}
        for line in run(["xdotool", "getwindowgeometry", "--shell", self.window], self.env).split():
            key, _, value = line.decode().partition("=")
            geometry[key] = int(value)
        self.origin = (geometry["X"], geometry["Y"])
        self.size = (geometry["WIDTH"], geometry["HEIGHT"])
        self.layout = Layout(*self.size)

    def shoot(self):
        taken_at = time.monotonic()
        (width, height), (x, y) = self.size, self.origin
        ppm = run(
            ["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "+repage"]
            + ["-depth", "8", "ppm:-"],
            self.env,
        )
        shot = Shot(ppm, taken_at)
        if (shot.width, shot.height) != self.size:
            raise Failure(f"screenshot is {shot.width}x{shot.height}, expected {self.size}")
        return shot

    def wait_for(self, what, check, timeout, since=None, save_as=None):
        """Takes screenshots until check finds no problem, and fails with its last findings
        once timeout seconds from since (default: now) have passed. The last screenshot, the
        deciding one, goes to save_as in the output folder."""
        deadline = (time.monotonic() if since is None else since) + timeout
        while True:
            if self.game.poll() is not None:
                raise Failure(f"{what}: the game exited with {self.game.returncode}")
            shot = self.shoot()
            problems = check(shot, self.layout)
            if not problems or time.monotonic() > deadline:
                break
        saved = ""
        if save_as:
            path = os.path.join(self.out_dir, save_as)
            shot.save(path)
            saved = f" (screenshot: {path})"
        if problems:
            raise Failure(f"{what} not seen in time{saved}:\n  " + "\n  ".join(problems))
        return shot

    def click(self, rect, repeat=1):
        x, y = centre(rect)
        run(
            ["xdotool", "mousemove", "--sync", str(self.origin[0] + x), str(self.origin[1] + y)]
            + ["click", "--repeat", str(repeat), "--delay", DOUBLE_CLICK_DELAY_MS, LEFT_BUTTON],
            self.env,
        )

    def expect_exit(self, how, since):
        """Fails unless the game ends with status 0 within EXIT_TIMEOUT of since; returns
        how long it took."""
        try:
            status = self.game.wait(timeout=max(0.0, since + EXIT_TIMEOUT - time.monotonic()))
        except subprocess.TimeoutExpired:
            raise Failure(f"{how}: the game still runs {EXIT_TIMEOUT} s later")
        if status != 0:
            raise Failure(f"{how}: the game exited with status {status}, expected 0")
        return time.monotonic() - since


def play(session):
    passed = []

    def ok(name, began):
        passed.append(name)
        print(f"ok {len(passed)} - {name} ({time.monotonic() - began:.2f} s)", flush=True)

    began = time.monotonic()
    session.start_game()
    layout = session.layout
    print(
        f"# window {session.window} at {session.origin}, client {session.size}, "
        f"base units {layout.base_x}x{layout.base_y}, board {layout.board}",
        flush=True,
    )
    session.wait_for("title screen", check_title, STARTUP_TIMEOUT, save_as="title.png")
    ok("title screen with title box, Start and Exit, no Stop", began)

    began = time.monotonic()
    session.click(layout.start)
    session.wait_for("playing screen", check_playing, SCREEN_TIMEOUT, save_as="playing.png")
    ok("Start shows the jumper, five obstacles and Stop", began)

    began = time.monotonic()
    session.click(layout.title, repeat=2)
    session.wait_for("jumper above the ground", check_airborne, JUMP_TIMEOUT, save_as="jump.png")
    ok("a double-click lifts the jumper above the obstacles' height", began)

    began = time.monotonic()
    # The title also comes back by itself after a run ends; only a run still going shows
    # that it is Stop that brings it.
    running = session.wait_for("the run still going before Stop", check_running, 0)
    session.click(layout.stop)
    session.wait_for(
        "title screen after Stop",
        check_title,
        STOP_TIMEOUT,
        since=running.taken_at,
        save_as="title-after-stop.png",
    )
    ok("Stop brings the title back at once", began)

    began = time.monotonic()
    session.click(layout.start)
    session.wait_for("playing screen after the second Start", check_playing, SCREEN_TIMEOUT)
    failed = session.wait_for("FAIL!! on the board", check_fail, FAIL_TIMEOUT, save_as="fail.png")
    back = session.wait_for(
        "title screen after FAIL!!",
        check_title,
        OUTCOME_PAUSE_MAX,
        since=failed.taken_at,
        save_as="title-after-fail.png",
    )
    pause = back.taken_at - failed.taken_at
    if pause < OUTCOME_PAUSE_MIN:
        raise Failure(f"the title came back {pause:.2f} s after FAIL!!, expected about 2 s")
    ok(f"a hit shows FAIL!!, and the title returns {pause:.2f} s later", began)

    began = time.monotonic()
    session.click(layout.exit)
    took = session.expect_exit("Exit", began)
    ok(f"Exit ends the game with status 0 in {took:.2f} s", began)

    began = time.monotonic()
    session.start_game()
    session.wait_for("title screen of the second game", check_title, STARTUP_TIMEOUT)
    asked = time.monotonic()
    run([session.closer, session.window], session.env)
    took = session.expect_exit("WM_DELETE_WINDOW", asked)
    ok(f"the window's close request ends the game with status 0 in {took:.2f} s", began)


def main(argv):
    if len(argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    hoplin, closer, out_dir = (os.path.abspath(arg) for arg in argv[1:])
    os.makedirs(out_dir, exist_ok=True)
    began = time.monotonic()
    xvfb = None
    session = None
    with open(os.path.join(out_dir, "xvfb.log"), "wb") as xvfb_log:
        try:
            xvfb, env = start_xvfb(xvfb_log)
            print(f"# Xvfb on {env['DISPLAY']}, screenshots in {out_dir}", flush=True)
            session = Session(hoplin, closer, out_dir, env)
            play(session)
        except Failure as failure:
            print(f"not ok - {failure}", file=sys.stderr, flush=True)
            return 1
        finally:
            if session is not None and session.game is not None:
                stop_process(session.game)
            if xvfb is not None:
                stop_process(xvfb)
    print(f"# all passed in {time.monotonic() - began:.1f} s", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
