"""The game at 200 % on X11, with the desktop's scale set as KDE Plasma sets it, and with
only DejaVu's basic fonts. The checks lay everything out from the window's size, so the same
checks hold at any scale."""

import os
import subprocess
import time

import pytest

from hoplin_e2e import screens
from hoplin_e2e.game import JUMP_TIMEOUT, STOP_TIMEOUT
from hoplin_e2e.screens import CLIENT_SIZES, DESIGN_SIZE, check_sharp_title

DPI = 192
DEJAVU_CORE = "fonts-dejavu-core"
SYSTEM_FONT_RULES = "/etc/fonts/conf.d"
WARNING = ": warning:"


def dejavu_only_env(env, folder):
    """env with a private fontconfig setup that sees only the fonts of fonts-dejavu-core."""
    fonts = os.path.join(folder, "fonts")
    os.makedirs(fonts, exist_ok=True)
    listed = subprocess.run(["dpkg", "-L", DEJAVU_CORE], capture_output=True, check=True,
                            text=True).stdout.split()
    for path in (p for p in listed if p.endswith(".ttf")):
        os.symlink(path, os.path.join(fonts, os.path.basename(path)))
    config = os.path.join(folder, "fonts.conf")
    with open(config, "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "fonts.dtd">\n<fontconfig>\n'
                  f"  <dir>{fonts}</dir>\n"
                  f'  <include ignore_missing="yes">{SYSTEM_FONT_RULES}</include>\n'
                  f"  <cachedir>{folder}/cache</cachedir>\n</fontconfig>\n")
    return dict(env, FONTCONFIG_FILE=config)


def warnings_of(game):
    return [line for line in game.output() if WARNING in line]


def leave(game, where):
    began = time.monotonic()
    game.click(game.layout.exit)
    game.expect_exit(f"Exit {where}", began)


def test_with_only_dejavus_fonts_the_window_has_its_design_size_after_one_warning(
        launch, desktop, home):
    game = launch(env=dejavu_only_env(desktop.env, home), save_as="title-dejavu-only.png")
    assert game.size == DESIGN_SIZE
    leave(game, "with only DejaVu's fonts")
    assert len(warnings_of(game)) == 1, warnings_of(game)


def test_at_192_dpi_set_as_plasma_sets_it_start_a_jump_stop_and_exit_work_at_the_scaled_places(
        launch, desktop, xscreen):
    # As KDE Plasma sets up 200 %: GTK programs multiply Xft.dpi by both factors.
    xscreen.set_resources(f"Xft.dpi: {DPI}\n")
    game = launch(env=dict(desktop.env, GDK_SCALE="2", GDK_DPI_SCALE="0.5"),
                  check=check_sharp_title, save_as="title.png")
    assert game.size == CLIENT_SIZES[2]
    game.start_run()
    game.click(game.layout.title, repeat=2)
    game.wait_for(f"the jumper in the air at {DPI} DPI", screens.check_airborne, JUMP_TIMEOUT)
    game.click(game.layout.stop)
    game.wait_for(f"title screen after Stop at {DPI} DPI", screens.check_title, STOP_TIMEOUT)
    leave(game, f"at {DPI} DPI")
    assert not warnings_of(game)


@pytest.mark.parametrize("dpi", [96, 144, 192])
def test_the_title_box_outline_is_whole_and_no_glyph_of_the_title_touches_it(launch, xscreen,
                                                                            dpi):
    xscreen.set_resources(f"Xft.dpi: {dpi}\n")
    launch(check=lambda shot, layout: screens.check_title(shot, layout)
           + screens.check_title_border(shot, layout), save_as="title.png")
