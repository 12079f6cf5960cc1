"""What the game sounds like, read from the file that SDL's disk driver writes as the game
plays (SDL_AUDIODRIVER=disk, SDL_DISKAUDIOFILE): 48 kHz, 16-bit, stereo, in real time."""

import array
import math
import os

RATE = 48000
CHANNELS = 2
FRAME_BYTES = 2 * CHANNELS
BLOCK = RATE // 100  # 10 ms
FULL_SCALE = 32767


def sound_env(env, path):
    """env with the game's sound written to the file at path."""
    return dict(env, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=path)


def amplitude(samples, hz):
    """The amplitude of the sine of hz in samples, through a Hann window, which keeps the
    neighbouring notes of the game's sounds from leaking in."""
    n = len(samples)
    coefficient = 2 * math.cos(2 * math.pi * hz / RATE)
    s1 = s2 = 0.0
    for i, value in enumerate(samples):
        window = 0.5 - 0.5 * math.cos(2 * math.pi * i / (n - 1))
        s1, s2 = value * window + coefficient * s1 - s2, s1
    power = max(0.0, s1 * s1 + s2 * s2 - coefficient * s1 * s2)
    # A Hann window keeps half of a sine's amplitude.
    return 4 * math.sqrt(power) / n


class Recording:
    """The sound file as the game writes it, read block by block as it grows. The game
    opens its sound device for each run, which empties the file; reading starts over then."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.pending = b""

    def blocks(self):
        """The mono blocks of BLOCK samples written since the last call."""
        try:
            size = os.path.getsize(self.path)
        except FileNotFoundError:
            return []
        if size < self.offset:
            self.offset, self.pending = 0, b""
        with open(self.path, "rb") as recording:
            recording.seek(self.offset)
            data = self.pending + recording.read(size - self.offset)
        self.offset = size
        whole = len(data) - len(data) % (BLOCK * FRAME_BYTES)
        self.pending = data[whole:]
        samples = array.array("h", data[:whole])[::CHANNELS]
        return [samples[i:i + BLOCK] for i in range(0, len(samples), BLOCK)]
