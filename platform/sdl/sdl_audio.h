// The sound driver on SDL2's audio: 48 kHz, 16-bit stereo, in buffers of about 11 ms, so that
// a sound starts within a frame of being asked for. The sdl layer's own.
#pragma once

#include <SDL.h>

#include <string>

#include "platform/base/sound.h"

class CSdlAudio : public CSoundDriver {
public:
    // Frames per buffer: 512 at 48 kHz are 10.7 ms.
    static constexpr Uint16 kBufferFrames = 512;

    bool Open(CSoundMixer* pMixer) override;
    void Close() override;
    const char* LastError() const override { return m_strError.c_str(); }

private:
    SDL_AudioDeviceID m_device = 0;
    std::string m_strError;
};

CSdlAudio& AfxSdlAudio();
