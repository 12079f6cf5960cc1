#include "platform/sdl/sdl_audio.h"

#include <dlfcn.h>

namespace {

// SDL links ALSA, whose library writes its own lines to stderr when it finds no card; the
// program says what failed in one line of its own instead.
constexpr const char* kAlsaLibrary = "libasound.so.2";
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using SetAlsaErrorHandler = int (*)(AlsaErrorHandler);

void SayNothing(const char* /*pszFile*/, int /*nLine*/, const char* /*pszFunction*/, int /*nError*/,
                const char* /*pszFormat*/, ...) {}

void SilenceAlsa() {
    void* pLibrary = dlopen(kAlsaLibrary, RTLD_NOW | RTLD_NOLOAD);
    if (pLibrary == nullptr) {
        return;
    }
    if (const auto pfnSet =
            reinterpret_cast<SetAlsaErrorHandler>(dlsym(pLibrary, "snd_lib_error_set_handler"))) {
        pfnSet(SayNothing);
    }
    dlclose(pLibrary);
}

void SDLCALL MixInto(void* pUserData, Uint8* pStream, int nBytes) {
    static_cast<CSoundMixer*>(pUserData)->Mix(
        reinterpret_cast<std::int16_t*>(pStream),
        nBytes / static_cast<int>(CSoundMixer::kChannels * sizeof(std::int16_t)));
}

}  // namespace

bool CSdlAudio::Open(CSoundMixer* pMixer) {
    // The subsystem starts only now, with the first sound, and stops again with the device:
    // a sound server's connection and the device's thread then cost nothing at the title.
    SilenceAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        m_strError = SDL_GetError();
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = kSoundSampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = CSoundMixer::kChannels;
    wanted.samples = kBufferFrames;
    wanted.callback = MixInto;
    wanted.userdata = pMixer;
    // With no changes allowed, SDL converts to whatever the device takes.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (m_device == 0) {
        m_strError = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void CSdlAudio::Close() {
    SDL_CloseAudioDevice(m_device);
    m_device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

CSdlAudio& AfxSdlAudio() {
    static CSdlAudio s_audio;
    return s_audio;
}
