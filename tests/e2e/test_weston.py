"""The game as a Wayland client of weston, whose X11 backend shows its output in a window of
the test's X server."""

import signal
import time

import pytest

from hoplin_e2e import screens
from hoplin_e2e.game import (JUMP_TIMEOUT, LOST_DISPLAY_LINE, LOST_DISPLAY_TIMEOUT, SCREEN_TIMEOUT,
                             STOP_TIMEOUT, WestonDesktop)
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
