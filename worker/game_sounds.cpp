#include "worker/game_sounds.h"

namespace {

// Quiet enough to play under whatever else the player listens to; "jump now" the loudest.
constexpr double kLevel = 0.2;
constexpr double kTickLevel = 0.08;
constexpr double kJumpNowLevel = 0.3;

}  // namespace

SoundSpec GameSoundDesign(GameSound sound) {
    switch (sound) {
        case kSoundStart:  // a rising fourth
            return {{{440, 90}, {587, 140}}, kLevel, false};
        case kSoundJump:  // one short note
            return {{{330, 100}}, kLevel, false};
        case kSoundGoal:  // a rising major triad
            return {{{262, 120}, {330, 120}, {392, 260}}, kLevel, false};
        case kSoundFail:  // two falling low notes
            return {{{147, 180}, {110, 320}}, kLevel, false};
        case kSoundTick:  // very short and low
            return {{{196, 25}}, kTickLevel, false};
        case kSoundJumpNow:  // two high notes, rising
            return {{{880, 80}, {1175, 110}}, kJumpNowLevel, true};
        case kGameSoundCount:
            break;
    }
    return {{}, 0, false};
}

std::vector<SoundSpec> GameSounds() {
    std::vector<SoundSpec> designs;
    for (int n = 0; n < kGameSoundCount; ++n) {
        designs.push_back(GameSoundDesign(static_cast<GameSound>(n)));
    }
    return designs;
}
