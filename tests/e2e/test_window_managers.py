"""The game's windows as window managers and old tools see them: with no window manager and
no session bus, under openbox, GNOME's mutter and KDE's KWin. The About box is a modal
dialog to each of them, comes back whenever its owner is clicked or activated, and gives the
keyboard back to its owner when it closes."""

import time

import pytest

from hoplin_e2e import desktop as parts
from hoplin_e2e import screens
from hoplin_e2e.game import MOVE_TIMEOUT, SCREEN_TIMEOUT, WINDOW_MANAGER_TIMEOUT
from hoplin_e2e.xscreen import ICONIC

ALL = pytest.mark.parametrize("window_manager", [None, "openbox", "mutter", "kwin"],
                              indirect=True, ids=["no-wm", "openbox", "mutter", "kwin"])
# Openbox and KWin offer to minimise a window whose Motif hints say it cannot be.
MINIMISING = pytest.mark.parametrize("window_manager", ["openbox", "kwin"], indirect=True)

DIALOG_TYPE = "_NET_WM_WINDOW_TYPE_DIALOG"
MODAL_STATE = "_NET_WM_STATE_MODAL"
SKIP_TASKBAR_STATE = "_NET_WM_STATE_SKIP_TASKBAR"
MINIMIZE_ACTION = "_NET_WM_ACTION_MINIMIZE"
MAXIMIZE_ACTIONS = ("_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT")
# The Motif hints' functions field, and its minimise and maximise bits.
MOTIF_FUNCTIONS = 1
MOTIF_MINIMIZE = 1 << 3
MOTIF_MAXIMIZE = 1 << 4


def focused(desktop, window):
    """Whether window has the keyboard, and under a window manager the activation too."""
    screen = desktop.screen
    return screen.focus() == window.id and \
        (not desktop.managed or screen.active_window() == window.id)


def about_in_front(game, about):
    """Whether the About box is shown, above its owner, with the keyboard."""
    screen = game.screen
    if screen.wm_state(about) == ICONIC or not focused(game.desktop, about):
        return False
    stacking = screen.stacking()
    return not game.desktop.managed or (
        about.id in stacking and game.window.id in stacking
        and stacking.index(about.id) > stacking.index(game.window.id))


def open_about_in_front(game):
    """Opens the About box and waits until it is in front, and so managed: the window
    manager has said what it offers."""
    about, _ = game.open_about(placed_by_game=False)
    parts.wait_until("the About box in front once it opens", lambda: about_in_front(game, about),
                     WINDOW_MANAGER_TIMEOUT)
    return about


@ALL
def test_the_about_box_is_a_modal_dialog_of_the_main_window_offering_no_minimise_or_maximise_and_titles_reach_old_tools(
        game, desktop):
    screen, main = game.screen, game.window
    about = open_about_in_front(game)
    assert not screen.numbers(main, "WM_TRANSIENT_FOR"), "the main window is transient"
    assert screen.text(main, "WM_NAME") == ("STRING", screens.MAIN_CAPTION)
    assert screen.text(about, "WM_NAME") == ("COMPOUND_TEXT", screens.ABOUT_CAPTION)
    for window in (main, about):
        assert screen.text(window, "WM_LOCALE_NAME")[1] == parts.LOCALE
    assert screen.atoms(about, "_NET_WM_WINDOW_TYPE") == [DIALOG_TYPE]
    assert MODAL_STATE in screen.atoms(about, "_NET_WM_STATE")
    assert screen.numbers(about, "WM_TRANSIENT_FOR") == [main.id]
    functions = screen.numbers(about, "_MOTIF_WM_HINTS")[MOTIF_FUNCTIONS]
    assert not functions & (MOTIF_MINIMIZE | MOTIF_MAXIMIZE), \
        f"the About box's Motif functions {functions} offer minimise or maximise"
    if not desktop.managed:
        return
    actions = screen.atoms(about, "_NET_WM_ALLOWED_ACTIONS")
    offered = [a for a in actions if a in MAXIMIZE_ACTIONS]
    if desktop.manager.name == "mutter" and MINIMIZE_ACTION in actions:
        offered.append(MINIMIZE_ACTION)
    assert not offered, f"{desktop.manager.name} offers {offered} on the About box"
    assert SKIP_TASKBAR_STATE in screen.atoms(about, "_NET_WM_STATE"), \
        "the About box has a taskbar entry of its own"


@ALL
def test_a_click_on_the_main_window_leaves_the_about_box_in_front(game):
    about = open_about_in_front(game)
    pressed_before = game.screen.numbers(game.window, "_NET_WM_USER_TIME")
    # The title box's middle lies above the About box, which is centred on the window.
    game.click(game.layout.title)
    # A window manager acts on a press before it passes the press on to the game.
    parts.wait_until("the game taking the click on its main window",
                     lambda: game.screen.numbers(game.window, "_NET_WM_USER_TIME")
                     != pressed_before, WINDOW_MANAGER_TIMEOUT)
    parts.wait_until("the About box in front after a click on the main window",
                     lambda: about_in_front(game, about), WINDOW_MANAGER_TIMEOUT)
    game.shoot(game.around(game.screen.geometry(about))).save(game.artifacts.path("about.png"))


@MINIMISING
def test_a_minimised_about_box_takes_its_owner_along_and_comes_back_in_front_when_the_owner_is_activated(
        game):
    about = open_about_in_front(game)
    game.screen.minimise(about)
    # A minimised dialog would leave a window that takes no input; its owner goes too.
    parts.wait_until("the main window minimised with the About box",
                     lambda: game.screen.wm_state(game.window) == ICONIC,
                     WINDOW_MANAGER_TIMEOUT)
    game.screen.activate(game.window)
    parts.wait_until("the About box back in front once the main window is activated",
                     lambda: about_in_front(game, about), WINDOW_MANAGER_TIMEOUT)


@ALL
def test_return_closes_the_about_box_and_the_main_window_has_the_keyboard_again(game, desktop):
    open_about_in_front(game)
    game.key("Return")
    game.wait_for_no_about("the About box after Return")
    parts.wait_until("the main window with the keyboard once the About box has closed",
                     lambda: focused(desktop, game.window), WINDOW_MANAGER_TIMEOUT)
    if not desktop.managed:
        game.key("alt+space")
        game.wait_for("the system menu after Alt+Space", screens.check_menu((0, 0)),
                      SCREEN_TIMEOUT)
        game.key("Escape")
        game.wait_for("the title again after Esc", screens.check_title, SCREEN_TIMEOUT)
    began = time.monotonic()
    game.click(game.layout.exit)
    game.expect_exit("Exit", began)


@pytest.mark.parametrize("window_manager", ["mutter"], indirect=True)
@pytest.mark.parametrize("start", range(10))
def test_under_mutter_the_screen_shows_the_stop_button_in_the_first_run_of_a_fresh_game(game,
                                                                                      start):
    # What mutter shows on the screen, not the window's own pixels: mutter may leave a frame
    # unseen, and during a run only the board is painted again.
    shown = (game.origin, game.size)
    game.wait_for("the title on the screen", screens.check_title, SCREEN_TIMEOUT, region=shown)
    game.click(game.layout.start)
    game.wait_for("the run with its Stop button on the screen", screens.check_playing_frame,
                  MOVE_TIMEOUT, region=shown)


@pytest.mark.parametrize("window_manager", ["openbox-stock", "mutter"], indirect=True)
def test_shift_f10_opens_the_windows_menu_where_the_desktop_keeps_alt_space(game):
    game.key("shift+F10")
    game.wait_for("the system menu after Shift+F10", screens.check_menu((0, 0)), SCREEN_TIMEOUT,
                  save_as="menu-shift-f10.png")
    game.key("Escape")
    game.wait_for("the title after Esc", screens.check_title, SCREEN_TIMEOUT)
