#include "platform/base/sound_mixer.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kMillisecondsPerSecond = 1000;

}  // namespace

CSoundMixer::CSoundMixer(const std::vector<SoundSpec>& designs, int nSampleRate)
    : m_dDuckStep((1.0 - kDuckGain) * kMillisecondsPerSecond / (kDuckRampMs * nSampleRate)) {
    for (const SoundSpec& design : designs) {
        if (m_sounds.size() < static_cast<size_t>(kMaxSounds)) {
            std::vector<std::int16_t> samples = AfxSynthesize(design, nSampleRate);
            const size_t nEnd = samples.size();
            m_sounds.push_back(Sound{std::move(samples), design.bLead, nEnd});
        }
    }
}

void CSoundMixer::Play(int nSound) {
    if (nSound >= 0 && nSound < static_cast<int>(m_sounds.size())) {
        m_requests[static_cast<size_t>(nSound)].fetch_add(1, std::memory_order_release);
    }
}

void CSoundMixer::TakeRequests() {
    for (size_t i = 0; i < m_sounds.size(); ++i) {
        const std::uint32_t nAsked = m_requests[i].load(std::memory_order_acquire);
        if (nAsked != m_taken[i]) {
            m_taken[i] = nAsked;
            m_sounds[i].nPos = 0;
        }
    }
}

bool CSoundMixer::IsLeadPlaying() const {
    return std::any_of(m_sounds.begin(), m_sounds.end(), [](const Sound& sound) {
        return sound.bLead && sound.nPos < sound.samples.size();
    });
}

double CSoundMixer::NextDuckGain() {
    const double dTarget = IsLeadPlaying() ? kDuckGain : 1.0;
    m_dDuckGain = m_dDuckGain > dTarget ? std::max(dTarget, m_dDuckGain - m_dDuckStep)
                                        : std::min(dTarget, m_dDuckGain + m_dDuckStep);
    return m_dDuckGain;
}

void CSoundMixer::Mix(std::int16_t* pFrames, int nFrames) {
    const bool bFade = m_bFade.exchange(false);
    TakeRequests();
    for (int n = 0; n < nFrames; ++n) {
        const double dDuckGain = NextDuckGain();
        double dSum = 0;
        for (Sound& sound : m_sounds) {
            if (sound.nPos < sound.samples.size()) {
                dSum += sound.samples[sound.nPos++] * (sound.bLead ? 1.0 : dDuckGain);
            }
        }
        if (bFade) {
            dSum *= 1.0 - static_cast<double>(n + 1) / nFrames;
        }
        const auto nSample = static_cast<std::int16_t>(
            std::clamp(dSum, static_cast<double>(std::numeric_limits<std::int16_t>::min()),
                       static_cast<double>(std::numeric_limits<std::int16_t>::max())));
        std::fill_n(pFrames + n * kChannels, kChannels, nSample);
    }
    bool bSilent = true;
    for (Sound& sound : m_sounds) {
        if (bFade) {
            sound.nPos = sound.samples.size();
        }
        bSilent = bSilent && sound.nPos >= sound.samples.size();
    }
    m_bSilent = bSilent;
}

void CSoundMixer::FadeOut() {
    m_bFade = true;
}
