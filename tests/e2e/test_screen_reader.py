"""The game as a screen reader reads it, over AT-SPI: each test runs its own session bus with
an accessibility bus on it, and reads the game through a client of its own, as Orca does."""

import os
import signal
import time

import pytest

from hoplin_e2e import desktop as parts
from hoplin_e2e import screens
from hoplin_e2e.game import (OUTCOME_PAUSE_MAX, OUTCOME_TIMEOUT, SCREEN_TIMEOUT,
                             WINDOW_MANAGER_TIMEOUT, WestonDesktop, X11Desktop)
from hoplin_e2e.reader import ScreenReader, find
from hoplin_e2e.xscreen import ICONIC

READER_TIMEOUT = 10.0
APP = screens.MAIN_CAPTION
# The title's reading, which a voice of the C locale's language can speak.
TITLE = "Poyorun"
ABOUT_TEXT = "Hoplin Version 1.0"
DRAWN = {"showing", "visible"}
MODULE = "hoplin-atspi.so"


@pytest.fixture
def accessibility(request, session_bus, desktop_log):
    """The accessibility bus, with accessibility on (the default) or, by parameter, off."""
    proc = parts.start_accessibility_bus(session_bus, desktop_log,
                                         enabled=getattr(request, "param", True))
    yield session_bus, proc
    parts.stop(proc)


@pytest.fixture
def desktop(request, xserver, accessibility, home, desktop_log):
    """The bare X server by default; by parameter, the X server under openbox, or weston's
    output; either way with the accessibility bus on the desktop's session bus."""
    kind = getattr(request, "param", None)
    bus = accessibility[0]
    if kind == "weston":
        weston = request.getfixturevalue("weston")
        env = dict(weston.env, DBUS_SESSION_BUS_ADDRESS=bus["DBUS_SESSION_BUS_ADDRESS"])
        return WestonDesktop(xserver.screen, env, weston.output, screens.CLIENT_SIZES[1])
    if kind == "openbox":
        manager = parts.WINDOW_MANAGERS[kind]
        proc = manager.start(bus, home, desktop_log, xserver.screen)
        request.addfinalizer(lambda: parts.stop(proc))
        return X11Desktop(xserver.screen, bus, manager)
    return X11Desktop(xserver.screen, bus)


@pytest.fixture
def reader(accessibility):
    client = ScreenReader(accessibility[0])
    yield client
    client.close()


def announced(reader):
    """What the reader has heard said since it last asked: the notifications that showed."""
    return [e["source"] for e in reader.ask("events")
            if e["type"] == "object:state-changed:showing" and e["role"] == "notification"
            and e["detail1"] == 1]


def hear(reader, what, until, timeout=READER_TIMEOUT):
    """Collects what the reader hears until until(heard) holds, and answers it."""
    heard = []
    parts.wait_until(f"{what} (heard {heard})",
                     lambda: heard.extend(announced(reader)) or until(heard), timeout)
    return heard


def focus_events(reader):
    return [(e["source"], e["detail1"]) for e in reader.ask("events")
            if e["type"] == "object:state-changed:focused"]


def focus_moves(reader, what, last):
    """The focus events that the reader hears until it hears last; events come on their own
    time, after the tree already shows where the focus is."""
    moves = []
    parts.wait_until(f"{what} (heard {moves})",
                     lambda: moves.extend(focus_events(reader)) or last in moves, READER_TIMEOUT)
    return moves


def frame_of(reader, name=APP):
    return reader.wait_for(f"the frame {name!r}", lambda tree: find(tree, name), READER_TIMEOUT)


def shown(node):
    return node is not None and DRAWN <= set(node["states"])


def expect_button_at(game, node, rect):
    left, top, right, bottom = rect
    x, y = game.origin
    assert node["role"] == "push button" and node["actions"] == ["click"], node
    assert node["extents"] == [x + left, y + top, right - left, bottom - top], node


def test_the_tree_holds_the_application_its_frame_the_drawn_start_and_exit_and_the_title(
        game, reader):
    frame = reader.wait_for("the title screen's items",
                            lambda tree: shown(find(tree, APP, "Start")) and find(tree, APP),
                            READER_TIMEOUT)
    tree = reader.tree()
    assert (tree["role"], tree["name"]) == ("application", APP)
    assert frame["role"] == "frame" and "active" in frame["states"]
    expect_button_at(game, find(frame, "Start"), game.layout.start)
    expect_button_at(game, find(frame, "Exit"), game.layout.exit)
    assert shown(find(frame, "Exit"))
    label = find(frame, TITLE)
    assert label["role"] == "label" and shown(label)
    # Stop is not drawn on the title screen, so a reader finds it but skips it.
    assert not shown(find(frame, "Stop"))


def test_starts_click_action_starts_a_run_and_the_focus_goes_to_stop(game, reader):
    frame_of(reader)
    assert reader.ask("click", path=[APP, "Start"])
    game.wait_for("the run after Start's action", screens.check_playing, SCREEN_TIMEOUT)
    stop = reader.wait_for("Stop drawn, with the focus",
                           lambda tree: (lambda s: shown(s) and "focused" in s["states"] and s)(
                               find(tree, APP, "Stop")), READER_TIMEOUT)
    expect_button_at(game, stop, game.layout.stop)
    assert not shown(find(reader.tree(), APP, "Start"))


def test_tab_moves_the_focus_between_the_drawn_buttons_with_focus_events(game, reader):
    reader.wait_for("the focus on Start", lambda tree: "focused" in find(tree, APP, "Start")["states"],
                    READER_TIMEOUT)
    # Only what follows each key counts: a reader that has just come hears the focus again.
    for key, before, after in (("Tab", "Start", "Exit"), ("shift+Tab", "Exit", "Start")):
        focus_events(reader)
        game.key(key)
        moves = focus_moves(reader, f"the focus on {after} after {key}", (after, 1))
        assert [e for e in moves if e != (before, 1)] == [(before, 0), (after, 1)], (key, moves)
    # A screen reader runs, so the focus frame shows at once.
    game.wait_for("the focus frame on Start", check_focus_frame_on("start"), SCREEN_TIMEOUT)


def test_a_reader_that_listens_before_the_game_starts_hears_its_window_and_focus(
        reader, launch):
    launch()
    frame_of(reader)

    def heard(events):
        return {(e["type"], e["source"], e["detail1"]) for e in events} >= {
            ("window:activate", APP, 0), ("object:state-changed:focused", "Start", 1)}

    events = []
    parts.wait_until(f"the window and the focus heard ({events})",
                     lambda: events.extend(reader.ask("events")) or heard(events), READER_TIMEOUT)


@pytest.mark.parametrize("accessibility", [False], indirect=True)
def test_accessibility_turned_on_after_the_game_started_finds_its_window_and_start(
        game, reader, accessibility):
    parts.set_accessibility(accessibility[0], True)
    start = reader.wait_for("the drawn Start, once accessibility is on",
                            lambda tree: (lambda s: shown(s) and s)(find(tree, APP, "Start")),
                            READER_TIMEOUT)
    assert start["role"] == "push button", start


def check_focus_frame_on(button):
    def check(shot, layout):
        left, top, right, _ = screens.inset(getattr(layout, button), screens.FOCUS_INSET)
        dots = [shot.at(x, top) for x in range(left, right, 2)]
        return [] if all(d == screens.YELLOW for d in dots) else \
            [f"the {button} button's focus frame is {set(dots)}"]
    return check


def test_a_runs_start_its_outcome_and_the_titles_return_are_each_said_once(game, reader):
    frame_of(reader)
    announced(reader)
    reader.ask("click", path=[APP, "Start"])
    game.wait_for("FAIL!! on the board", screens.check_outcome, OUTCOME_TIMEOUT)
    game.wait_for("the title again", screens.check_title, OUTCOME_PAUSE_MAX)
    heard = hear(reader, "the title said", lambda heard: TITLE in heard)
    assert heard == ["Game started", "FAIL!!", TITLE], heard
    assert find(reader.tree(), APP, "Board")["description"] == TITLE


def test_a_stop_is_said(game, reader):
    frame_of(reader)
    reader.ask("click", path=[APP, "Start"])
    hear(reader, "the start said", lambda heard: "Game started" in heard)
    reader.ask("click", path=[APP, "Stop"])
    assert hear(reader, "the stop said", lambda heard: heard) == ["Game stopped"]


@pytest.mark.parametrize("desktop", ["openbox"], indirect=True)
def test_a_run_that_ends_while_the_window_is_minimised_is_heard_to_end_once(game, reader, xscreen):
    frame_of(reader)
    reader.ask("click", path=[APP, "Start"])
    game.wait_for("the run after Start's action", screens.check_running, SCREEN_TIMEOUT)
    announced(reader)
    xscreen.minimise(game.window)
    parts.wait_until("the window minimised", lambda: xscreen.wm_state(game.window) == ICONIC,
                     WINDOW_MANAGER_TIMEOUT)
    assert game.worker_running(), "the run ended before the window was minimised"
    heard = hear(reader, "the title's return said while minimised", lambda heard: TITLE in heard,
                 OUTCOME_TIMEOUT)
    assert heard == ["FAIL!!", TITLE], heard
    assert xscreen.wm_state(game.window) == ICONIC, "the window came back before the outcome"


def test_a_run_that_ends_while_the_about_box_is_open_is_heard_to_end_once(game, reader):
    frame_of(reader)
    game.start_run()
    game.open_about()
    announced(reader)
    heard = hear(reader, "the outcome said with the About box open",
                 lambda heard: "FAIL!!" in heard, OUTCOME_TIMEOUT)
    assert heard == ["FAIL!!"], heard


@pytest.mark.parametrize("desktop", ["weston"], indirect=True)
def test_on_weston_a_reader_finds_the_window_and_its_start_button(game, reader):
    start = reader.wait_for("the drawn Start, shown, on weston",
                            lambda tree: (lambda s: shown(s) and s)(find(tree, APP, "Start")),
                            READER_TIMEOUT)
    assert start["role"] == "push button" and start["actions"] == ["click"], start
    assert reader.ask("click", path=[APP, "Start"])
    game.wait_for("the run after Start's action on weston", screens.check_playing,
                  SCREEN_TIMEOUT)


def test_the_about_box_is_a_dialog_with_its_text_and_ok_which_closes_it(game, reader):
    frame_of(reader)
    game.open_about()
    about = frame_of(reader, screens.ABOUT_CAPTION)
    assert about["role"] == "dialog", about
    assert find(about, ABOUT_TEXT)["role"] == "label"
    ok = find(about, "OK")
    assert ok["actions"] == ["click"] and "focused" in ok["states"]
    assert reader.ask("click", path=[screens.ABOUT_CAPTION, "OK"])
    game.wait_for_no_about("the About box after OK's action")
    reader.wait_for("the About box's frame gone",
                    lambda tree: find(tree, screens.ABOUT_CAPTION) is None, READER_TIMEOUT)


def menu_of(tree):
    frame = find(tree, APP)
    return next((c for c in frame["children"] if c["role"] == "menu"), None) if frame else None


def test_the_windows_menu_is_a_menu_whose_highlight_has_the_focus_and_whose_options_say_their_state(
        game, reader):
    frame_of(reader)
    game.key("shift+F10")
    menu = reader.wait_for("the window's menu", menu_of, READER_TIMEOUT)
    entries = [(e["role"], e["name"], "checked" in e["states"]) for e in menu["children"]]
    assert entries[:3] == [("menu item", "Close", False), ("check menu item", "Sound", True),
                           ("check menu item", "Audio cues", True)], entries
    assert entries[3][0] == "separator" and entries[4][0] == "menu item", entries
    assert "focused" in menu["states"], menu
    focus_events(reader)
    for _ in range(2):
        game.key("Down")
    focus_moves(reader, "the highlight on Sound, with the focus", ("Sound", 1))
    assert "focused" in find(menu_of(reader.tree()), "Sound")["states"]
    announced(reader)
    game.key("Return")
    reader.wait_for("the menu gone", lambda tree: menu_of(tree) is None, READER_TIMEOUT)
    assert hear(reader, "the new state said", lambda heard: heard) == ["Sound off"]
    game.key("m")
    assert hear(reader, "the new state said", lambda heard: heard) == ["Sound on"]


def test_keys_reach_a_screen_reader_first_and_those_it_takes_never_reach_the_game(game, reader):
    frame_of(reader)
    reader.ask("keys", consume=["space"])
    game.key("space")
    game.key("Tab")
    heard = []
    parts.wait_until(f"Tab let go (heard {heard})",
                     lambda: heard.extend((k["name"], k["pressed"])
                                          for k in reader.ask("keys", consume=["space"]))
                     or ("Tab", False) in heard, READER_TIMEOUT)
    assert [("space", True), ("space", False), ("Tab", True), ("Tab", False)] == \
        [k for k in heard if k[0] in ("space", "Tab")], heard
    reader.wait_for("the focus on Exit", lambda tree: "focused" in find(tree, APP, "Exit")["states"],
                    READER_TIMEOUT)
    # The reader took Space, so no run began.
    game.wait_for("still the title", screens.check_title, SCREEN_TIMEOUT)


@pytest.mark.parametrize("accessibility", [False], indirect=True)
def test_with_accessibility_off_the_game_loads_no_bridge_and_draws_as_without_a_desktop(
        launch, desktop, xserver, reader):
    game = launch()
    shot = game.shoot()
    # The answer comes off the first frame's path; a screen of the run gives it time.
    game.start_run()
    maps = open(f"/proc/{game.proc.pid}/maps").read()
    assert MODULE not in maps and "libatk" not in maps
    assert find(reader.tree() or {"children": []}, APP) is None
    plain = launch(env=parts.own_environment(os.path.dirname(desktop.env["HOME"]))
                   | {"DISPLAY": xserver.env["DISPLAY"]})
    plain.wait_for("the same title screen as with accessibility off",
                   screens.check_unchanged(shot), SCREEN_TIMEOUT)


def parent_of(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return int(stat.read().rsplit(")", 1)[1].split()[1])
    except (OSError, ValueError):  # gone meanwhile
        return None


def test_a_bus_that_goes_during_a_run_leaves_the_game_playing(game, reader, accessibility):
    frame_of(reader)
    game.start_run()
    _, launcher = accessibility
    # The launcher and the bus's daemon that it started, both at once, without a word.
    children = [pid for pid in map(int, filter(str.isdigit, os.listdir("/proc")))
                if parent_of(pid) == launcher.pid]
    assert children, "the accessibility bus has no daemon"
    for pid in children:
        os.kill(pid, signal.SIGKILL)
    launcher.kill()
    launcher.wait()
    game.wait_for("FAIL!! after the bus went", screens.check_outcome, OUTCOME_TIMEOUT)
    game.wait_for("the title after the bus went", screens.check_title, OUTCOME_PAUSE_MAX)
    assert len(game.output()) <= 1, game.output()


def test_a_bus_that_is_not_there_leaves_the_game_playing_with_at_most_one_line(launch, desktop):
    game = launch(env=dict(desktop.env, AT_SPI_BUS_ADDRESS="unix:path=/nonexistent/hoplin-a11y"))
    game.start_run()
    game.click(game.layout.stop)
    game.wait_for("the title after Stop", screens.check_title, SCREEN_TIMEOUT)
    assert len(game.output()) <= 1, game.output()


def test_without_a_sound_device_a_reader_hears_once_that_the_cues_are_off(launch, desktop, reader):
    game = launch(env=dict(desktop.env, SDL_AUDIODRIVER="nonesuch"))
    frame_of(reader)
    announced(reader)
    for run in ("first", "second"):
        reader.ask("click", path=[APP, "Start"])
        heard = hear(reader, f"the {run} start said", lambda heard: heard)
        reader.ask("click", path=[APP, "Stop"])
        hear(reader, f"the {run} stop said", lambda heard: "Game stopped" in heard)
        expected = "No sound device: audio cues are off. Game started" if run == "first" \
            else "Game started"
        assert heard == [expected], heard
    lines = game.output()
    assert len(lines) == 1 and "No sound device: audio cues are off" in lines[0], lines
