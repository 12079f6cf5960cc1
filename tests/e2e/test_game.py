"""The game on a bare X server: the title screen, a run, the system menu, the About box, and
the ways the game ends."""

import os
import subprocess
import time

import pytest

from hoplin_e2e import screens
from hoplin_e2e.game import (EXIT_TIMEOUT, JUMP_TIMEOUT, MOVE_TIMEOUT, OUTCOME_PAUSE_MAX, OUTCOME_PAUSE_MIN,
                             OUTCOME_TIMEOUT, SCREEN_TIMEOUT, STOP_TIMEOUT)
from hoplin_e2e.screens import (check_about, check_menu, check_moved_on, check_playing,
                                check_title, check_unchanged, centre)


def test_the_title_screen_shows_the_title_box_start_and_exit_and_no_stop(launch):
    launch(save_as="title.png")


def test_start_shows_the_jumper_five_obstacles_and_stop(game):
    game.click(game.layout.start)
    game.wait_for("playing screen", check_playing, SCREEN_TIMEOUT, save_as="playing.png")


def test_a_double_click_lifts_the_jumper_above_the_obstacles(game):
    game.start_run()
    game.click(game.layout.title, repeat=2)
    game.wait_for("jumper above the ground", screens.check_airborne, JUMP_TIMEOUT,
                  save_as="jump.png")


def test_stop_brings_the_title_back_at_once(game):
    game.start_run()
    # The title also comes back by itself after a run ends; only a run still going shows
    # that it is Stop that brings it.
    running = game.wait_for("the run still going before Stop", screens.check_running, 0)
    game.click(game.layout.stop)
    game.wait_for("title screen after Stop", check_title, STOP_TIMEOUT, since=running.taken_at)


def test_a_hit_shows_fail_and_the_title_returns_two_seconds_later(game):
    game.start_run()
    failed = game.wait_for("FAIL!! on the board", screens.check_outcome, OUTCOME_TIMEOUT,
                           save_as="fail.png")
    back = game.wait_for("title screen after FAIL!!", check_title, OUTCOME_PAUSE_MAX,
                         since=failed.taken_at)
    pause = back.taken_at - failed.taken_at
    assert pause >= OUTCOME_PAUSE_MIN, f"the title came back {pause:.2f} s after FAIL!!"


def test_alt_space_opens_the_menu_at_the_top_left_up_and_down_light_its_entries_and_esc_closes_it(game):
    title = game.wait_for("title screen before the menu", check_title, 0)
    game.key("alt+space")
    opened = game.wait_for("the system menu at the client's top left after Alt+Space",
                           check_menu((0, 0)), SCREEN_TIMEOUT, save_as="menu-alt-space.png")
    menu, _ = screens.find_menu(opened, (0, 0))
    # Down from no highlight lights the first entry, and Up from the first wraps to the last;
    # the separator is never lit.
    for key, lit in (("Down", "Close"), ("Up", "About"), ("Up", "Audio cues"), ("Down", "About"),
                     ("Down", "Close")):
        game.key(key)
        game.wait_for(f"the {lit} entry lit after {key}", check_menu((0, 0), menu.size, lit),
                      SCREEN_TIMEOUT)
    game.key("Escape")
    game.wait_for("the title as before the menu, after Esc", check_unchanged(title),
                  SCREEN_TIMEOUT)


def test_a_right_click_in_the_bottom_right_corner_opens_the_menu_moved_to_fit(game):
    title = game.wait_for("title screen before the menu", check_title, 0)
    menu = game.open_menu()
    game.key("Escape")
    game.wait_for("the title as before the menu", check_unchanged(title), SCREEN_TIMEOUT)
    width, height = game.size
    corner = (width - menu.size[0], height - menu.size[1])
    game.right_click((width - 1, height - 1))
    game.wait_for(f"the system menu moved left and up to {corner} to fit in the client area",
                  check_menu(corner, menu.size), SCREEN_TIMEOUT, save_as="menu-moved.png")


def test_a_right_click_opens_the_menu_at_the_pointer_with_its_entries_and_separator(game):
    point = game.layout.menu_point
    game.right_click(point)
    game.wait_for("the system menu at the pointer", check_menu(point), SCREEN_TIMEOUT,
                  save_as="menu.png")


def test_the_entry_under_the_pointer_is_lit_and_a_opens_the_centred_about_box(game):
    title = game.wait_for("title screen before the menu", check_title, 0)
    point = game.layout.menu_point
    menu = game.open_menu(point)
    # With Close lit, only the mnemonic can choose About.
    game.hover(centre(menu.entry("Close")))
    game.wait_for("the Close entry lit under the pointer", check_menu(point, menu.size, "Close"),
                  SCREEN_TIMEOUT)
    game.key("a")
    _, about = game.wait_for_about("the About box after A")
    game.wait_for("the About box's face, icon, text and OK button", check_about, SCREEN_TIMEOUT,
                  region=about, save_as="about-box.png")
    # The menu has gone, and the title shows round the box.
    game.wait_for("the title beside the About box", check_unchanged(title, game.in_client(about)),
                  SCREEN_TIMEOUT)
    game.shoot(game.around(about)).save(game.artifacts.path("about.png"))


def test_ok_closes_the_about_box_and_start_works_again(game):
    title = game.wait_for("title screen before the menu", check_title, 0)
    _, (origin, _) = game.open_about()
    game.click(game.layout.about_ok, origin=origin)
    game.wait_for_no_about("the About box after OK")
    game.wait_for("the title after the About box", check_unchanged(title), SCREEN_TIMEOUT)
    game.start_run()


def test_the_run_goes_on_under_the_open_menu_and_a_click_on_stop_closes_the_menu_only(game):
    point = game.layout.menu_point
    game.start_run()
    game.right_click(point)
    menu_open = check_menu(point)
    shot = game.wait_for("the system menu over the run", check_moved_on(-1, [menu_open]),
                         SCREEN_TIMEOUT)
    menu, _ = screens.find_menu(shot, point)
    shot = game.wait_for("the jumper stepping on under the open menu",
                         check_moved_on(screens.jumper_left(shot, game.layout), [menu_open]),
                         MOVE_TIMEOUT, save_as="menu-over-run.png")
    # Stop lies outside the menu: the press closes the menu, and its release is the menu's.
    game.click(game.layout.stop)
    game.steps_on(shot, "a click on Stop that closes the menu", screens.check_menu_gone(menu.rect))
    game.click(game.layout.stop)
    game.wait_for("title screen after Stop", check_title, STOP_TIMEOUT)


def test_the_run_goes_on_behind_the_about_box_which_keeps_stop_from_the_main_window(game):
    game.start_run()
    _, about = game.open_about()
    box = game.in_client(about)
    assert not screens.overlap(box, game.layout.stop) and box[3] <= game.layout.ground_top(), \
        f"the About box {box} covers the Stop area or the ground the jumper runs on"
    shot = game.wait_for("the run beside the About box", check_moved_on(-1), SCREEN_TIMEOUT)
    game.click(game.layout.stop)
    game.steps_on(shot, "a click on Stop behind the About box")
    game.shoot(game.around(about)).save(game.artifacts.path("about-over-run.png"))
    assert screens.ABOUT_CAPTION in game.windows().values(), \
        "the About box closed while the run went on behind it"
    game.key("Escape")
    game.wait_for_no_about("the About box after Esc")
    game.click(game.layout.stop)
    game.wait_for("title screen after Stop", check_title, STOP_TIMEOUT)


def test_exit_ends_the_game(game):
    began = time.monotonic()
    game.click(game.layout.exit)
    game.expect_exit("Exit", began)


def test_the_windows_close_request_ends_the_game(game, xscreen):
    asked = time.monotonic()
    xscreen.ask_to_close(game.window)
    game.expect_exit("WM_DELETE_WINDOW", asked)


def test_the_menus_close_chosen_with_c_ends_the_game(game):
    game.open_menu()
    asked = time.monotonic()
    game.key("c")
    game.expect_exit("the menu's Close, chosen with C", asked)


def test_alt_f4_with_the_menu_open_ends_the_game(game):
    game.open_menu()
    asked = time.monotonic()
    game.key("alt+F4")
    game.expect_exit("Alt+F4 with the menu open", asked)


USAGE = "Usage: hoplin [--help | --version]"


@pytest.mark.parametrize("option, first_line", [
    ("--help", USAGE), ("-h", USAGE), ("--version", "hoplin 1.0.0.2"), ("-v", "hoplin 1.0.0.2"),
])
def test_help_and_version_print_without_a_display_and_exit_0(hoplin, option, first_line):
    done = subprocess.run([hoplin, option], env={"PATH": os.environ["PATH"], "LC_ALL": "C"},
                          capture_output=True, text=True, timeout=EXIT_TIMEOUT)
    assert (done.returncode, done.stderr) == (0, "")
    assert done.stdout.splitlines()[0] == first_line


@pytest.mark.parametrize("argument", ["--bogus", "--help=x", "-x", "file"])
def test_any_other_argument_is_refused_with_the_usage_and_status_2(hoplin, argument):
    done = subprocess.run([hoplin, argument], env={"PATH": os.environ["PATH"], "LC_ALL": "C"},
                          capture_output=True, text=True, timeout=EXIT_TIMEOUT)
    assert (done.returncode, done.stdout) == (2, "")
    assert done.stderr.splitlines() == [f"hoplin: unknown option '{argument}'", USAGE]
