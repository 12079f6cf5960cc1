#include "platform/base/synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFullScale = 32767.0;
constexpr int kMillisecondsPerSecond = 1000;
// The envelope's fades, at most; a short tone fades over a quarter (in) and a half (out) of
// its length.
constexpr int kAttackMs = 5;
constexpr int kReleaseMs = 25;

// 0 to 1 over n samples along half a cosine, which has no corner for the ear to hear.
double Fade(int i, int n) {
    return n <= 0 ? 1.0 : 0.5 - 0.5 * std::cos(kPi * std::min(i, n) / n);
}

}  // namespace

std::vector<std::int16_t> AfxSynthesize(const SoundSpec& design, int nSampleRate) {
    std::vector<std::int16_t> samples;
    for (const Tone& tone : design.tones) {
        const int n = tone.nMs * nSampleRate / kMillisecondsPerSecond;
        const int nAttack = std::min(kAttackMs * nSampleRate / kMillisecondsPerSecond, n / 4);
        const int nRelease = std::min(kReleaseMs * nSampleRate / kMillisecondsPerSecond, n / 2);
        for (int i = 0; i < n; ++i) {
            const double dEnvelope = Fade(i, nAttack) * Fade(n - 1 - i, nRelease);
            const double dWave = std::sin(2 * kPi * tone.dHz * i / nSampleRate);
            samples.push_back(
                static_cast<std::int16_t>(kFullScale * design.dLevel * dEnvelope * dWave));
        }
    }
    return samples;
}
