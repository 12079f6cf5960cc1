#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/base/sound_mixer.h"
#include "platform/base/synth.h"
#include "worker/game_sounds.h"

namespace {

constexpr double kFrequencyTolerance = 0.03;
// Every sound of a run but the start's keeps its fundamental low, and "jump now" high.
constexpr double kLowSoundsBelowHz = 400;
constexpr double kJumpNowFromHz = 800;
constexpr int kSamplesPerMs = kSoundSampleRate / 1000;
constexpr int kSecondMs = 1000;

// The frequency of samples[first, last) from its zero crossings.
double MeasuredHz(const std::vector<std::int16_t>& samples, size_t first, size_t last) {
    int nCrossings = 0;
    for (size_t i = first + 1; i < last; ++i) {
        nCrossings += (samples[i - 1] < 0) != (samples[i] < 0);
    }
    return nCrossings / 2.0 * kSoundSampleRate / static_cast<double>(last - first);
}

int Peak(const std::vector<std::int16_t>& samples) {
    int nPeak = 0;
    for (const std::int16_t n : samples) {
        nPeak = std::max(nPeak, std::abs(static_cast<int>(n)));
    }
    return nPeak;
}

TEST(GameSounds, EachSoundHasItsNotesAndLengthAndOnlyJumpNowSoundsHighDuringARun) {
    // The notes of each sound (Hz, ms), as heard: measured on its samples.
    const struct {
        GameSound sound;
        std::vector<Tone> notes;
    } kExpected[] = {
        {kSoundStart, {{440, 90}, {587, 140}}},
        {kSoundJump, {{330, 100}}},
        {kSoundGoal, {{262, 120}, {330, 120}, {392, 260}}},
        {kSoundFail, {{147, 180}, {110, 320}}},
        {kSoundTick, {{196, 25}}},
        {kSoundJumpNow, {{880, 80}, {1175, 110}}},
    };
    const std::vector<SoundSpec> designs = GameSounds();
    ASSERT_EQ(designs.size(), std::size(kExpected));
    int nLoudestOther = 0;
    for (const auto& expected : kExpected) {
        const std::vector<std::int16_t> samples = AfxSynthesize(designs[expected.sound]);
        size_t nStart = 0;
        for (const Tone& note : expected.notes) {
            const size_t nLength = static_cast<size_t>(note.nMs * kSamplesPerMs);
            // The middle of the note, away from its fades.
            const double dHz = MeasuredHz(samples, nStart + nLength / 4, nStart + nLength * 3 / 4);
            EXPECT_NEAR(dHz, note.dHz, note.dHz * kFrequencyTolerance) << expected.sound;
            const bool bJumpNow = expected.sound == kSoundJumpNow;
            if (expected.sound != kSoundStart) {
                EXPECT_EQ(dHz >= kJumpNowFromHz, bJumpNow) << expected.sound;
                EXPECT_EQ(dHz < kLowSoundsBelowHz, !bJumpNow) << expected.sound;
            }
            nStart += nLength;
        }
        EXPECT_EQ(samples.size(), nStart) << expected.sound;
        EXPECT_LT(samples.size(), static_cast<size_t>(kSecondMs * kSamplesPerMs));
        if (expected.sound != kSoundJumpNow) {
            nLoudestOther = std::max(nLoudestOther, Peak(samples));
        }
    }
    EXPECT_GT(Peak(AfxSynthesize(designs[kSoundJumpNow])), nLoudestOther);
}

// Mono samples of what the mixer plays over nFrames.
std::vector<std::int16_t> MixMono(CSoundMixer& mixer, int nFrames) {
    std::vector<std::int16_t> stereo(static_cast<size_t>(nFrames * CSoundMixer::kChannels));
    mixer.Mix(stereo.data(), nFrames);
    std::vector<std::int16_t> mono;
    for (size_t i = 0; i < stereo.size(); i += CSoundMixer::kChannels) {
        EXPECT_EQ(stereo[i], stereo[i + 1]);
        mono.push_back(stereo[i]);
    }
    return mono;
}

const std::vector<SoundSpec> kLowAndLead = {{{{330, 200}}, 0.2, false}, {{{880, 100}}, 0.3, true}};
constexpr int kLow = 0;
constexpr int kLead = 1;
constexpr int kBufferFrames = 512;

TEST(SoundMixer, ASoundAskedForStartsWithTheNextBufferAndStartsOverWhenAskedAgain) {
    CSoundMixer mixer(kLowAndLead);
    EXPECT_EQ(Peak(MixMono(mixer, kBufferFrames)), 0);
    EXPECT_TRUE(mixer.IsSilent());
    mixer.Play(kLow);
    const std::vector<std::int16_t> first = MixMono(mixer, kBufferFrames);
    EXPECT_GT(Peak(first), 0);
    EXPECT_FALSE(mixer.IsSilent());
    mixer.Play(kLow);
    EXPECT_EQ(MixMono(mixer, kBufferFrames), first);
    mixer.Play(CSoundMixer::kMaxSounds);  // a sound it does not have
}

TEST(SoundMixer, WhileTheLeadSoundPlaysNothingElseIsLouder) {
    CSoundMixer both(kLowAndLead);
    CSoundMixer leadAlone(kLowAndLead);
    both.Play(kLow);
    both.Play(kLead);
    leadAlone.Play(kLead);
    const int nLeadFrames = 100 * kSamplesPerMs;
    const std::vector<std::int16_t> mixed = MixMono(both, nLeadFrames);
    const std::vector<std::int16_t> lead = MixMono(leadAlone, nLeadFrames);
    std::vector<std::int16_t> others;
    for (size_t i = 0; i < mixed.size(); ++i) {
        others.push_back(static_cast<std::int16_t>(mixed[i] - lead[i]));
    }
    EXPECT_LT(Peak(others), Peak(lead) * CSoundMixer::kDuckGain * 2);
}

TEST(SoundMixer, ASoundThatStartsUnderTheLeadAndOutlivesItHasNoStepInItsLoudness) {
    CSoundMixer both(kLowAndLead);
    CSoundMixer leadAlone(kLowAndLead);
    both.Play(kLead);
    leadAlone.Play(kLead);
    constexpr int kBeforeLowMs = 30;
    constexpr int kMixedMs = 250;
    MixMono(both, kBeforeLowMs * kSamplesPerMs);
    MixMono(leadAlone, kBeforeLowMs * kSamplesPerMs);
    both.Play(kLow);
    // Buffer by buffer, as a device takes them; the lead ends in the middle of one.
    std::vector<std::int16_t> others;
    for (int nFrames = 0; nFrames < kMixedMs * kSamplesPerMs; nFrames += kBufferFrames) {
        const std::vector<std::int16_t> mixed = MixMono(both, kBufferFrames);
        const std::vector<std::int16_t> lead = MixMono(leadAlone, kBufferFrames);
        for (size_t i = 0; i < mixed.size(); ++i) {
            others.push_back(static_cast<std::int16_t>(mixed[i] - lead[i]));
        }
    }
    int nSteepest = 0;
    for (size_t i = 1; i < others.size(); ++i) {
        nSteepest = std::max(nSteepest, std::abs(others[i] - others[i - 1]));
    }
    // The low sound's own steepest slope, and a little for the loudness on its ramp.
    const double dSineSlope = 2 * kPi * 330 / kSoundSampleRate * 0.2 * INT16_MAX;
    EXPECT_LE(nSteepest, dSineSlope * 1.2);
    EXPECT_GT(Peak(others), 0.9 * 0.2 * INT16_MAX);  // at full loudness once the lead is over
}

TEST(SoundMixer, AFadeOutRampsToSilenceWithinOneBufferAndForgetsTheRest) {
    CSoundMixer mixer(kLowAndLead);
    mixer.Play(kLow);
    MixMono(mixer, kBufferFrames);
    mixer.FadeOut();
    const std::vector<std::int16_t> faded = MixMono(mixer, kBufferFrames);
    EXPECT_EQ(faded.back(), 0);
    // No step larger than the loudest sound's own steepest one: the ramp adds no click.
    int nSteepest = 0;
    for (size_t i = 1; i < faded.size(); ++i) {
        nSteepest = std::max(nSteepest, std::abs(faded[i] - faded[i - 1]));
    }
    const double dSineSlope = 2 * kPi * 330 / kSoundSampleRate * 0.2 * INT16_MAX;
    EXPECT_LE(nSteepest, dSineSlope + 1);
    EXPECT_TRUE(mixer.IsSilent());
    EXPECT_EQ(Peak(MixMono(mixer, kBufferFrames)), 0);
}

TEST(SoundMixer, OtherThreadsAskForSoundsWhileTheDeviceMixes) {
    CSoundMixer mixer(kLowAndLead);
    std::atomic<bool> bDone{false};
    std::thread worker([&] {
        for (int i = 0; i < 1000; ++i) {
            mixer.Play(i % 2);
        }
        bDone = true;
    });
    while (!bDone) {
        MixMono(mixer, kBufferFrames);
    }
    worker.join();
    EXPECT_GT(Peak(MixMono(mixer, kBufferFrames)), 0);
}

}  // namespace
