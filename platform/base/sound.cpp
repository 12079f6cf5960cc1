#include "platform/base/sound.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace {

// How long a closing device may take to fade out what still sounds: two buffers of the
// longest kind a device is opened with.
constexpr std::chrono::milliseconds kFadeTimeout(50);
constexpr std::chrono::milliseconds kFadePoll(1);

// Plays nowhere: every device it opens swallows the sound.
class CNoSound : public CSoundDriver {
public:
    bool Open(CSoundMixer* /*pMixer*/) override { return true; }
    void Close() override {}
    const char* LastError() const override { return ""; }
};

CNoSound g_noSound;
CSoundDriver* g_pDriver = &g_noSound;
std::vector<SoundSpec> g_designs;
std::unique_ptr<CSoundMixer> g_pMixer;
bool g_bEnabled = true;
std::string g_strError;
// Read by any thread that plays a sound; the mixer, once made, lives until the program ends.
std::atomic<CSoundMixer*> g_pOpenMixer{nullptr};

}  // namespace

CSoundDriver& AfxSound() {
    return *g_pDriver;
}

void AfxSetSoundDriver(CSoundDriver* pDriver) {
    g_pDriver = pDriver != nullptr ? pDriver : &g_noSound;
}

void AfxSetSounds(std::vector<SoundSpec> designs) {
    g_designs = std::move(designs);
}

void AfxEnableSound(bool bEnable) {
    g_bEnabled = bEnable;
    if (!bEnable) {
        AfxCloseSound();
    }
}

bool AfxIsSoundEnabled() {
    return g_bEnabled;
}

bool AfxOpenSound() {
    if (!g_bEnabled || !g_strError.empty() || g_pOpenMixer.load() != nullptr) {
        return g_bEnabled && g_strError.empty();
    }
    if (g_pMixer == nullptr) {
        g_pMixer = std::make_unique<CSoundMixer>(g_designs);
    }
    if (!g_pDriver->Open(g_pMixer.get())) {
        g_strError = g_pDriver->LastError();
        // A driver that gives no reason still failed.
        g_strError = g_strError.empty() ? "?" : g_strError;
        return false;
    }
    g_pOpenMixer = g_pMixer.get();
    return true;
}

const char* AfxGetSoundError() {
    return g_strError.c_str();
}

void AfxCloseSound() {
    CSoundMixer* pMixer = g_pOpenMixer.exchange(nullptr);
    if (pMixer == nullptr) {
        return;
    }
    // Cut off mid-wave, a sound would end in a click.
    if (!pMixer->IsSilent()) {
        pMixer->FadeOut();
        const auto deadline = std::chrono::steady_clock::now() + kFadeTimeout;
        while (!pMixer->IsSilent() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(kFadePoll);
        }
    }
    g_pDriver->Close();
}

void AfxPlaySound(int nSound) {
    if (CSoundMixer* pMixer = g_pOpenMixer.load()) {
        pMixer->Play(nSound);
    }
}
