// CSoundMixer: the program's sounds mixed into an audio device's buffers.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/base/synth.h"

// Any thread asks for a sound with Play, which neither locks nor waits: it counts a request
// that the device's thread takes up at its next buffer. One voice per sound: asked for again,
// a sound starts over.
class CSoundMixer {
public:
    static constexpr int kMaxSounds = 16;
    // How loud the other sounds are while a lead sound plays, and how long they take to get
    // there and back: a few milliseconds, so that no change of loudness clicks.
    static constexpr double kDuckGain = 0.25;
    static constexpr int kDuckRampMs = 5;
    static constexpr int kChannels = 2;

    // Synthesises the sounds, in the order they are named by Play.
    explicit CSoundMixer(const std::vector<SoundSpec>& designs, int nSampleRate = kSoundSampleRate);

    // Any thread. A sound the mixer does not have is ignored.
    void Play(int nSound);
    // Writes the next nFrames interleaved stereo frames to pFrames. The device's thread.
    void Mix(std::int16_t* pFrames, int nFrames);
    // Ramps whatever sounds down to silence over the next buffer, and forgets what was asked
    // for, for a device that is about to close.
    void FadeOut();
    // Whether the last buffer ended in silence, with nothing left to play.
    bool IsSilent() const { return m_bSilent.load(); }

private:
    struct Sound {
        std::vector<std::int16_t> samples;
        bool bLead;
        std::size_t nPos;  // where its voice is; samples.size() when it is silent
    };
    // Starts the voices of the sounds asked for since the last buffer.
    void TakeRequests();
    bool IsLeadPlaying() const;
    // The next frame's gain for the sounds under a lead one, on its ramp.
    double NextDuckGain();

    std::vector<Sound> m_sounds;
    std::array<std::atomic<std::uint32_t>, kMaxSounds> m_requests{};
    std::array<std::uint32_t, kMaxSounds> m_taken{};
    double m_dDuckGain = 1.0;
    double m_dDuckStep;
    std::atomic<bool> m_bFade{false};
    std::atomic<bool> m_bSilent{true};
};
