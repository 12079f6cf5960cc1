"""Fixtures of the end-to-end tests: a desktop of the test's own (an X server, a window
manager, weston, a session bus) and the real game on it.

A test asks for what it needs. `game` is the game on a bare X server, showing its title
screen; `launch` starts games of the test's choosing. The window manager is a parameter:

    @pytest.mark.parametrize("window_manager", ["openbox", "mutter"], indirect=True)
    def test_something(game): ...

Each test gets its own HOME, XDG folders, runtime folder and configuration files, and
inherits nothing of the caller's desktop. What a failed test leaves (screenshots, the game's
log and the desktop's) stays in <shots>/<module>.<test>/, which its failure names; a passing
test's folder is removed.
"""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import types

import pytest

from hoplin_e2e import desktop as parts
from hoplin_e2e import screens
from hoplin_e2e.game import Artifacts, Game, X11Desktop
from hoplin_e2e.xscreen import XScreen

PROJECT = os.path.abspath(os.path.join(os.path.dirname(__file__), os.pardir, os.pardir))
DEFAULT_BUILD = os.path.join(PROJECT, "build", "default")
WINDOWS_BUILD = os.path.join(PROJECT, "build", "windows")
# How long a game that is still running at the end of its test has to end after SIGTERM.
TERMINATE_TIMEOUT = 5.0
WESTON_OUTPUT = (800, 600)


def pytest_addoption(parser):
    parser.addoption("--hoplin", default=os.path.join(DEFAULT_BUILD, "app", "hoplin"),
                     help="the hoplin binary to test (default: the default build's)")
    parser.addoption("--shots", default=os.path.join(DEFAULT_BUILD, "e2e-shots"),
                     help="where failed tests keep their screenshots and logs")
    parser.addoption("--wine-prefix", default=os.path.join(WINDOWS_BUILD, "wine"),
                     help="the Wine prefix that the Windows build's tests run in")
    parser.addoption("--build-dir", default=WINDOWS_BUILD,
                     help="the Windows build's folder, where cpack makes its packages")


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    """Keeps a failed test's folder, with a screenshot of the whole screen, and names what
    is in it in the failure's report."""
    outcome = yield
    report = outcome.get_result()
    artifacts = item.funcargs.get("artifacts") if hasattr(item, "funcargs") else None
    if not report.failed or artifacts is None:
        return
    artifacts.keep = True
    screenshot = None
    if artifacts.snapshot is not None:
        try:
            screenshot = artifacts.snapshot()
        except Exception:  # the display may be the very thing that failed
            screenshot = None
    report.sections.append(("where to look", artifacts.where_to_look(screenshot).strip()))


@pytest.fixture(scope="session")
def hoplin(request):
    path = os.path.abspath(request.config.getoption("--hoplin"))
    if not os.access(path, os.X_OK):
        pytest.fail(f"no hoplin binary at {path}: build it first (./run.sh or ./test.sh), "
                    "or name one with --hoplin")
    return path


@pytest.fixture
def artifacts(request):
    name = re.sub(r"[^\w.=-]+", "-", f"{request.module.__name__}.{request.node.name}").strip("-")
    folder = os.path.join(os.path.abspath(request.config.getoption("--shots")), name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    kept = Artifacts(folder)
    yield kept
    if not kept.keep:
        shutil.rmtree(folder, ignore_errors=True)


@pytest.fixture
def home():
    """A folder of the test's own for the desktop's homes, configurations and sockets."""
    with tempfile.TemporaryDirectory(prefix="hoplin-e2e-") as folder:
        yield folder


@pytest.fixture
def desktop_log(artifacts):
    with artifacts.log("desktop.log") as log:
        yield log


@pytest.fixture
def xserver(home, desktop_log):
    """A fresh Xvfb: its process, the environment of its clients, and an Xlib connection."""
    proc, env = parts.start_xvfb(parts.own_environment(home), desktop_log)
    screen = XScreen(env["DISPLAY"])
    yield types.SimpleNamespace(proc=proc, env=env, screen=screen)
    if proc.poll() is None:
        screen.close()
    parts.stop(proc)


@pytest.fixture
def xscreen(xserver):
    """The Xlib connection to the test's X server."""
    return xserver.screen


@pytest.fixture
def session_bus(xserver, home, desktop_log):
    """A private D-Bus session bus; answers the environment of its clients."""
    proc, env = parts.start_session_bus(xserver.env, home, desktop_log)
    yield env
    parts.stop(proc)


@pytest.fixture
def window_manager(request, xserver, home, desktop_log):
    """The window manager the test runs under, by parameter: none (the default), "openbox",
    "mutter" or "kwin". Answers (manager or None, environment of the desktop's clients)."""
    name = getattr(request, "param", None)
    if name is None:
        yield None, xserver.env
        return
    manager = parts.WINDOW_MANAGERS[name]
    env = request.getfixturevalue("session_bus") if manager.needs_bus else xserver.env
    proc = manager.start(env, home, desktop_log, xserver.screen)
    yield manager, env
    parts.stop(proc)


@pytest.fixture
def desktop(xserver, window_manager, artifacts):
    """Where the game shows: the X server, under the window manager."""
    manager, env = window_manager
    shown = X11Desktop(xserver.screen, env, manager)
    artifacts.snapshot = lambda: snapshot(shown, artifacts)
    return shown


@pytest.fixture
def weston(request, xserver, home, desktop_log, artifacts):
    """Weston on the test's X server, its output at the scale of the parameter (default 1);
    answers (environment of its Wayland clients, output region on the X screen, scale)."""
    scale = getattr(request, "param", 1)
    size = tuple(n // scale for n in WESTON_OUTPUT) if scale > 1 else WESTON_OUTPUT
    proc, env, output = parts.start_weston(xserver.env, home, desktop_log, xserver.screen,
                                           scale, size)
    yield types.SimpleNamespace(proc=proc, env=env, output=output, scale=scale)
    parts.stop(proc)


def snapshot(shown, artifacts):
    path = artifacts.path("screen-at-failure.png")
    shown.screen.shoot(shown.whole_screen()).save(path)
    return path


@pytest.fixture
def launch(hoplin, desktop, artifacts):
    """Starts games on the desktop: launch(env=None, args=(), check=check_title, save_as=None,
    show=True) answers a Game whose window shows a screen that check finds (or, with show
    False, just started). At the end every game must have ended with its expected status,
    or end with 0 on SIGTERM, and have left no process behind."""
    started = []

    def start(env=None, args=(), check=screens.check_title, save_as=None, show=True):
        game = Game(hoplin, desktop, env or desktop.env, artifacts, len(started) + 1, args)
        started.append(game)
        if show:
            game.show(check, save_as)
        return game

    yield start
    problems = []
    for game in started:
        if game.proc.poll() is None:
            game.proc.send_signal(signal.SIGTERM)
            try:
                game.proc.wait(timeout=TERMINATE_TIMEOUT)
            except subprocess.TimeoutExpired:
                game.proc.kill()
                game.proc.wait()
                problems.append(f"{game.log_name}: still running {TERMINATE_TIMEOUT} s after "
                                "SIGTERM")
                continue
            game.expected_status = 0
        if game.proc.returncode != game.expected_status:
            problems.append(f"{game.log_name}: exit status {game.proc.returncode}, expected "
                            f"{game.expected_status}")
        left = game.leftovers()
        if left:
            problems.append(f"{game.log_name}: left {left} running")
    if problems:
        artifacts.keep = True
        pytest.fail("; ".join(problems) + artifacts.where_to_look(), pytrace=False)


@pytest.fixture
def game(launch):
    """The game showing its title screen."""
    return launch()
