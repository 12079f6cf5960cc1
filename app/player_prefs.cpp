#include "app/player_prefs.h"

#include <utility>

#include "app/resource.h"
#include "platform/base/diagnostics.h"
#include "platform/base/sound.h"
#include "platform/base/translate.h"
#include "platform/window/system_params.h"

namespace {

UINT CheckedIf(bool bChecked) {
    return bChecked ? MF_CHECKED : MF_UNCHECKED;
}

bool IsScreenReaderOn() {
    BOOL bScreenReader = FALSE;
    SystemParametersInfo(SPI_GETSCREENREADER, 0, &bScreenReader, 0);
    return bScreenReader != FALSE;
}

}  // namespace

void CPlayerPrefs::Load() {
    m_settings.Load();
    AfxEnableSound(m_settings.Get(CSettings::kSound).value_or(true));
}

void CPlayerPrefs::AppendMenuItems(CMenu* pMenu) const {
    pMenu->AppendMenu(MF_STRING, IDM_SOUND, AfxTranslate("&Sound"));
    pMenu->AppendMenu(MF_STRING, IDM_AUDIOCUES, AfxTranslate("A&udio cues"));
    ShowInMenu(pMenu);
}

bool CPlayerPrefs::IsSoundOn() const {
    return AfxIsSoundEnabled();
}

void CPlayerPrefs::ToggleSound() {
    const bool bOn = !IsSoundOn();
    AfxEnableSound(bOn);
    Remember(CSettings::kSound, bOn);
}

bool CPlayerPrefs::AreAudioCuesOn() const {
    return m_settings.Get(CSettings::kAudioCues).value_or(IsScreenReaderOn());
}

std::string CPlayerPrefs::SoundState() const {
    return IsSoundOn() ? AfxTranslate("Sound on") : AfxTranslate("Sound off");
}

std::string CPlayerPrefs::AudioCuesState() const {
    return AreAudioCuesOn() ? AfxTranslate("Audio cues on") : AfxTranslate("Audio cues off");
}

std::string CPlayerPrefs::OpenSound() {
    if (AfxOpenSound() || !IsSoundOn() || std::exchange(m_bNoSoundSaid, true)) {
        return std::string();
    }
    const std::string strWhy = AfxGetSoundError();
    if (!AreAudioCuesOn() && !IsScreenReaderOn()) {
        AfxWarn(std::string(AfxTranslate("warning: no sound")) + ": " + strWhy);
        return std::string();
    }
    const std::string strSay = AfxTranslate("No sound device: audio cues are off");
    AfxWarn(strSay + " (" + strWhy + ")");
    return strSay;
}

void CPlayerPrefs::ToggleAudioCues() {
    Remember(CSettings::kAudioCues, !AreAudioCuesOn());
}

void CPlayerPrefs::ShowInMenu(CMenu* pMenu) const {
    if (pMenu != nullptr) {
        pMenu->CheckMenuItem(IDM_SOUND, CheckedIf(IsSoundOn()));
        pMenu->CheckMenuItem(IDM_AUDIOCUES, CheckedIf(AreAudioCuesOn()));
    }
}

void CPlayerPrefs::Remember(const char* pszKey, bool bValue) {
    m_settings.Set(pszKey, bValue);
    m_settings.Save();
}
