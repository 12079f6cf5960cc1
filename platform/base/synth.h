// Sounds made by the program itself: tones shaped by an envelope, synthesised into samples.
// No sound files, and nothing here needs a device.
#pragma once

#include <cstdint>
#include <vector>

// One tone of a sound: a sine of dHz, nMs milliseconds long.
struct Tone {
    double dHz;
    int nMs;
};

// A sound: its tones one after another, each faded in and out smoothly so that it starts and
// ends without a click, at a peak of dLevel (1 is full scale). While a lead sound plays,
// nothing else sounds louder.
struct SoundSpec {
    std::vector<Tone> tones;
    double dLevel;
    bool bLead;
};

constexpr int kSoundSampleRate = 48000;
// The sine waves' and the fades' pi: C++17 has no standard name for it.
constexpr double kPi = 3.14159265358979323846;

// The sound as mono 16-bit samples at nSampleRate.
std::vector<std::int16_t> AfxSynthesize(const SoundSpec& design,
                                        int nSampleRate = kSoundSampleRate);
