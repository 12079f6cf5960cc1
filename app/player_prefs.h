// CPlayerPrefs: what the player chooses, sound and audio cues, kept between games and shown in
// the window's menu.
#pragma once

#include <string>

#include "app/settings.h"
#include "platform/window/menu.h"

// Sound is on unless the player has turned it off. The audio cues follow the screen reader
// (on while one runs) until the player turns them on or off, and then stay as chosen. Every
// choice is saved at once. UI thread only.
class CPlayerPrefs {
public:
    explicit CPlayerPrefs(CSettings settings) : m_settings(std::move(settings)) {}

    // Reads the settings file and turns sound on or off as it says.
    void Load();
    // Appends the Sound and Audio cues entries, checked as they are, to the window's menu.
    void AppendMenuItems(CMenu* pMenu) const;
    bool IsSoundOn() const;
    void ToggleSound();
    bool AreAudioCuesOn() const;
    void ToggleAudioCues();
    // What a screen reader says of the choices as they now are: "Sound on", "Audio cues off".
    std::string SoundState() const;
    std::string AudioCuesState() const;
    // Opens the sound device for a run. When sound cannot play, says why once, on standard
    // error; and when that costs the player the audio cues (they are on, or a screen reader
    // runs), answers what the screen reader must say of it too. Otherwise the answer is empty.
    std::string OpenSound();
    // Puts the check marks of the menu's entries right; pMenu may be null.
    void ShowInMenu(CMenu* pMenu) const;

private:
    void Remember(const char* pszKey, bool bValue);

    CSettings m_settings;
    bool m_bNoSoundSaid = false;
};
