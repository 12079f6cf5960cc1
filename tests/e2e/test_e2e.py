#!/usr/bin/env python3
"""Plays the real game under Xvfb: clicks with xdotool and reads screenshots pixel by pixel.

usage: test_e2e.py <hoplin binary> <x11 close helper> <screenshot folder>

Every probe position is computed from the window's measured client size, as the dialog lays
itself out: the dialog base units are the ones that reproduce that size. The About box shares
those units; the system menu's size follows its font, so it is measured along its border.
"""

import os
import subprocess
import sys
import tempfile
import time

import desktop
from desktop import COMMAND_TIMEOUT, POLL_INTERVAL, STARTUP_TIMEOUT, Failure, run, stop_process

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
# Fewer pixels than this of a colour is a stray edge, not a label or a part of a picture.
MIN_INK_PIXELS = 20
# "OK" is two small glyphs: fewer of its darkest pixels than this is no label.
MIN_OK_INK_PIXELS = 8
# Centred text, such as "FAIL!!" on the board: its ink's centre lies within this fraction of
# its box's size from the box's centre.
CENTRE_TOLERANCE = 0.1

# --- The system menu and the About box -------------------------------------------------------

MENU_BORDER = (160, 160, 160)
MENU_FACE = (242, 242, 242)
MENU_SEPARATOR = (215, 215, 215)
MENU_HIGHLIGHT = (145, 201, 247)
ABOUT_CAPTION = "Hoplinのﾊﾞｰｼﾞｮﾝ情報"
ICON_SIZE = 32  # the icon keeps its own size, whatever its control's
ICON_RED = (255, 0, 0)
ICON_GREY = (128, 128, 128)
BUTTON_FACE = (225, 225, 225)
DEFAULT_BUTTON_BORDER = (0, 120, 215)
FOCUS_INSET = 3  # the dotted focus frame's distance inside the button's edge
# The About box is centred on the main window; halving an odd difference may put it this
# many pixels off.
CENTRE_SLACK = 1

# --- The dialog templates, in dialog units (x, y, width, height) ------------------------------

DIALOG_SIZE_DLU = (271, 163)
TITLE_DLU = (23, 19, 223, 33)
START_DLU = (62, 99, 50, 21)
EXIT_DLU = (138, 99, 50, 21)
STOP_DLU = (214, 136, 50, 21)
BOARD_DLU = (7, 7, 257, 128)
ABOUT_SIZE_DLU = (235, 55)
ABOUT_ICON_DLU = (11, 17, 20, 20)
ABOUT_TEXT_DLU = (40, 10, 119, 8)
ABOUT_OK_DLU = (178, 7, 50, 14)
# Where the tests right-click to open the system menu: on the title box and the board, with
# room right of and below it for the whole menu.
MENU_POINT_DLU = (30, 40)

# --- The game world ---------------------------------------------------------------------------

WORLD_WIDTH = 500
WORLD_HEIGHT = 100
OBSTACLE_HEIGHT = 10
OBSTACLE_COUNT = 5
# The jumper starts at world x 0 and no obstacle stands left of x 100, so a fresh run shows
# the jumper left of this. At one 0.3 s step of 10 units, a run thus lasts at least 2.4 s
# before it can end in a hit, which is the time the checks of a running game have.
NEAR_LEFT_WORLD_X = 100
# World-to-screen rounding may put an edge this many pixels off the exact mapping.
EDGE_SLACK = 2

# --- Timing (seconds) -----------------------------------------------------------------------------

SCREEN_TIMEOUT = 5.0  # for a screen that should follow a click at once
JUMP_TIMEOUT = 1.2
MOVE_TIMEOUT = 1.0  # for the jumper to step on: a few of the game's 0.3 s steps
STOP_TIMEOUT = 1.5  # below the 2 s outcome pause, so only Stop can bring the title this soon
FAIL_TIMEOUT = 25.0
OUTCOME_PAUSE_MIN = 1.5
OUTCOME_PAUSE_MAX = 3.5
EXIT_TIMEOUT = 1.0
DOUBLE_CLICK_DELAY_MS = "60"
LEFT_BUTTON = "1"
RIGHT_BUTTON = "3"
# How much of the game's log a failure repeats.
GAME_LOG_LINES = 5
# The environment variable that marks the processes of one game, to find any it leaves.
GAME_MARK = "HOPLIN_E2E_GAME"


# --- Scripts ---------------------------------------------------------------------------------


def script_paths(argv, usage, count):
    """The script's count path arguments, absolute, with the last (the screenshot folder)
    made; None, after printing usage, when there are not count of them."""
    if len(argv) != count + 1:
        print(usage, file=sys.stderr)
        return None
    paths = [os.path.abspath(arg) for arg in argv[1:]]
    os.makedirs(paths[-1], exist_ok=True)
    return paths


def reporter():
    """An ok(name, began) that numbers and prints each check that passed."""
    passed = []

    def ok(name, began):
        passed.append(name)
        print(f"ok {len(passed)} - {name} ({time.monotonic() - began:.2f} s)", flush=True)

    return ok


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

    def changes(self, reference, covered=None):
        """The (x, y) whose pixel differs from reference's, outside the rect covered."""
        found = []
        for y in range(self.height):
            start, end = 3 * y * self.width, 3 * (y + 1) * self.width
            if self.pixels[start:end] == reference.pixels[start:end]:
                continue
            for x in range(self.width):
                i = start + 3 * x
                if self.pixels[i : i + 3] != reference.pixels[i : i + 3] and not (
                    covered and inside(covered, x, y)
                ):
                    found.append((x, y))
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


class Layout:
    """The client-area rectangles (left, top, right, bottom), right and bottom exclusive."""

    def __init__(self, width, height):
        self.base_x, self.base_y = desktop.base_units((width, height), DIALOG_SIZE_DLU)
        self.title = self.rect(TITLE_DLU)
        self.start = self.rect(START_DLU)
        self.exit = self.rect(EXIT_DLU)
        self.stop = self.rect(STOP_DLU)
        self.board = self.rect(BOARD_DLU)
        self.menu_point = self.rect(MENU_POINT_DLU + (0, 0))[:2]
        # The About box's size, and its controls in its own client coordinates.
        self.about_size = self.rect((0, 0) + ABOUT_SIZE_DLU)[2:]
        icon_left, icon_top, _, _ = self.rect(ABOUT_ICON_DLU)
        self.about_icon = (icon_left, icon_top, icon_left + ICON_SIZE, icon_top + ICON_SIZE)
        self.about_text = self.rect(ABOUT_TEXT_DLU)
        self.about_ok = self.rect(ABOUT_OK_DLU)

    def rect(self, dlu):
        return desktop.dialog_rect(dlu, (self.base_x, self.base_y))

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


def inside(rect, x, y):
    left, top, right, bottom = rect
    return left <= x < right and top <= y < bottom


def overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def bounds(points):
    """The smallest rect holding all points."""
    xs = [x for x, _ in points]
    ys = [y for _, y in points]
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


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
    ink = shot.ink(layout.board, WHITE)
    if len(ink) < MIN_INK_PIXELS:
        return problems + [f"{len(ink)} white pixels on the board, expected FAIL!!"]
    expect_centred(problems, "white text", ink, "the board", layout.board)
    return problems


def expect_centred(problems, name, ink, where, rect):
    left, top, right, bottom = rect
    ink_x = sum(x for x, _ in ink) / len(ink)
    ink_y = sum(y for _, y in ink) / len(ink)
    rect_x, rect_y = (left + right) / 2, (top + bottom) / 2
    if (
        abs(ink_x - rect_x) > CENTRE_TOLERANCE * (right - left)
        or abs(ink_y - rect_y) > CENTRE_TOLERANCE * (bottom - top)
    ):
        problems.append(
            f"{name} centred at ({ink_x:.0f}, {ink_y:.0f}), "
            f"expected near {where}'s centre ({rect_x:.0f}, {rect_y:.0f})"
        )


# --- The system menu and the About box ------------------------------------------------------------


class Menu:
    """An open system menu as measured on a screenshot: its rect, the row of its separator
    line, and the areas between the border and that line, which hold its two entries."""

    ENTRIES = ("Close", "About")

    def __init__(self, rect, separator):
        left, top, right, bottom = rect
        self.rect = rect
        self.size = (right - left, bottom - top)
        self.separator = separator
        self.entries = {
            "Close": (left + 1, top + 1, right - 1, separator),
            "About": (left + 1, separator + 1, right - 1, bottom - 1),
        }


def walk(shot, x, y, dx, dy, colour):
    """The first position from (x, y) on in steps of (dx, dy) that is off the screenshot or
    not colour."""
    while 0 <= x < shot.width and 0 <= y < shot.height and shot.at(x, y) == colour:
        x, y = x + dx, y + dy
    return x, y


def find_menu(shot, corner):
    """The menu whose top-left corner is at corner: (Menu or None, problems)."""
    problems = []
    left, top = corner
    if shot.at(left, top) != MENU_BORDER:
        return None, [f"no menu border at ({left}, {top}): {shot.at(left, top)}"]
    # The top and left edges end where the border colour does; the other two close the frame
    # there, or the corner belongs to no menu.
    right, _ = walk(shot, left, top, 1, 0, MENU_BORDER)
    _, bottom = walk(shot, left, top, 0, 1, MENU_BORDER)
    rect = (left, top, right, bottom)
    for name, edge in (
        ("right", (right - 1, top, right, bottom)),
        ("bottom", (left, bottom - 1, right, bottom)),
    ):
        missing = (edge[2] - edge[0]) * (edge[3] - edge[1]) - len(shot.exact(edge, MENU_BORDER))
        if missing:
            problems.append(f"menu {rect}: {missing} pixels of its {name} edge are not its border")
    if problems or right - left < 3 or bottom - top < 3:
        return None, problems or [f"menu {rect} has no inside"]
    expect(shot, problems, "menu face, top left", left + 1, top + 1, MENU_FACE)
    expect(shot, problems, "menu face, bottom right", right - 2, bottom - 2, MENU_FACE)

    lines = sorted(
        y
        for y in range(top + 1, bottom - 1)
        if 2 * len(shot.exact((left + 1, y, right - 1, y + 1), MENU_SEPARATOR)) > right - left - 2
    )
    if len(lines) != 1:
        return None, problems + [f"menu {rect} has separator lines at rows {lines}, expected one"]
    menu = Menu(rect, lines[0])
    ink = {name: shot.ink(menu.entries[name], BLACK) for name in Menu.ENTRIES}
    for name in Menu.ENTRIES:
        if len(ink[name]) < MIN_INK_PIXELS:
            problems.append(
                f"menu {rect}: the {name} entry {menu.entries[name]} holds {len(ink[name])} "
                f"pixels of ink, expected its text"
            )
    if not problems:
        close_end = max(x for x, _ in ink["Close"])
        about_end = max(x for x, _ in ink["About"])
        # Only Close has a shortcut, Alt+F4, and it stands at the right end of its entry.
        if close_end <= about_end:
            problems.append(
                f"menu {rect}: Close's text ends at column {close_end}, the About entry's at "
                f"{about_end}: no right-aligned shortcut"
            )
    return menu, problems


def check_menu(corner, size=None, lit=None):
    """A check for the menu at corner: of the given size, if any, with the entry lit (or
    none) highlighted."""

    def check(shot, _layout):
        menu, problems = find_menu(shot, corner)
        if menu is None:
            return problems
        if size is not None and menu.size != size:
            problems.append(f"menu {menu.rect} is {menu.size}, expected {size}")
        for name, area in menu.entries.items():
            lit_pixels = len(shot.exact(area, MENU_HIGHLIGHT))
            area_pixels = (area[2] - area[0]) * (area[3] - area[1])
            # The highlight fills the entry but for its text and a margin round it.
            if name == lit and 2 * lit_pixels < area_pixels:
                problems.append(
                    f"{name} entry {area} has only {lit_pixels} of {area_pixels} pixels "
                    f"highlighted, expected it lit"
                )
            elif name != lit and lit_pixels:
                problems.append(f"{name} entry {area} has {lit_pixels} highlighted pixels")
        return problems

    return check


def check_menu_gone(rect):
    """A check that no pixel of the menu's own colours is left in rect."""

    def check(shot, _layout):
        left = sum(len(shot.exact(rect, colour)) for colour in (MENU_BORDER, MENU_FACE))
        return [f"{left} pixels of the menu's border and face left in {rect}"] if left else []

    return check


def check_unchanged(reference, covered=None):
    """A check that the screen is the reference screenshot again, outside the rect covered."""

    def check(shot, _layout):
        changed = shot.changes(reference, covered)
        if not changed:
            return []
        return [f"{len(changed)} pixels differ from before, within {bounds(changed)}"]

    return check


def check_about(shot, layout):
    """The About box's client area: face, icon, text and the focused default OK button."""
    problems = []
    width, height = layout.about_size
    expect(shot, problems, "About box face", 1, 1, FACE)
    expect(shot, problems, "About box face", width - 2, height - 2, FACE)

    icon = layout.about_icon
    # The icon's mask lets the face show round its picture: nothing of a black square.
    black = len(shot.exact(icon, BLACK))
    if black:
        problems.append(f"icon {icon} holds {black} black pixels: its background is not clear")
    red = shot.exact((0, 0, width, height), ICON_RED)
    grey = shot.exact(icon, ICON_GREY)
    if len(red) < MIN_INK_PIXELS or len(grey) < MIN_INK_PIXELS:
        problems.append(f"icon {icon} holds {len(red)} red and {len(grey)} grey pixels")
    stray = sorted((y, x) for x, y in red if not inside(icon, x, y))
    if stray:
        problems.append(f"{len(stray)} red pixels outside the icon {icon}, first at {stray[0][::-1]}")

    expect_label(shot, problems, "'Hoplin Version 1.0'", layout.about_text, BLACK)

    button = layout.about_ok
    left, top, right, bottom = button
    cx, cy = centre(button)
    for where, x, y in (
        ("top edge", cx, top),
        ("bottom edge", cx, bottom - 1),
        ("left edge", left, cy),
        ("right edge", right - 1, cy),
    ):
        expect(shot, problems, f"OK button {where}", x, y, DEFAULT_BUTTON_BORDER)
    expect_fill(shot, problems, "OK button", button, BUTTON_FACE)
    label = shot.ink(inset(button, FOCUS_INSET + 1), BLACK)
    if len(label) < MIN_OK_INK_PIXELS:
        problems.append(f"OK button holds {len(label)} pixels of black ink, expected 'OK'")
    else:
        expect_centred(problems, "OK button's text", label, "the button", button)
    # The focus frame is dotted: every other pixel down its sides is black.
    frame_left, frame_top, frame_right, frame_bottom = inset(button, FOCUS_INSET)
    for x in (frame_left, frame_right - 1):
        for y in range(frame_top, frame_bottom):
            dotted = (y - frame_top) % 2 == 0
            expect(shot, problems, "OK button focus frame", x, y, BLACK if dotted else BUTTON_FACE)
    return problems


def jumper_left(shot, layout):
    body = jumper_pixels(shot, layout)
    return min(x for x, _ in body) if body else None


def check_moved_on(past, also):
    """A check for a run that goes on: the playing screen, the checks in also, and the
    jumper's left column right of past."""

    def check(shot, layout):
        problems = check_playing_frame(shot, layout)
        for other in also:
            problems += other(shot, layout)
        now = jumper_left(shot, layout)
        if now is None:
            problems.append("no red jumper on the board")
        elif now <= past:
            problems.append(f"the jumper's left column is {now}, not right of {past}")
        return problems

    return check


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
        self.game_log = None
        # The logs of the desktop's parts, which a failure names beside the game's.
        self.logs = []

    def start_game(self, what, check, save_as=None):
        """Starts the game and waits for its first screen, which check must find. The
        window's place is read afresh for every look, since a window manager may still be
        placing it."""
        self.runs += 1
        self.game_log = os.path.join(self.out_dir, f"hoplin-run{self.runs}.log")
        with open(self.game_log, "wb") as log:
            self.game = desktop.start([self.hoplin], self.marked(self.env), log)
        try:
            found = run(
                ["xdotool", "search", "--sync", "--name", "^Hoplin$"],
                self.env,
                timeout=STARTUP_TIMEOUT,
            )
        except Failure as failure:
            state = "running" if self.game.poll() is None else f"exited {self.game.returncode}"
            raise Failure(f"no Hoplin window: {failure} (game {state}){self.where_to_look()}")
        windows = found.split()
        if len(windows) != 1:
            raise Failure(f"expected one Hoplin window, found {windows}")
        self.window = windows[0].decode()

        def locate():
            self.origin, self.size = self.geometry(self.window)
            self.layout = Layout(*self.size)

        return self.wait_for(what, check, STARTUP_TIMEOUT, save_as=save_as, before_each=locate)

    def geometry(self, window):
        """The window's (origin, size) on the screen."""
        geometry = {}
        for line in run(["xdotool", "getwindowgeometry", "--shell", window], self.env).split():
            key, _, value = line.decode().partition("=")
            geometry[key] = int(value)
        return (geometry["X"], geometry["Y"]), (geometry["WIDTH"], geometry["HEIGHT"])

    def shoot(self, region=None):
        """A screenshot of region, (origin, size) on the screen; by default the main window."""
        taken_at = time.monotonic()
        (x, y), size = region or (self.origin, self.size)
        width, height = size
        ppm = run(
            ["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "+repage"]
            + ["-depth", "8", "ppm:-"],
            self.env,
        )
        shot = Shot(ppm, taken_at)
        if (shot.width, shot.height) != size:
            raise Failure(f"screenshot is {shot.width}x{shot.height}, expected {size}")
        return shot

    def wait_for(self, what, check, timeout, since=None, save_as=None, region=None,
                 before_each=None):
        """Takes screenshots of region (default: the main window) until check finds no
        problem, and fails with its last findings once timeout seconds from since (default:
        now) have passed. before_each, if given, runs before every screenshot. The last
        screenshot, the deciding one, goes to save_as in the output folder."""
        deadline = (time.monotonic() if since is None else since) + timeout
        while True:
            if self.game.poll() is not None:
                raise Failure(f"{what}: the game exited with {self.game.returncode}"
                              f"{self.where_to_look()}")
            if before_each is not None:
                before_each()
            shot = self.shoot(region)
            problems = check(shot, self.layout)
            if not problems or time.monotonic() > deadline:
                break
        saved = None
        if save_as:
            saved = os.path.join(self.out_dir, save_as)
            shot.save(saved)
        if problems:
            raise Failure(f"{what} not seen in time{self.where_to_look(saved)}:\n  "
                          + "\n  ".join(problems))
        return shot

    def where_to_look(self, screenshot=None):
        """What a failure names for diagnosis: the screenshot, the game's log and the
        desktop's, and the game's last words, which a run elsewhere shows no file of."""
        files = ([f"screenshot {screenshot}"] if screenshot else []) + [
            f"log {path}" for path in [self.game_log] + self.logs if path]
        said = ""
        if self.game_log and os.path.exists(self.game_log):
            with open(self.game_log, encoding="utf-8", errors="replace") as log:
                last = log.read().splitlines()[-GAME_LOG_LINES:]
            said = "".join(f"\n  game: {line}" for line in last)
        return (f" ({'; '.join(files)})" if files else "") + said

    def hover(self, point, origin=None):
        """Moves the pointer to point, in the client coordinates of the window at origin
        (default: the main window)."""
        left, top = origin or self.origin
        target = {"X": left + point[0], "Y": top + point[1]}
        at = {}
        for line in run(["xdotool", "getmouselocation", "--shell"], self.env).split():
            key, _, value = line.decode().partition("=")
            at[key] = value
        # --sync waits for the pointer to move, for ever when it is already there.
        if (int(at["X"]), int(at["Y"])) != (target["X"], target["Y"]):
            run(["xdotool", "mousemove", "--sync", str(target["X"]), str(target["Y"])], self.env)

    def click(self, rect, repeat=1, origin=None):
        """Clicks the centre of rect, in the client coordinates of the window at origin
        (default: the main window)."""
        self.hover(centre(rect), origin)
        run(
            ["xdotool", "click", "--repeat", str(repeat), "--delay", DOUBLE_CLICK_DELAY_MS]
            + [LEFT_BUTTON],
            self.env,
        )

    def right_click(self, point):
        self.hover(point)
        run(["xdotool", "click", RIGHT_BUTTON], self.env)

    def key(self, name):
        """Presses and releases a key, or keys such as alt+space, in the focused window."""
        run(["xdotool", "key", name], self.env)

    def marked(self, env):
        """env with the mark of this game, which every process it starts inherits."""
        return dict(env, **{GAME_MARK: f"{os.getpid()}-{self.runs}"})

    def leftovers(self):
        """The processes that carry the mark of this game, which has ended."""
        mark = f"{GAME_MARK}={os.getpid()}-{self.runs}".encode() + b"\0"
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

    def game_windows(self):
        """{window id: name} of the game's windows."""
        found = subprocess.run(
            ["xdotool", "search", "--pid", str(self.game.pid)],
            env=self.env,
            capture_output=True,
            timeout=COMMAND_TIMEOUT,
        )
        names = {}
        for window in found.stdout.decode().split():
            named = subprocess.run(
                ["xdotool", "getwindowname", window],
                env=self.env,
                capture_output=True,
                timeout=COMMAND_TIMEOUT,
            )
            # A window may close between the search and this.
            if named.returncode == 0:
                names[window] = named.stdout.decode().rstrip("\n")
        return names

    def wait_for_about(self, what):
        """Waits for the game's one other window, the About box, checks its caption, size
        and place, and answers its (origin, size)."""
        deadline = time.monotonic() + SCREEN_TIMEOUT
        while True:
            if self.game.poll() is not None:
                raise Failure(f"{what}: the game exited with {self.game.returncode}")
            others = {w: name for w, name in self.game_windows().items() if w != self.window}
            if others or time.monotonic() > deadline:
                break
            time.sleep(POLL_INTERVAL)
        if len(others) != 1:
            raise Failure(f"{what}: expected one window besides the main one, found {others}")
        ((window, name),) = others.items()
        if name != ABOUT_CAPTION:
            raise Failure(f"{what}: the new window is called {name!r}, expected {ABOUT_CAPTION!r}")
        origin, size = self.geometry(window)
        if size != self.layout.about_size:
            raise Failure(f"{what}: the About box is {size}, expected {self.layout.about_size}")
        for axis in range(2):
            centred = (2 * self.origin[axis] + self.size[axis] - size[axis]) // 2
            if abs(origin[axis] - centred) > CENTRE_SLACK:
                raise Failure(
                    f"{what}: the About box is at {origin}, not centred on the main window "
                    f"at {self.origin} of {self.size}"
                )
        return origin, size

    def wait_for_no_about(self, what):
        deadline = time.monotonic() + SCREEN_TIMEOUT
        while ABOUT_CAPTION in self.game_windows().values():
            if time.monotonic() > deadline:
                raise Failure(f"{what}: a window called {ABOUT_CAPTION!r} is still there")
            time.sleep(POLL_INTERVAL)

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

    def expect_exit(self, how, since):
        """Fails unless the game ends with status 0 within EXIT_TIMEOUT of since, leaving no
        process of its own behind; returns how long it took."""
        try:
            status = self.game.wait(timeout=max(0.0, since + EXIT_TIMEOUT - time.monotonic()))
        except subprocess.TimeoutExpired:
            raise Failure(f"{how}: the game still runs {EXIT_TIMEOUT} s later")
        if status != 0:
            raise Failure(f"{how}: the game exited with status {status}, expected 0"
                          f"{self.where_to_look()}")
        took = time.monotonic() - since
        left = self.leftovers()
        if left:
            raise Failure(f"{how}: the game left {left} running")
        return took


def play(session):
    ok = reporter()

    began = time.monotonic()
    session.start_game("title screen", check_title, save_as="title.png")
    layout = session.layout
    print(
        f"# window {session.window} at {session.origin}, client {session.size}, "
        f"base units {layout.base_x}x{layout.base_y}, board {layout.board}",
        flush=True,
    )
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

    play_system_menu(session, ok)

    began = time.monotonic()
    session.click(layout.exit)
    took = session.expect_exit("Exit", began)
    ok(f"Exit ends the game with status 0 in {took:.2f} s", began)

    began = time.monotonic()
    session.start_game("title screen of the second game", check_title)
    asked = time.monotonic()
    run([session.closer, session.window], session.env)
    took = session.expect_exit("WM_DELETE_WINDOW", asked)
    ok(f"the window's close request ends the game with status 0 in {took:.2f} s", began)

    began = time.monotonic()
    session.start_game("title screen of the third game", check_title)
    session.right_click(layout.menu_point)
    session.wait_for("the system menu", check_menu(layout.menu_point), SCREEN_TIMEOUT)
    asked = time.monotonic()
    session.key("c")
    took = session.expect_exit("the menu's Close, chosen with C", asked)
    ok(f"the menu's Close ends the game with status 0 in {took:.2f} s", began)


def play_system_menu(session, ok):
    """The system menu and the About box, from the title screen back to it."""
    layout = session.layout
    point = layout.menu_point

    began = time.monotonic()
    title = session.wait_for("title screen before the menu", check_title, 0)
    session.key("alt+space")
    opened = session.wait_for(
        "the system menu at the client's top left after Alt+Space",
        check_menu((0, 0)),
        SCREEN_TIMEOUT,
        save_as="menu-alt-space.png",
    )
    menu, _ = find_menu(opened, (0, 0))
    # Down from no highlight lights the first entry, and Up from the first wraps to the last;
    # the separator between them is never lit.
    for key, lit in (("Down", "Close"), ("Down", "About"), ("Up", "Close"), ("Up", "About")):
        session.key(key)
        session.wait_for(
            f"the {lit} entry lit after {key}", check_menu((0, 0), menu.size, lit), SCREEN_TIMEOUT
        )
    session.key("Escape")
    session.wait_for(
        "the title as before the menu, after Esc",
        check_unchanged(title),
        SCREEN_TIMEOUT,
        save_as="title-after-menu.png",
    )
    ok(f"Alt+Space opens the menu at (0, 0), {menu.size}; Up/Down light its entries, Esc "
       "closes it and leaves the title as it was", began)

    began = time.monotonic()
    width, height = session.size
    corner = (width - menu.size[0], height - menu.size[1])
    session.right_click((width - 1, height - 1))
    session.wait_for(
        f"the system menu moved left and up to {corner} to fit in the client area",
        check_menu(corner, menu.size),
        SCREEN_TIMEOUT,
        save_as="menu-moved.png",
    )
    session.key("Escape")
    session.wait_for("the title as before the menu", check_unchanged(title), SCREEN_TIMEOUT)
    ok("a right-click in the bottom right corner opens the menu moved to fit", began)

    began = time.monotonic()
    session.right_click(point)
    opened = session.wait_for(
        "the system menu at the pointer",
        check_menu(point, menu.size),
        SCREEN_TIMEOUT,
        save_as="menu.png",
    )
    ok(f"a right-click at {point} opens the menu there: border, face, both entries and "
       "the separator between them", began)

    began = time.monotonic()
    placed, _ = find_menu(opened, point)
    # With Close lit, only the mnemonic can choose About.
    session.hover(centre(placed.entries["Close"]))
    session.wait_for(
        "the Close entry lit under the pointer", check_menu(point, menu.size, "Close"), SCREEN_TIMEOUT
    )
    session.key("a")
    about = session.wait_for_about("the About box after A")
    session.wait_for(
        "the About box's face, icon, text and OK button",
        check_about,
        SCREEN_TIMEOUT,
        region=about,
        save_as="about-box.png",
    )
    box = session.in_client(about)
    # The menu has gone, and the title shows round the box.
    session.wait_for(
        "the title beside the About box", check_unchanged(title, box), SCREEN_TIMEOUT
    )
    session.shoot(session.around(about)).save(os.path.join(session.out_dir, "about.png"))
    ok(f"the entry under the pointer is lit, and A opens the About box {ABOUT_CAPTION!r}, "
       f"{about[1]}, centred, with its icon, text and OK button", began)

    began = time.monotonic()
    session.click(layout.about_ok, origin=about[0])
    session.wait_for_no_about("the About box after OK")
    session.wait_for("the title after the About box", check_unchanged(title), SCREEN_TIMEOUT)
    session.click(layout.start)
    session.wait_for("playing screen after the About box", check_playing, SCREEN_TIMEOUT)
    ok("OK closes the About box, and Start works again", began)

    # A run lasts at least 2.4 s before it can end, which each of the next two steps fits in.
    began = time.monotonic()
    session.right_click(point)
    menu_open = check_menu(point, menu.size)
    menu_gone = check_menu_gone(placed.rect)
    shot = session.wait_for(
        "the system menu over the run", check_moved_on(-1, [menu_open]), SCREEN_TIMEOUT
    )
    shot = session.wait_for(
        "the jumper stepping on under the open menu",
        check_moved_on(jumper_left(shot, layout), [menu_open]),
        MOVE_TIMEOUT,
        save_as="menu-over-run.png",
    )
    # Stop lies outside the menu: the press closes the menu, and its release is the menu's.
    session.click(layout.stop)
    shot = steps_on_after_click(session, shot, "a click on Stop that closes the menu", menu_gone)
    session.click(layout.stop)
    session.wait_for("title screen after Stop", check_title, STOP_TIMEOUT)
    ok("the run goes on and paints under the open menu; a click on Stop closes the menu "
       "and leaves the run going", began)

    began = time.monotonic()
    session.click(layout.start)
    session.wait_for("playing screen for the About box", check_playing, SCREEN_TIMEOUT)
    session.right_click(point)
    session.wait_for("the system menu over the run", menu_open, SCREEN_TIMEOUT)
    session.key("a")
    about = session.wait_for_about("the About box during a run")
    box = session.in_client(about)
    if overlap(box, layout.stop) or layout.ground_top() < box[3]:
        raise Failure(f"the About box {box} covers the Stop area or the ground the jumper runs on")
    shot = session.wait_for(
        "the run beside the About box", check_moved_on(-1, []), SCREEN_TIMEOUT
    )
    session.click(layout.stop)
    shot = steps_on_after_click(session, shot, "a click on Stop behind the About box")
    session.shoot(session.around(about)).save(os.path.join(session.out_dir, "about-over-run.png"))
    if ABOUT_CAPTION not in session.game_windows().values():
        raise Failure("the About box closed while the run went on behind it")
    session.key("Escape")
    session.wait_for_no_about("the About box after Esc")
    session.click(layout.stop)
    session.wait_for("title screen after Stop", check_title, STOP_TIMEOUT)
    ok("the run goes on and paints behind the About box, which keeps the main window from "
       "taking a click on Stop; Esc closes it", began)


def steps_on_after_click(session, shot, click, *also):
    """Waits for the jumper to step on twice after a click that must not stop the run, and
    answers the last screenshot. The game may be painting a step as the click comes; the
    step after that one was painted after the game saw the click."""
    for step in ("first", "second"):
        shot = session.wait_for(
            f"the jumper's {step} step after {click}",
            check_moved_on(jumper_left(shot, session.layout), also),
            MOVE_TIMEOUT,
            save_as="run-after-click.png",
        )
    return shot


def main(argv):
    paths = script_paths(argv, __doc__, 3)
    if paths is None:
        return 2
    hoplin, closer, out_dir = paths
    began = time.monotonic()
    xvfb = None
    session = None
    with open(os.path.join(out_dir, "xvfb.log"), "wb") as xvfb_log, \
            tempfile.TemporaryDirectory(prefix="hoplin-e2e-") as own:
        try:
            xvfb, env = desktop.start_xvfb(desktop.own_environment(own), xvfb_log)
            print(f"# Xvfb on {env['DISPLAY']}, screenshots in {out_dir}", flush=True)
            session = Session(hoplin, closer, out_dir, env)
            session.logs.append(xvfb_log.name)
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
