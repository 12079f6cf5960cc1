"""The game as a Wayland client of weston, whose X11 backend shows its output in a window of
the test's X server."""

import signal
import time

import pytest

from hoplin_e2e import desktop as parts
from hoplin_e2e import screens
from hoplin_e2e.game import (JUMP_TIMEOUT, LOST_DISPLAY_LINE, LOST_DISPLAY_TIMEOUT, SCREEN_TIMEOUT,
                             STOP_TIMEOUT, WestonDesktop)
from hoplin_e2e.screens import Shot

# The About box shows on weston's output by its OK button, the one blue-edged button there.
OK_EDGE_PIXELS = 40
# How far above the client area the middle of libdecor's title bar is.
TITLE_BAR_MIDDLE = 12
from hoplin_e2e.screens import check_sharp_title


@pytest.fixture
def desktop(xserver, weston, artifacts):
    """Weston's output instead of the bare X server: the game's window laid out at the
    client size that X11 gives at the same scale."""
    shown = WestonDesktop(xserver.screen, weston.env, weston.output,
                          screens.CLIENT_SIZES[weston.scale])
    artifacts.snapshot = lambda: snapshot_output(shown, artifacts)
    return shown


def snapshot_output(shown, artifacts):
    path = artifacts.path("screen-at-failure.png")
    shown.screen.shoot(shown.output).save(path)
    return path


def test_with_only_wayland_display_set_the_title_screen_shows_on_westons_output(launch, weston):
    game = launch()
    game.shoot(weston.output).save(game.artifacts.path("weston.png"))


def test_a_click_on_start_through_weston_starts_a_run(game):
    game.click(game.layout.start)
    game.wait_for("playing screen on weston", screens.check_playing, SCREEN_TIMEOUT,
                  save_as="weston-playing.png")


def ok_button_at(game, output):
    """Where weston's output shows the About box's OK button, by the run of its blue edge
    (the one blue-edged button there), on the X screen; None when it shows none."""
    shot = Shot(game.screen.shoot(output), time.monotonic())
    (x, y), _ = output
    for row in range(shot.height):
        run = 0
        for column in range(shot.width):
            run = run + 1 if shot.at(column, row) == screens.DEFAULT_BUTTON_BORDER else 0
            if run >= OK_EDGE_PIXELS:
                return x + column, y + row
    return None


@pytest.mark.parametrize("close_key", ["Escape", "Return"])
def test_after_the_about_box_closes_under_the_pointer_the_main_window_takes_clicks_and_keys(
        game, weston, close_key):
    game.click(game.layout.board)
    # Twice: the second box takes over what is left of the first.
    for time_round in ("first", "second"):
        game.key("shift+F10")
        game.wait_for("the window's menu", screens.check_menu((0, 0)), SCREEN_TIMEOUT)
        game.key("a")
        ok = parts.wait_until(f"the About box on weston, the {time_round} time",
                              lambda: ok_button_at(game, weston.output), SCREEN_TIMEOUT)
        # The pointer rests on the box as it goes, and then clicks the main window's title bar.
        game.desktop.point_at((ok[0] - OK_EDGE_PIXELS, ok[1] + OK_EDGE_PIXELS // 2))
        game.key(close_key)
        parts.wait_until(f"the About box gone, the {time_round} time",
                         lambda: ok_button_at(game, weston.output) is None, SCREEN_TIMEOUT)
    game.desktop.point_at((game.origin[0] + game.size[0] // 3, game.origin[1] - TITLE_BAR_MIDDLE))
    game.screen.click()
    game.click(game.layout.board)
    game.key("space")
    game.wait_for("a run after Space", screens.check_playing, SCREEN_TIMEOUT)


def test_sigterm_ends_the_wayland_game(game):
    asked = time.monotonic()
    game.proc.send_signal(signal.SIGTERM)
    game.expect_exit("SIGTERM on weston", asked)


@pytest.mark.parametrize("during", ["title", "run"])
@pytest.mark.parametrize("ending", [signal.SIGTERM, signal.SIGKILL], ids=["SIGTERM", "SIGKILL"])
def test_a_lost_compositor_ends_the_game_with_the_lost_display_line_and_status_1(
        launch, desktop, weston, ending, during):
    # The line is the program's own, in the C locale's words.
    game = launch(env=dict(desktop.env, LC_ALL="C", LANGUAGE=""))
    if during == "run":
        game.start_run()
    weston.proc.send_signal(ending)
    weston.proc.wait()
    game.expect_exit("weston gone", time.monotonic(), status=1, timeout=LOST_DISPLAY_TIMEOUT)
    assert game.output() == [LOST_DISPLAY_LINE]


@pytest.mark.parametrize("weston", [2], indirect=True)
def test_at_scale_2_the_window_is_drawn_in_full_pixels_and_start_a_jump_stop_and_exit_work(
        launch):
    """The window is a whole number of desktop units large, so its client area may have a
    column and a row more, in the dialog's face colour."""
    game = launch(check=check_sharp_title, save_as="title-wayland.png")
    layout = game.layout
    game.start_run()
    game.click(layout.title, repeat=2)
    game.wait_for("the jumper in the air", screens.check_airborne, JUMP_TIMEOUT)
    game.click(layout.stop)
    game.wait_for("title screen after Stop", screens.check_title, STOP_TIMEOUT)
    began = time.monotonic()
    game.click(layout.exit)
    game.expect_exit("Exit", began)
