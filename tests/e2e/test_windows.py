"""Hoplin.exe, the Windows build, under Wine on the test's own X server: the title screen, a
run, a jump and its outcome, the About box through Windows' own system menu, Alt+F4, the
command line, and the zip and the installer.

The module's tests run Wine in a copy of the build's prefix (tests/windows/wine_prefix.py),
which Wine leaves when they end, so that nothing of it outlives them or meets the unit tests
in the build's prefix. There is no window manager: Wine then keeps the keyboard where the
pointer is, so a test points at the window it types into. Wine's own hidden helper windows
carry the game's process too, so only viewable windows count.
"""

import contextlib
import glob
import os
import subprocess
import zipfile

import pytest

from hoplin_e2e import desktop as parts
from hoplin_e2e import screens
from hoplin_e2e.game import JUMP_TIMEOUT, OUTCOME_TIMEOUT, SCREEN_TIMEOUT, Game

# Wine brings up its services in a prefix the first time; a busy machine may take a while.
WINE_START_TIMEOUT = 60.0
EXIT_TIMEOUT = 10.0
VERSION_LINE = "hoplin 1.0.0.2"
USAGE_START = "Usage: hoplin"
# Wine's language here is English, so the About box has the English resources' caption.
ABOUT_CAPTION = "About Hoplin"
PACKAGE = "hoplin-1.0.0.2-win64"
INSTALL_FOLDER = ("Program Files", "Hoplin")
INSTALLED_FILES = ("Hoplin.exe", "Uninstall.exe", "LICENSE.txt",
                   "locale/ja/LC_MESSAGES/hoplin.mo")
ZIPPED_FILES = ("Hoplin.exe", "LICENSE.txt", "locale/ja/LC_MESSAGES/hoplin.mo")
SHORTCUT = "Hoplin.lnk"
FONT_REPLACEMENTS = r"HKCU\Software\Wine\Fonts\Replacements"
FONT_WARNING = "hoplin: warning: fonts not installed: "
PACKAGING_TIMEOUT = 600.0
INSTALLER_TIMEOUT = 120.0


def wine_env(env, prefix):
    return dict(env, WINEPREFIX=prefix, WINEDEBUG="-all")


def wine(prefix, *args, timeout=WINE_START_TIMEOUT):
    """Runs a Windows program to its end, without a display; answers its completed process."""
    env = wine_env(os.environ, prefix)
    env.pop("DISPLAY", None)
    return subprocess.run(["wine", *args], env=env, capture_output=True, text=True,
                          timeout=timeout, check=False)


def end_wine(prefix):
    """Ends whatever Wine still runs in the prefix."""
    subprocess.run(["wineserver", "--kill"], env=wine_env(os.environ, prefix), check=False)


@pytest.fixture(scope="module")
def exe(request):
    return os.path.abspath(request.config.getoption("--hoplin"))


@pytest.fixture(scope="module")
def wine_prefix(request, tmp_path_factory, exe):
    """A copy of the build's prefix, with Wine's services already up in it."""
    prefix = str(tmp_path_factory.mktemp("wine") / "prefix")
    subprocess.run(["cp", "-a", request.config.getoption("--wine-prefix"), prefix], check=True)
    assert wine(prefix, exe, "--version").returncode == 0
    yield prefix
    end_wine(prefix)


@contextlib.contextmanager
def running_game(exe, prefix, desktop, artifacts, save_as):
    """Hoplin.exe started in the prefix and showing its title screen. Whatever of it is left
    at the end is ended."""
    game = Game("wine", desktop, wine_env(desktop.env, prefix), artifacts, 1, (exe,))
    try:
        parts.wait_until("Hoplin.exe's window", lambda: desktop.find(game),
                         WINE_START_TIMEOUT, game.proc, game.where_to_look())
        game.show(save_as=save_as)
        yield game
    finally:
        if game.proc.poll() is None:
            end_wine(prefix)
            game.proc.wait()


@pytest.fixture
def wine_game(exe, wine_prefix, desktop, artifacts):
    with running_game(exe, wine_prefix, desktop, artifacts, "title.png") as game:
        yield game


@pytest.fixture(scope="module")
def bare_prefix(wine_prefix, tmp_path_factory):
    """A copy of the module's prefix without the Japanese faces the game names, as on a
    Windows without its Japanese fonts."""
    prefix = str(tmp_path_factory.mktemp("wine-bare") / "prefix")
    subprocess.run(["cp", "-a", wine_prefix, prefix], check=True)
    assert wine(prefix, "reg", "delete", FONT_REPLACEMENTS, "/f").returncode == 0
    yield prefix
    end_wine(prefix)


def other_windows(game):
    """{window: name} of the game's viewable windows besides the main one."""
    return {w: name for w, name in game.windows().items()
            if w != game.window and game.screen.viewable(w)}


def test_version_help_and_a_wrong_option_on_the_console(exe, wine_prefix):
    version = wine(wine_prefix, exe, "--version")
    assert (version.returncode, version.stdout.splitlines()[:1]) == (0, [VERSION_LINE])
    usage = wine(wine_prefix, exe, "--help")
    assert usage.returncode == 0 and usage.stdout.startswith(USAGE_START), usage.stdout
    wrong = wine(wine_prefix, exe, "--fullscreen")
    assert wrong.returncode == 2 and "--fullscreen" in wrong.stderr, wrong.stderr


def test_a_run_starts_the_jumper_jumps_and_the_run_ends_in_goal_or_fail(wine_game):
    game = wine_game
    game.click(game.layout.start)
    game.wait_for("playing screen", screens.check_playing, SCREEN_TIMEOUT, save_as="playing.png")
    game.click(game.layout.title, repeat=2)
    game.wait_for("jumper above the ground", screens.check_airborne, JUMP_TIMEOUT,
                  save_as="jump.png")
    game.wait_for("GOAL!! or FAIL!! on the board", screens.check_outcome, OUTCOME_TIMEOUT,
                  save_as="outcome.png")
    game.wait_for("title screen after the run", screens.check_title, OUTCOME_TIMEOUT)


def test_windows_system_menu_opens_the_about_box_and_alt_f4_ends_the_game(wine_game):
    game = wine_game
    game.hover(screens.centre(game.layout.title))
    game.key("alt+space")
    menus = parts.wait_until("the system menu", lambda: other_windows(game), SCREEN_TIMEOUT,
                             game.proc)
    game.shoot(game.around(game.screen.geometry(next(iter(menus))))).save(
        game.artifacts.path("menu.png"))
    # The About entry is the menu's last.
    game.key("Up")
    game.key("Return")
    found = parts.wait_until(
        "the About box", lambda: [w for w, name in other_windows(game).items()
                                  if name == ABOUT_CAPTION], SCREEN_TIMEOUT, game.proc)
    origin, size = game.screen.geometry(found[0])
    game.shoot((origin, size)).save(game.artifacts.path("about.png"))
    game.hover((size[0] // 2, size[1] // 2), origin)
    game.key("Return")
    parts.wait_until("the About box gone", lambda: not other_windows(game), SCREEN_TIMEOUT,
                       game.proc)
    game.hover(screens.centre(game.layout.title))
    game.key("alt+F4")
    assert game.proc.wait(timeout=EXIT_TIMEOUT) == 0


def test_without_the_named_faces_one_warning_line_and_the_title_still_shows(exe, bare_prefix,
                                                                            desktop, artifacts):
    with running_game(exe, bare_prefix, desktop, artifacts, "title-without-the-faces.png") as game:
        warnings = [line for line in game.output() if line.startswith(FONT_WARNING)]
        assert len(warnings) == 1, f"expected one warning line, the game said {game.output()}"
        game.hover(screens.centre(game.layout.title))
        game.key("alt+F4")
        assert game.proc.wait(timeout=EXIT_TIMEOUT) == 0


@pytest.fixture(scope="module")
def packages(request):
    """The zip and the installer, made by cpack in the build folder."""
    build = os.path.abspath(request.config.getoption("--build-dir"))
    subprocess.run(["cpack", "-C", "RelWithDebInfo"], cwd=build, check=True,
                   capture_output=True, timeout=PACKAGING_TIMEOUT)
    return os.path.join(build, PACKAGE + ".zip"), os.path.join(build, PACKAGE + ".exe")


def test_the_zip_holds_the_game_its_translations_and_its_licence(packages):
    with zipfile.ZipFile(packages[0]) as archive:
        names = {name.split("/", 1)[1] for name in archive.namelist() if "/" in name}
    missing = [name for name in ZIPPED_FILES if name not in names]
    assert not missing, f"{packages[0]} lacks {missing}; it holds {sorted(names)}"


def test_the_installer_installs_the_game_with_a_shortcut_and_the_uninstaller_removes_it(
        packages, wine_prefix):
    folder = os.path.join(wine_prefix, "drive_c", *INSTALL_FOLDER)
    assert wine(wine_prefix, packages[1], "/S", timeout=INSTALLER_TIMEOUT).returncode == 0
    missing = [name for name in INSTALLED_FILES if not os.path.isfile(os.path.join(folder, name))]
    assert not missing, f"not installed in {folder}: {missing}"
    pattern = os.path.join(wine_prefix, "drive_c", "**", "Start Menu", "**", SHORTCUT)
    assert glob.glob(pattern, recursive=True), "no Start-menu shortcut"

    uninstaller = "C:\\" + "\\".join(INSTALL_FOLDER) + "\\Uninstall.exe"
    assert wine(wine_prefix, uninstaller, "/S", timeout=INSTALLER_TIMEOUT).returncode == 0
    # The uninstaller runs on from a copy of itself, and is done when Wine has ended.
    subprocess.run(["wineserver", "--wait"], env=wine_env(os.environ, wine_prefix),
                   timeout=INSTALLER_TIMEOUT, check=True)
    left = [name for name in INSTALLED_FILES if os.path.exists(os.path.join(folder, name))]
    assert not left, f"left in {folder} after uninstalling: {left}"
    assert not glob.glob(pattern, recursive=True), "the Start-menu shortcut is left"
