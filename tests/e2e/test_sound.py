"""The game's sounds, as SDL's disk driver records them, and a player who plays by ear: the
audio cues, the menu's sound items and the settings file, and a game without sound."""

import os
import time

import pytest

from hoplin_e2e import desktop as parts
from hoplin_e2e import screens
from hoplin_e2e.game import OUTCOME_PAUSE_MAX, OUTCOME_TIMEOUT, SCREEN_TIMEOUT, STOP_TIMEOUT
from hoplin_e2e.sound import BLOCK, FULL_SCALE, RATE, Recording, amplitude, sound_env

# "Jump now" is two notes from 880 Hz up, the loudest sound of a run; the rest stay low.
JUMP_NOW_HZ = 880
JUMP_NOW_HEARD = 0.1 * FULL_SCALE
HIGH_FROM_HZ, HIGH_TO_HZ, HIGH_STEP_HZ = 800, 3000, 100
HIGH_HEARD = 0.01 * FULL_SCALE
SILENCE = 50  # the loudest sample of a block that holds no sound
RUNS = 10
# A won run takes 51 ticks of 0.3 s, then the outcome pause and the title.
RUN_TIMEOUT = 25.0
POLL = 0.002  # between looks at the recording, well inside a tick


def settings_path(env):
    return os.path.join(env["XDG_CONFIG_HOME"], "hoplin", "settings")


def with_settings(env, text):
    path = settings_path(env)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as settings:
        settings.write(text)
    return env


@pytest.fixture
def recorded(desktop, artifacts):
    """The game's environment with its sound recorded, and the recording's path."""
    path = artifacts.path("sound.raw")
    return sound_env(desktop.env, path), path


def listen_and_jump(game, recording):
    """Plays one run by ear: presses Space as each "jump now" begins, and nothing else, until
    the board shows the outcome; answers that screenshot."""
    deadline = time.monotonic() + RUN_TIMEOUT
    cue_before = False
    next_look = 0.0
    while time.monotonic() < deadline:
        for block in recording.blocks():
            cue = amplitude(block, JUMP_NOW_HZ) > JUMP_NOW_HEARD
            if cue and not cue_before:
                game.key("space")
            cue_before = cue
        if time.monotonic() > next_look:
            shot = game.shoot()
            if not screens.check_outcome(shot, game.layout):
                return shot
            next_look = time.monotonic() + 0.25
        time.sleep(POLL)
    raise AssertionError(f"no outcome within {RUN_TIMEOUT} s{game.where_to_look()}")


@pytest.mark.timeout(RUNS * 2 * RUN_TIMEOUT)
def test_a_player_who_only_listens_and_jumps_at_every_cue_wins_ten_runs_of_ten(launch, recorded):
    env, path = recorded
    game = launch(env=with_settings(env, "audio-cues = on\n"))
    recording = Recording(path)
    for run in range(1, RUNS + 1):
        game.key("space")
        game.wait_for(f"run {run} under way", screens.check_running, SCREEN_TIMEOUT)
        outcome = listen_and_jump(game, recording)
        # Past the goal, the jumper has left the board; a hit leaves it on an obstacle.
        assert not screens.jumper_pixels(outcome, game.layout), \
            f"run {run} ended in FAIL!!{game.where_to_look()}"
        game.wait_for(f"the title after run {run}", screens.check_title, OUTCOME_PAUSE_MAX)


def test_with_audio_cues_off_a_run_sounds_nothing_high(launch, recorded):
    env, path = recorded
    game = launch(env=env)
    game.start_run()
    game.wait_for("FAIL!!", screens.check_outcome, OUTCOME_TIMEOUT)
    game.wait_for("the title after the run", screens.check_title, OUTCOME_PAUSE_MAX)
    blocks = [b + c for b, c in zip(*[iter(Recording(path).blocks())] * 2)]  # 20 ms each
    heard = [b for b in blocks if max(map(abs, b)) > SILENCE]
    assert heard, "the run made no sound at all"
    for i, block in enumerate(blocks):
        if max(map(abs, block)) > SILENCE:
            loudest = max(range(HIGH_FROM_HZ, HIGH_TO_HZ, HIGH_STEP_HZ),
                          key=lambda hz: amplitude(block, hz))
            assert amplitude(block, loudest) < HIGH_HEARD, \
                f"{loudest} Hz at {i * 2 * BLOCK / RATE:.2f} s into the run"


def test_the_menus_sound_and_audio_cues_items_and_m_turn_them_on_and_off_and_the_file_keeps_it(
        game, desktop):
    path = settings_path(desktop.env)

    def file_says(text):
        parts.wait_until(f"the settings file saying {text!r}",
                         lambda: os.path.exists(path) and open(path).read() == text,
                         SCREEN_TIMEOUT)

    game.open_menu()
    game.key("s")
    file_says("sound = off\n")
    game.open_menu()
    game.key("u")
    file_says("sound = off\naudio-cues = on\n")
    game.key("m")
    file_says("sound = on\naudio-cues = on\n")


@pytest.mark.parametrize("driver", ["nonesuch", None], ids=["no-such-driver", "sdls-choice"])
def test_without_a_sound_device_the_game_plays_and_says_at_most_one_line(launch, desktop, driver):
    env = dict(desktop.env, SDL_AUDIODRIVER=driver) if driver else \
        {k: v for k, v in desktop.env.items() if k != "SDL_AUDIODRIVER"}
    game = launch(env=env)
    for run in ("first", "second"):
        game.start_run()
        game.click(game.layout.stop)
        game.wait_for(f"the title after the {run} run", screens.check_title, STOP_TIMEOUT)
    began = time.monotonic()
    game.click(game.layout.exit)
    game.expect_exit("Exit", began)
    assert len(game.output()) <= 1, game.output()
