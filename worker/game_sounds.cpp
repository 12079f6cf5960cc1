#include "worker/game_sounds.h"

namespace {

// Quiet enough to play under whatever else the player listens to; "jump now" the loudest.
constexpr double kLevel = 0.2;
constexpr double kTickLevel = 0.08;
constexpr double kJumpNowLevel = 0.3;

}  // namespace

std::vector<SoundSpec> GameSounds() {
    return {
        // Start: a rising fourth.
        {{{440, 90}, {587, 140}}, kLevel, false},
        // Jump: one short note.
        {{{330, 100}}, kLevel, false},
        // GOAL!!: a rising major triad.
        {{{262, 120}, {330, 120}, {392, 260}}, kLevel, false},
        // FAIL!!: two falling low notes.
        {{{147, 180}, {110, 320}}, kLevel, false},
        // The tick: very short and low.
        {{{196, 25}}, kTickLevel, false},
        // Jump now: two high notes, rising.
        {{{880, 80}, {1175, 110}}, kJumpNowLevel, true},
    };
}
