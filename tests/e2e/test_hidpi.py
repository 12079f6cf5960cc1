#!/usr/bin/env python3
"""Plays the real game at 200 %: on X11 under Xvfb with Xft.dpi 192, and on Wayland in weston
with an output scale of 2; and on X11 with only DejaVu's basic fonts.

usage: test_hidpi.py <hoplin binary> <screenshot folder>

The screens are read with the checks of test_e2e.py, which lay everything out from the
window's size, so that the same checks hold at any scale.
"""

import os
import sys
import tempfile
import time

import desktop
import test_desktops as desktops
import test_e2e as e2e

DESIGN_SIZE = (407, 245)  # the main window's client size at 96 DPI
DPI = 192
SCALED_SIZE = tuple(n * DPI // 96 for n in DESIGN_SIZE)
SIZE_TOLERANCE = 0.01  # integer dialog units may leave the scaled size a pixel short
DEJAVU_CORE = "fonts-dejavu-core"
SYSTEM_FONT_RULES = "/etc/fonts/conf.d"
WARNING = ": warning:"
# Weston on the X server, its output twice as dense as the desktop's units: an output of
# WESTON_SIZE units fills twice that in X pixels, room for the scaled window.
WAYLAND_SCALE = DPI // 96
WESTON_SIZE = (600, 440)


def dejavu_only_env(env, out_dir):
    """env with a private fontconfig setup that sees only the fonts of fonts-dejavu-core."""
    folder = os.path.join(out_dir, "dejavu-only")
    fonts = os.path.join(folder, "fonts")
    os.makedirs(fonts, exist_ok=True)
    listed = e2e.run(["dpkg", "-L", DEJAVU_CORE], env).decode().split()
    for path in (p for p in listed if p.endswith(".ttf")):
        link = os.path.join(fonts, os.path.basename(path))
        if not os.path.lexists(link):
            os.symlink(path, link)
    config = os.path.join(folder, "fonts.conf")
    with open(config, "w", encoding="utf-8") as out:
        out.write(
            '<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "fonts.dtd">\n<fontconfig>\n'
            f"  <dir>{fonts}</dir>\n"
            f'  <include ignore_missing="yes">{SYSTEM_FONT_RULES}</include>\n'
            f"  <cachedir>{folder}/cache</cachedir>\n</fontconfig>\n"
        )
    return dict(env, FONTCONFIG_FILE=config)


def expect_size(session, expected, what):
    for got, want in zip(session.size, expected):
        if abs(got - want) > SIZE_TOLERANCE * want:
            raise e2e.Failure(f"{what}: the window is {session.size}, expected about {expected}")


def warnings_of(session):
    with open(session.game_log, "rb") as log:
        return [line for line in log.read().decode().splitlines() if WARNING in line]


def leave(session, what):
    began = time.monotonic()
    session.click(session.layout.exit)
    session.expect_exit(f"Exit {what}", began)


def play(session, env, ok):
    began = time.monotonic()
    session.env = dejavu_only_env(env, session.out_dir)
    session.start_game("title screen with only DejaVu's fonts", e2e.check_title,
                       save_as="title-dejavu-only.png")
    expect_size(session, DESIGN_SIZE, "with only DejaVu's fonts")
    leave(session, "with only DejaVu's fonts")
    warnings = warnings_of(session)
    if len(warnings) != 1:
        raise e2e.Failure(f"with only DejaVu's fonts: expected one warning line, got {warnings}")
    ok(f"with only DejaVu's fonts the window is {session.size}, after one warning: "
       f"{warnings[0]}", began)

    began = time.monotonic()
    # As KDE Plasma sets up 200 %: GTK programs multiply Xft.dpi by both factors.
    session.env = dict(env, GDK_SCALE="2", GDK_DPI_SCALE="0.5")
    desktop.run(["xrdb", "-merge"], env, input=f"Xft.dpi: {DPI}\n".encode())
    session.start_game(f"title screen at {DPI} DPI", check_sharp_title, save_as="title.png")
    expect_size(session, SCALED_SIZE, f"at {DPI} DPI")
    play_run(session, f"at {DPI} DPI", "")
    if warnings_of(session):
        raise e2e.Failure(f"at {DPI} DPI the game warned: {warnings_of(session)}")
    layout = session.layout
    ok(f"at {DPI} DPI, set as Plasma sets it, the window is {session.size} with base units "
       f"{layout.base_x}x{layout.base_y}; Start, a jump, Stop and Exit work at the scaled places",
       began)
    return session.size


def play_run(session, where, suffix):
    """Start, a jump, Stop and Exit at the places of the session's layout."""
    layout = session.layout
    session.click(layout.start)
    session.wait_for(f"playing screen {where}", e2e.check_playing, e2e.SCREEN_TIMEOUT,
                     save_as=f"playing{suffix}.png")
    session.click(layout.title, repeat=2)
    session.wait_for(f"the jumper in the air {where}", e2e.check_airborne, e2e.JUMP_TIMEOUT,
                     save_as=f"jump{suffix}.png")
    session.click(layout.stop)
    session.wait_for(f"title screen after Stop {where}", e2e.check_title, e2e.STOP_TIMEOUT,
                     save_as=f"title-after-stop{suffix}.png")
    leave(session, where)


def play_wayland(hoplin, env, own, out_dir, ok, size):
    """The game on Wayland, laid out in size, the client size that X11 gave at the same DPI.
    The window is a whole number of desktop units large, so its client area may have a
    column and a row more, in the dialog's face colour."""
    began = time.monotonic()
    with open(os.path.join(out_dir, "weston.log"), "wb") as log:
        weston, wayland_env, output = desktop.start_weston(env, own, log, WAYLAND_SCALE,
                                                           WESTON_SIZE)
        session = desktops.WaylandSession(hoplin, out_dir, env, wayland_env, output, size)
        session.logs.append(log.name)
        try:
            where = f"on Wayland at scale {WAYLAND_SCALE}"
            session.start_game(f"title screen {where}", check_sharp_title,
                               save_as="title-wayland.png")
            play_run(session, where, "-wayland")
        finally:
            if session.game is not None:
                desktop.stop_process(session.game)
            desktop.stop_process(weston)
    ok(f"on Wayland at scale {WAYLAND_SCALE} the window is drawn in full pixels; Start, a "
       "jump, Stop and Exit work at the scaled places", began)


def check_sharp_title(shot, layout):
    """The title screen, with one-pixel box edges: a window drawn at the design size and then
    magnified, as a compositor magnifies a window of too few pixels, has thicker ones."""
    problems = e2e.check_title(shot, layout)
    for name, rect in (("title box", layout.title), ("Start button", layout.start)):
        x, _ = e2e.centre(rect)
        e2e.expect(shot, problems, f"{name} just inside its top edge", x, rect[1] + 1,
                   e2e.DARK_GREY)
    return problems


def main(argv):
    paths = e2e.script_paths(argv, __doc__, 2)
    if paths is None:
        return 2
    hoplin, out_dir = paths
    ok = e2e.reporter()
    xvfb = session = None
    with open(os.path.join(out_dir, "xvfb.log"), "wb") as xvfb_log, \
            tempfile.TemporaryDirectory(prefix="hoplin-e2e-") as own:
        try:
            xvfb, env = desktop.start_xvfb(desktop.own_environment(own), xvfb_log)
            print(f"# Xvfb on {env['DISPLAY']}, screenshots in {out_dir}", flush=True)
            session = e2e.Session(hoplin, None, out_dir, env)
            session.logs.append(xvfb_log.name)
            size = play(session, env, ok)
            play_wayland(hoplin, env, own, out_dir, ok, size)
        except e2e.Failure as failure:
            print(f"not ok - {failure}", file=sys.stderr, flush=True)
            return 1
        finally:
            for proc in (session.game if session else None, xvfb):
                if proc is not None:
                    desktop.stop_process(proc)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
