// What a run sounds like: the game's sounds, named for the events they go with.
#pragma once

#include <vector>

#include "platform/base/synth.h"

// The game's sounds, as AfxPlaySound takes them.
enum GameSound {
    kSoundStart,  // a run begins
    kSoundJump,
    kSoundGoal,
    kSoundFail,
    // For playing by ear: a soft tick on every tick of a run, and "jump now", two high notes
    // that nothing else sounds louder than, which stand out from the low sounds of a run.
    kSoundTick,
    kSoundJumpNow,
    kGameSoundCount
};

// How one of the sounds is made.
SoundSpec GameSoundDesign(GameSound sound);
// Every sound's design, each at its GameSound's index, as AfxSetSounds takes them.
std::vector<SoundSpec> GameSounds();
