"""The game under openbox, a window manager that puts a frame round its window: the window's
actions, clicks on a window without the focus, keys, minimising, the frame's close button, a
window destroyed from outside, and a display that goes away."""

import time

import pytest

from hoplin_e2e import desktop as parts
from hoplin_e2e import screens
from hoplin_e2e.game import (JUMP_TIMEOUT, LEFT_BUTTON, LOST_DISPLAY_LINE, LOST_DISPLAY_TIMEOUT,
                             MOVE_TIMEOUT, OUTCOME_PAUSE_MAX, OUTCOME_TIMEOUT, SCREEN_TIMEOUT,
                             WINDOW_MANAGER_TIMEOUT)

pytestmark = pytest.mark.parametrize("window_manager", ["openbox"], indirect=True)

OTHER_WINDOW_TITLE = "hoplin-e2e-other"
# The Hoplin window's actions: minimise is offered, maximise in neither direction.
MINIMIZE_ACTION = "_NET_WM_ACTION_MINIMIZE"
MAXIMIZE_ACTIONS = ("_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT")
HIDDEN_STATE = "_NET_WM_STATE_HIDDEN"
# Windows counts two clicks within a 4 x 4 px box as a double-click; these two are not.
DOUBLE_CLICK_MISS = 8


@pytest.fixture
def other_window(desktop, desktop_log):
    """Another program's window, to take the focus from the game."""
    proc = parts.start(["xmessage", "-name", OTHER_WINDOW_TITLE, "-title", OTHER_WINDOW_TITLE,
                        "-geometry", "+0+0", "another program"], desktop.env, desktop_log)
    yield parts.wait_until("the other program's window",
                           lambda: desktop.screen.find_window(OTHER_WINDOW_TITLE),
                           parts.STARTUP_TIMEOUT, proc)
    parts.stop(proc)


def test_the_fixed_size_window_offers_minimise_and_no_maximise(game, xscreen):
    actions = xscreen.atoms(game.window, "_NET_WM_ALLOWED_ACTIONS")
    assert MINIMIZE_ACTION in actions and not set(MAXIMIZE_ACTIONS) & set(actions), \
        f"the window offers {actions}: expected minimise and no maximise"


def test_one_click_on_start_in_a_window_without_the_focus_starts_a_run(game, xscreen,
                                                                       other_window):
    xscreen.activate(other_window)
    parts.wait_until("the other window active", lambda: xscreen.active_window() == other_window.id,
                     WINDOW_MANAGER_TIMEOUT)
    game.click(game.layout.start)
    game.wait_for("playing screen after one click", screens.check_playing, SCREEN_TIMEOUT)


def test_clicks_8_px_apart_are_no_double_click(game):
    shot = game.start_run()
    # Two quick clicks further apart than the double-click box are two single clicks.
    x, y = screens.centre(game.layout.title)
    game.click((x, y, x + 1, y + 1))
    game.click((x + DOUBLE_CLICK_MISS, y, x + DOUBLE_CLICK_MISS + 1, y + 1))
    # The game may be painting a step as the clicks come; the step after that one was
    # painted after the game had seen them. No screenshot until then shows a jump.
    for step in ("first", "second"):
        moved_on = screens.check_moved_on(screens.jumper_left(shot, game.layout))

        def on_the_ground(shot, layout):
            assert screens.check_airborne(shot, layout), \
                f"clicks {DOUBLE_CLICK_MISS} px apart made the jumper jump"
            return moved_on(shot, layout)

        shot = game.wait_for(f"the jumper's {step} step after the clicks", on_the_ground,
                             MOVE_TIMEOUT, save_as="no-jump.png")


def test_space_makes_the_jumper_jump(game):
    game.start_run()
    game.key("space")
    game.wait_for("jumper above the ground after Space", screens.check_airborne, JUMP_TIMEOUT)


def test_a_window_minimised_during_a_run_shows_the_title_when_restored_after_it(game, xscreen):
    game.start_run()
    game.wait_for("FAIL!! on the board", screens.check_outcome, OUTCOME_TIMEOUT)
    xscreen.minimise(game.window)
    # Openbox marks the window hidden once it has unmapped it.
    parts.wait_until("the window minimised",
                     lambda: HIDDEN_STATE in xscreen.atoms(game.window, "_NET_WM_STATE"),
                     WINDOW_MANAGER_TIMEOUT)
    assert game.worker_running(), "the run ended before the window was minimised"
    parts.wait_until("the run's end while the window is minimised",
                     lambda: not game.worker_running(), OUTCOME_PAUSE_MAX)
    xscreen.activate(game.window)
    game.wait_for("title screen after the restore", screens.check_title, SCREEN_TIMEOUT,
                  save_as="openbox-restored.png")


def test_space_on_the_title_screen_starts_a_run(game):
    game.key("space")
    game.wait_for("playing screen after Space on the title", screens.check_playing,
                  SCREEN_TIMEOUT)


def test_the_frames_close_button_ends_the_game(game, xscreen):
    _, right, top, _ = xscreen.numbers(game.window, "_NET_FRAME_EXTENTS")
    (x, y), (width, _) = game.origin, game.size
    # The close button ends the title bar on the right.
    xscreen.move((x + width + right - top // 2 - 1, y - top // 2))
    asked = time.monotonic()
    xscreen.click(LEFT_BUTTON)
    game.expect_exit("the frame's close button", asked)


def test_a_window_destroyed_by_another_client_ends_the_game(game, xscreen):
    asked = time.monotonic()
    xscreen.destroy(game.window)
    game.expect_exit("a window destroyed by another client", asked)


def test_a_lost_display_ends_the_game_with_one_line_of_its_own_and_status_1(launch, desktop,
                                                                            xserver):
    # The line is the program's own, in the C locale's words.
    game = launch(env=dict(desktop.env, LC_ALL="C", LANGUAGE=""))
    xserver.proc.kill()
    xserver.proc.wait()
    lost = time.monotonic()
    game.expect_exit("a lost display", lost, status=1, timeout=LOST_DISPLAY_TIMEOUT)
    assert game.output() == [LOST_DISPLAY_LINE]
