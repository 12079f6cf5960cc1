"""What the game's screens show. Every probe position follows from the window's client size,
as the dialog lays itself out: the dialog base units are the ones that reproduce that size.
The About box shares those units; the system menu's size follows its font, so it is measured
along its border.

Each check takes a Shot and the Layout and answers the problems it found; an empty list means
the screen is as expected.
"""

# --- Colours (R, G, B) ----------------------------------------------------------------------

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

# --- The system menu and the About box ------------------------------------------------------

MENU_BORDER = (160, 160, 160)
MENU_FACE = (242, 242, 242)
MENU_SEPARATOR = (215, 215, 215)
MENU_HIGHLIGHT = (145, 201, 247)
MAIN_CAPTION = "Hoplin"
ABOUT_CAPTION = "Hoplinのﾊﾞｰｼﾞｮﾝ情報"
ICON_SIZE = 32  # the icon keeps its own size, whatever its control's
ICON_RED = (255, 0, 0)
ICON_GREY = (128, 128, 128)
BUTTON_FACE = (225, 225, 225)
DEFAULT_BUTTON_BORDER = (0, 120, 215)
FOCUS_INSET = 3  # the dotted focus frame's distance inside the button's edge

# --- The dialog templates, in dialog units (x, y, width, height) -----------------------------

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
# A dialog unit is a quarter of the horizontal base unit and an eighth of the vertical one.
DLU_PER_BASE_X = 4
DLU_PER_BASE_Y = 8
MAX_BASE_UNIT = 64

# --- The game world -------------------------------------------------------------------------

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


# The main window's client size on X11 at 96 DPI, and at 200 %, where integer dialog units
# leave it a pixel short of twice the size.
DESIGN_SIZE = (407, 245)
CLIENT_SIZES = {1: DESIGN_SIZE, 2: (813, 489)}

# --- Geometry -------------------------------------------------------------------------------


def mul_div(number, numerator, denominator):
    """Win32 MulDiv for non-negative arguments: rounds half away from zero."""
    return (2 * number * numerator + denominator) // (2 * denominator)


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


def base_unit(client, dialog_dlu, dlu_per_base, axis):
    for base in range(1, MAX_BASE_UNIT + 1):
        if mul_div(dialog_dlu, base, dlu_per_base) == client:
            return base
    raise AssertionError(f"no base unit gives a client {axis} of {client} px")


class Layout:
    """The client-area rectangles (left, top, right, bottom), right and bottom exclusive, of
    a main window with a client area of width by height pixels."""

    def __init__(self, width, height):
        self.size = (width, height)
        self.base_x = base_unit(width, DIALOG_SIZE_DLU[0], DLU_PER_BASE_X, "width")
        self.base_y = base_unit(height, DIALOG_SIZE_DLU[1], DLU_PER_BASE_Y, "height")
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
        x, y, cx, cy = dlu
        return (mul_div(x, self.base_x, DLU_PER_BASE_X), mul_div(y, self.base_y, DLU_PER_BASE_Y),
                mul_div(x + cx, self.base_x, DLU_PER_BASE_X),
                mul_div(y + cy, self.base_y, DLU_PER_BASE_Y))

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


# --- Screenshots ----------------------------------------------------------------------------


class Shot:
    """A screenshot, a PIL image, with pixels addressed as (x, y) from its top left."""

    def __init__(self, image, taken_at):
        self.image = image
        self.taken_at = taken_at
        self.width, self.height = image.size
        self.pixels = image.tobytes()

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])

    def rows(self, rect):
        """(y, x of the first pixel, the row's samples) for each row of rect."""
        left, top, right, bottom = rect
        for y in range(top, bottom):
            start = 3 * (y * self.width + left)
            yield y, left, self.pixels[start:start + 3 * (right - left)]

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
        low = [max(0, c - INK_TOLERANCE) for c in colour]
        high = [min(255, c + INK_TOLERANCE) for c in colour]
        return [(left + i // 3, y) for y, left, row in self.rows(rect)
                for i in range(0, len(row), 3)
                if all(low[c] <= row[i + c] <= high[c] for c in range(3))]

    def changes(self, reference, covered=None):
        """The (x, y) whose pixel differs from reference's, outside the rect covered."""
        found = []
        for y, _, row in self.rows((0, 0, self.width, self.height)):
            start = 3 * y * self.width
            if row == reference.pixels[start:start + len(row)]:
                continue
            found.extend((x, y) for x in range(self.width)
                         if row[3 * x:3 * x + 3] != reference.pixels[start + 3 * x:start + 3 * x + 3]
                         and not (covered and inside(covered, x, y)))
        return found

    def save(self, path):
        self.image.save(path)


# --- What every screen shares -----------------------------------------------------------------


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


def expect_centred(problems, name, ink, where, rect):
    left, top, right, bottom = rect
    ink_x = sum(x for x, _ in ink) / len(ink)
    ink_y = sum(y for _, y in ink) / len(ink)
    rect_x, rect_y = (left + right) / 2, (top + bottom) / 2
    if (abs(ink_x - rect_x) > CENTRE_TOLERANCE * (right - left)
            or abs(ink_y - rect_y) > CENTRE_TOLERANCE * (bottom - top)):
        problems.append(f"{name} centred at ({ink_x:.0f}, {ink_y:.0f}), "
                        f"expected near {where}'s centre ({rect_x:.0f}, {rect_y:.0f})")


def check_box(shot, problems, name, rect, ink):
    """A drawn title-screen box: grey outline, dark grey fill and a label in ink."""
    left, top, right, bottom = rect
    cx, cy = centre(rect)
    for where, x, y in (("top edge", (left + cx) // 2, top),
                        ("bottom edge", (cx + right) // 2, bottom - 1),
                        ("left edge", left, (top + cy) // 2),
                        ("right edge", right - 1, (cy + bottom) // 2)):
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


# --- The title screen and a run ---------------------------------------------------------------


def check_title(shot, layout):
    problems = []
    check_frame(shot, layout, problems)
    check_box(shot, problems, "title box", layout.title, RED)
    check_box(shot, problems, "Start button", layout.start, YELLOW)
    check_box(shot, problems, "Exit button", layout.exit, YELLOW)
    left, top, right, bottom = layout.stop
    for where, (x, y) in (("centre", centre(layout.stop)), ("top left", (left + 1, top + 1)),
                          ("bottom right", (right - 2, bottom - 2))):
        expect(shot, problems, f"Stop area {where} (no button on the title)", x, y, FACE)
    return problems


def check_sharp_title(shot, layout):
    """The title screen, with one-pixel box edges: a window drawn at the design size and then
    magnified, as a compositor magnifies a window of too few pixels, has thicker ones."""
    problems = check_title(shot, layout)
    for name, rect in (("title box", layout.title), ("Start button", layout.start)):
        x, _ = centre(rect)
        expect(shot, problems, f"{name} just inside its top edge", x, rect[1] + 1, DARK_GREY)
    return problems


def check_title_border(shot, layout):
    """The title box's outline whole: not one pixel of it drawn over by the title's glyphs,
    and none of them touching it from inside."""
    left, top, right, bottom = layout.title
    outline = {(x, y) for x in range(left, right) for y in (top, bottom - 1)}
    outline |= {(x, y) for y in range(top, bottom) for x in (left, right - 1)}
    problems = [f"title box outline at {p} is {shot.at(*p)}, expected {GREY}"
                for p in sorted(outline) if shot.at(*p) != GREY][:5]
    inner = inset(layout.title, 1)
    touching = [p for p in shot.ink(inner, RED) if not inside(inset(inner, 1), *p)]
    if touching:
        problems.append(f"{len(touching)} red pixels touch the title box's outline, first "
                        f"{sorted(touching)[0]}")
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
    return [(x, y) for x, y in red if {(x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)} <= red]


def jumper_left(shot, layout):
    body = jumper_pixels(shot, layout)
    return min(x for x, _ in body) if body else None


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
    """A fresh run: the jumper near the start on the ground, five obstacles on the ground."""
    problems = check_playing_frame(shot, layout)
    _, top, _, bottom = layout.board
    ground_top = layout.ground_top()
    body = jumper_pixels(shot, layout)
    if not body:
        problems.append("no red jumper on the board")
    else:
        body_right = max(x for x, _ in body)
        near_left = layout.board_x(NEAR_LEFT_WORLD_X)
        if body_right > near_left:
            problems.append(f"jumper reaches column {body_right}, expected left of {near_left}")
        if max(y for _, y in body) < ground_top:
            problems.append("jumper's lowest row is above the ground band")
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


def check_outcome(shot, layout):
    """"FAIL!!" or "GOAL!!" in white, centred on the board."""
    problems = check_playing_frame(shot, layout)
    ink = shot.ink(layout.board, WHITE)
    if len(ink) < MIN_INK_PIXELS:
        return problems + [f"{len(ink)} white pixels on the board, expected the outcome"]
    expect_centred(problems, "white text", ink, "the board", layout.board)
    return problems


def check_moved_on(past, also=()):
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


def check_unchanged(reference, covered=None):
    """A check that the screen is the reference screenshot again, outside the rect covered."""

    def check(shot, _layout):
        changed = shot.changes(reference, covered)
        return [f"{len(changed)} pixels differ from before, within {bounds(changed)}"] \
            if changed else []

    return check


# --- The system menu ------------------------------------------------------------------------------


class Menu:
    """An open system menu as measured on a screenshot: its rect, the row of its separator
    line, and its entries: Close and the sound's two above the separator, About below it."""

    NAMES = ("Close", "Sound", "Audio cues", "About")

    def __init__(self, rect, separator, above):
        """above: the (top, bottom) rows of each entry above the separator."""
        left, top, right, bottom = rect
        self.rect = rect
        self.size = (right - left, bottom - top)
        self.separator = separator
        areas = [(left + 1, a, right - 1, b) for a, b in above]
        areas.append((left + 1, separator + 1, right - 1, bottom - 1))
        self.entries = dict(zip(self.NAMES, areas)) if len(areas) == len(self.NAMES) else {}

    def entry(self, name):
        return self.entries[name]


def text_rows(shot, rect, colour):
    """The [first, last + 1) rows of each line of text in rect in ink of colour: runs of inked
    rows, with a mnemonic's underline taken into the text above it."""
    runs = []
    for y in sorted({y for _, y in shot.ink(rect, colour)}):
        if runs and y == runs[-1][1]:
            runs[-1][1] = y + 1
        else:
            runs.append([y, y + 1])
    tallest = max((b - a for a, b in runs), default=0)
    lines = []
    for run in runs:
        if lines and 2 * (run[0] - lines[-1][1]) < tallest:
            lines[-1][1] = run[1]
        else:
            lines.append(run)
    return lines


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
    for name, edge in (("right", (right - 1, top, right, bottom)),
                       ("bottom", (left, bottom - 1, right, bottom))):
        missing = (edge[2] - edge[0]) * (edge[3] - edge[1]) - len(shot.exact(edge, MENU_BORDER))
        if missing:
            problems.append(f"menu {rect}: {missing} pixels of its {name} edge are not its border")
    if problems or right - left < 3 or bottom - top < 3:
        return None, problems or [f"menu {rect} has no inside"]
    expect(shot, problems, "menu face, top left", left + 1, top + 1, MENU_FACE)
    expect(shot, problems, "menu face, bottom right", right - 2, bottom - 2, MENU_FACE)
    lines = sorted(y for y in range(top + 1, bottom - 1)
                   if 2 * len(shot.exact((left + 1, y, right - 1, y + 1), MENU_SEPARATOR))
                   > right - left - 2)
    if len(lines) != 1:
        return None, problems + [f"menu {rect} has separator lines at rows {lines}, expected one"]
    separator = lines[0]
    # The entries above the separator are of one height, split between their texts' rows.
    texts = text_rows(shot, (left + 1, top + 1, right - 1, separator), BLACK)
    cuts = [top + 1] + [(a[1] + b[0]) // 2 for a, b in zip(texts, texts[1:])] + [separator]
    menu = Menu(rect, separator, list(zip(cuts, cuts[1:])))
    if not menu.entries:
        return None, problems + [f"menu {rect} has {len(texts)} entries above its separator, "
                                 f"expected {len(Menu.NAMES) - 1}"]
    ink = {name: shot.ink(area, BLACK) for name, area in menu.entries.items()}
    for name, found in ink.items():
        if len(found) < MIN_INK_PIXELS:
            problems.append(f"menu {rect}: the {name} entry {menu.entry(name)} holds "
                            f"{len(found)} pixels of ink, expected its text")
    if not problems:
        close_end = max(x for x, _ in ink["Close"])
        about_end = max(x for x, _ in ink["About"])
        # Only Close has a shortcut, Alt+F4, and it stands at the right end of its entry.
        if close_end <= about_end:
            problems.append(f"menu {rect}: Close's text ends at column {close_end}, the About "
                            f"entry's at {about_end}: no right-aligned shortcut")
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
                problems.append(f"{name} entry {area} has only {lit_pixels} of {area_pixels} "
                                "pixels highlighted, expected it lit")
            elif name != lit:
                # Measured between texts, an entry may take in a row of its neighbour's.
                left, top, right, bottom = area
                stray = len(shot.exact((left, top + 1, right, bottom - 1), MENU_HIGHLIGHT))
                if stray:
                    problems.append(f"{name} entry {area} has {stray} highlighted pixels")
        return problems

    return check


def check_menu_gone(rect):
    """A check that no pixel of the menu's own colours is left in rect."""

    def check(shot, _layout):
        left = sum(len(shot.exact(rect, colour)) for colour in (MENU_BORDER, MENU_FACE))
        return [f"{left} pixels of the menu's border and face left in {rect}"] if left else []

    return check


# --- The About box ------------------------------------------------------------------------------


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
        problems.append(f"{len(stray)} red pixels outside the icon {icon}, first at "
                        f"{stray[0][::-1]}")
    expect_label(shot, problems, "'Hoplin Version 1.0'", layout.about_text, BLACK)
    button = layout.about_ok
    left, top, right, bottom = button
    cx, cy = centre(button)
    for where, x, y in (("top edge", cx, top), ("bottom edge", cx, bottom - 1),
                        ("left edge", left, cy), ("right edge", right - 1, cy)):
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
