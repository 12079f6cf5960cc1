#include "platform/win32/winmm_audio.h"

// windows.h first: the headers beside it need its types.
#include <windows.h>

#include <mmsystem.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace {

// Frames per buffer: 512 at 48 kHz are 10.7 ms; four of them keep the device fed while the
// refilling thread waits its turn.
constexpr int kBufferFrames = 512;
constexpr int kBufferCount = 4;
constexpr int kBytesPerSample = sizeof(std::int16_t);

class CWinmmAudio : public CSoundDriver {
public:
    bool Open(CSoundMixer* pMixer) override {
        m_pMixer = pMixer;
        m_hDone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = CSoundMixer::kChannels;
        format.nSamplesPerSec = kSoundSampleRate;
        format.wBitsPerSample = 8 * kBytesPerSample;
        format.nBlockAlign = static_cast<WORD>(format.nChannels * kBytesPerSample);
        format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
        const MMRESULT result =
            waveOutOpen(&m_hDevice, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(m_hDone), 0,
                        CALLBACK_EVENT);
        if (m_hDone == nullptr || result != MMSYSERR_NOERROR) {
            m_strError = Describe(result);
            CloseHandle(m_hDone);
            m_hDone = nullptr;
            m_hDevice = nullptr;
            return false;
        }
        m_strError.clear();
        for (Buffer& buffer : m_buffers) {
            Prepare(buffer);
            Refill(buffer);
        }
        m_bStopping = false;
        m_thread = std::thread([this] { Feed(); });
        return true;
    }

    void Close() override {
        if (m_hDevice == nullptr) {
            return;
        }
        m_bStopping = true;
        SetEvent(m_hDone);
        m_thread.join();
        waveOutReset(m_hDevice);
        for (Buffer& buffer : m_buffers) {
            waveOutUnprepareHeader(m_hDevice, &buffer.header, sizeof(buffer.header));
        }
        waveOutClose(m_hDevice);
        CloseHandle(m_hDone);
        m_hDevice = nullptr;
        m_hDone = nullptr;
    }

    const char* LastError() const override { return m_strError.c_str(); }

private:
    struct Buffer {
        std::vector<std::int16_t> samples =
            std::vector<std::int16_t>(kBufferFrames * CSoundMixer::kChannels);
        WAVEHDR header{};
    };

    static std::string Describe(MMRESULT result) {
        wchar_t szText[MAXERRORLENGTH] = L"";
        waveOutGetErrorTextW(result, szText, MAXERRORLENGTH);
        char szUtf8[4 * MAXERRORLENGTH] = "";
        WideCharToMultiByte(CP_UTF8, 0, szText, -1, szUtf8, sizeof(szUtf8), nullptr, nullptr);
        return *szUtf8 != '\0' ? szUtf8 : "no wave output device";
    }

    void Prepare(Buffer& buffer) {
        buffer.header = WAVEHDR{};
        buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.samples.data());
        buffer.header.dwBufferLength =
            static_cast<DWORD>(buffer.samples.size() * sizeof(std::int16_t));
        waveOutPrepareHeader(m_hDevice, &buffer.header, sizeof(buffer.header));
    }

    void Refill(Buffer& buffer) {
        m_pMixer->Mix(buffer.samples.data(), kBufferFrames);
        waveOutWrite(m_hDevice, &buffer.header, sizeof(buffer.header));
    }

    // The device's thread: each buffer that has played goes back full.
    void Feed() {
        while (WaitForSingleObject(m_hDone, INFINITE) == WAIT_OBJECT_0 && !m_bStopping) {
            for (Buffer& buffer : m_buffers) {
                if ((buffer.header.dwFlags & WHDR_DONE) != 0) {
                    buffer.header.dwFlags &= ~WHDR_DONE;
                    Refill(buffer);
                }
            }
        }
    }

    CSoundMixer* m_pMixer = nullptr;
    HWAVEOUT m_hDevice = nullptr;
    HANDLE m_hDone = nullptr;
    std::array<Buffer, kBufferCount> m_buffers;
    std::atomic<bool> m_bStopping{false};
    std::thread m_thread;
    std::string m_strError;
};

}  // namespace

CSoundDriver& AfxWinmmAudio() {
    static CWinmmAudio s_audio;
    return s_audio;
}
