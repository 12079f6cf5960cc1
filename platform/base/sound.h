// The program's sounds: the game names them once, and they play through the sound driver
// that start-up installs, as windows reach the screen through theirs (platform/README.md).
// Nothing is opened before the game asks for it, and a device that cannot be opened leaves
// the game silent; the game says so, as it sees fit.
#pragma once

#include <vector>

#include "platform/base/sound_mixer.h"
#include "platform/base/synth.h"

// Until a backend installs its driver, one that plays nowhere serves.
class CSoundDriver {
public:
    virtual ~CSoundDriver() = default;
    // Opens the device and has its thread play what pMixer mixes; false, with LastError
    // saying why, when it cannot. UI thread.
    virtual bool Open(CSoundMixer* pMixer) = 0;
    // Closes the device. UI thread.
    virtual void Close() = 0;
    virtual const char* LastError() const = 0;
};

CSoundDriver& AfxSound();
// Installs pDriver, or with null puts back the one that plays nowhere. Start-up does this.
void AfxSetSoundDriver(CSoundDriver* pDriver);
// The game's sounds, which AfxPlaySound names by their index in designs. They are
// synthesised when the device first opens.
void AfxSetSounds(std::vector<SoundSpec> designs);
// Sound on (the default) or off; off closes the device. UI thread.
void AfxEnableSound(bool bEnable);
bool AfxIsSoundEnabled();
// Opens the device, when sound is on, it is closed, and it has not failed before. Answers
// whether sound plays: false while sound is off, and once the device has failed, whose
// reason AfxGetSoundError tells. UI thread.
bool AfxOpenSound();
// Why the device could not be opened; empty while it has not failed.
const char* AfxGetSoundError();
// Fades out what still sounds and closes the device, so that nothing wakes while nothing
// sounds. UI thread.
void AfxCloseSound();
// Plays one of the game's sounds, if the device is open. Any thread; it never waits.
void AfxPlaySound(int nSound);
