// What a run sounds like: the game's sounds, named for the events they go with.
#pragma once

#include <vector>

#include "platform/base/synth.h"

// Indices of the sounds in GameSounds(), as AfxPlaySound takes them.
enum GameSound {
    kSoundStart,  // a run begins
    kSoundJump,
    kSoundGoal,
    kSoundFail,
    // For playing by ear: a soft tick on every tick of a run, and "jump now", two high notes
    // that nothing else sounds louder than, which stand out from the low sounds of a run.
    kSoundTick,
    kSoundJumpNow,
};

// The sounds, in the order of GameSound. Every sound of a run but the start's keeps its
// fundamental below kLowSoundsBelowHz, and "jump now" at kJumpNowFromHz and above.
std::vector<SoundSpec> GameSounds();

constexpr double kLowSoundsBelowHz = 400;
constexpr double kJumpNowFromHz = 800;
