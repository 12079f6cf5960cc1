#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/settings.h"
#include "platform/base/diagnostics.h"

namespace {

namespace fs = std::filesystem;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string strFolder = (fs::temp_directory_path() / "hoplin-settings-XXXXXX").string();
        ASSERT_NE(mkdtemp(strFolder.data()), nullptr);
        m_folder = strFolder;
        m_strPath = (m_folder / "config" / "hoplin" / "settings").string();
    }
    void TearDown() override { fs::remove_all(m_folder); }

    void Write(const std::string& strText) {
        fs::create_directories(fs::path(m_strPath).parent_path());
        std::ofstream(m_strPath) << strText;
    }
    std::string Read() const {
        std::ostringstream text;
        text << std::ifstream(m_strPath).rdbuf();
        return text.str();
    }
    // Loads the file into fresh settings; answers what was said meanwhile.
    std::string Load(CSettings* pSettings) {
        CaptureStderr();
        pSettings->Load();
        return GetCapturedStderr();
    }
    static int Lines(const std::string& str) {
        return static_cast<int>(std::count(str.begin(), str.end(), '\n'));
    }

    fs::path m_folder;
    std::string m_strPath;
};

TEST_F(SettingsTest, BothSettingsComeBackAsTheyWereSavedInAFolderMadeForThem) {
    CSettings saved(m_strPath);
    EXPECT_EQ(Load(&saved), "");  // no file yet: nothing to say
    EXPECT_FALSE(saved.Get(CSettings::kSound).has_value());
    saved.Set(CSettings::kSound, false);
    saved.Set(CSettings::kAudioCues, true);
    ASSERT_TRUE(saved.Save());
    EXPECT_EQ(Read(), "sound = off\naudio-cues = on\n");
    CSettings loaded(m_strPath);
    EXPECT_EQ(Load(&loaded), "");
    EXPECT_EQ(loaded.Get(CSettings::kSound), false);
    EXPECT_EQ(loaded.Get(CSettings::kAudioCues), true);
    // Nothing of the temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(m_strPath).parent_path()),
                            fs::directory_iterator()),
              1);
}

TEST_F(SettingsTest, EachMalformedLineSaysWhereItIsAndItsSettingKeepsItsDefault) {
    Write("sound = loud\nno equals sign\n = on\naudio-cues=on # with a comment\n");
    CSettings settings(m_strPath);
    const std::string strSaid = Load(&settings);
    EXPECT_EQ(Lines(strSaid), 3) << strSaid;
    for (const int nLine : {1, 2, 3}) {
        EXPECT_NE(strSaid.find(std::string(AfxGetProgramName()) + ": warning: " + m_strPath + ":" +
                               std::to_string(nLine) + ":"),
                  std::string::npos)
            << strSaid;
    }
    EXPECT_FALSE(settings.Get(CSettings::kSound).has_value());
    EXPECT_EQ(settings.Get(CSettings::kAudioCues), true);
}

TEST_F(SettingsTest, CommentsUnknownAndBrokenLinesAreKeptWhenASettingIsWrittenOverItsLine) {
    Write("# my settings\nvolume = 11\n\nsound = on\ngarbage\n");
    CSettings settings(m_strPath);
    Load(&settings);
    settings.Set(CSettings::kSound, false);
    settings.Set(CSettings::kAudioCues, true);
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(Read(), "# my settings\nvolume = 11\n\nsound = off\ngarbage\naudio-cues = on\n");
}

TEST_F(SettingsTest, AFolderThatCannotBeMadeSaysSoOnceAndTheSettingsStay) {
    // A file where the folder should be stops even root, which file modes do not.
    fs::create_directories(m_folder / "config");
    std::ofstream((m_folder / "config" / "hoplin").string()) << "in the way";
    CSettings settings(m_strPath);
    settings.Set(CSettings::kSound, false);
    CaptureStderr();
    EXPECT_FALSE(settings.Save());
    EXPECT_FALSE(settings.Save());
    const std::string strSaid = GetCapturedStderr();
    EXPECT_EQ(Lines(strSaid), 1) << strSaid;
    EXPECT_NE(strSaid.find(m_strPath), std::string::npos) << strSaid;
    EXPECT_EQ(settings.Get(CSettings::kSound), false);
}

TEST_F(SettingsTest, AFileThatCannotBeReadSaysSoOnceAndLeavesTheDefaults) {
    fs::create_directories(m_strPath);  // a folder where the file should be
    CSettings settings(m_strPath);
    const std::string strSaid = Load(&settings);
    EXPECT_EQ(Lines(strSaid), 1) << strSaid;
    EXPECT_NE(strSaid.find(m_strPath), std::string::npos) << strSaid;
    EXPECT_FALSE(settings.Get(CSettings::kSound).has_value());
}

TEST_F(SettingsTest, NamesInAnyCaseAndEverySpellingOfOnAndOffAreRead) {
    const struct {
        const char* pszValue;
        bool bValue;
    } kSpellings[] = {{"on", true},   {"OFF", false},   {"yes", true}, {"No", false},
                      {"TRUE", true}, {"false", false}, {"1", true},   {"0", false}};
    for (const auto& spelling : kSpellings) {
        Write(std::string("Sound = ") + spelling.pszValue + "\nAUDIO-CUES=" + spelling.pszValue +
              "\n");
        CSettings settings(m_strPath);
        EXPECT_EQ(Load(&settings), "") << spelling.pszValue;
        EXPECT_EQ(settings.Get(CSettings::kSound), spelling.bValue) << spelling.pszValue;
        EXPECT_EQ(settings.Get(CSettings::kAudioCues), spelling.bValue) << spelling.pszValue;
    }
    // A setting written goes over its line, whatever the case it was read in.
    CSettings settings(m_strPath);
    Load(&settings);
    settings.Set(CSettings::kSound, true);
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(Read(), "sound = on\naudio-cues = off\n");
}

TEST_F(SettingsTest, ALinkedFileIsWrittenThroughTheLinkAndKeepsItsMode) {
    Write("sound = on\n");
    const fs::path target = m_folder / "dotfiles" / "hoplin-settings";
    fs::create_directories(target.parent_path());
    fs::rename(m_strPath, target);
    fs::create_symlink(target, m_strPath);
    fs::permissions(target, fs::perms(0640));
    CSettings settings(m_strPath);
    Load(&settings);
    settings.Set(CSettings::kSound, false);
    ASSERT_TRUE(settings.Save());
    EXPECT_TRUE(fs::is_symlink(m_strPath));
    EXPECT_EQ(Read(), "sound = off\n");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
}

TEST_F(SettingsTest, AReadOnlyFileIsLeftAloneWithOneLineAndTheChoiceHolds) {
    Write("sound = on\n");
    fs::permissions(m_strPath, fs::perms(0444));
    CSettings settings(m_strPath);
    Load(&settings);
    settings.Set(CSettings::kSound, false);
    CaptureStderr();
    EXPECT_FALSE(settings.Save());
    settings.Set(CSettings::kAudioCues, true);
    EXPECT_FALSE(settings.Save());
    const std::string strSaid = GetCapturedStderr();
    EXPECT_EQ(Lines(strSaid), 1) << strSaid;
    EXPECT_NE(strSaid.find("read-only"), std::string::npos) << strSaid;
    EXPECT_EQ(Read(), "sound = on\n");
    EXPECT_EQ(settings.Get(CSettings::kSound), false);
}

TEST(SettingsPath, TheFileIsUnderXdgConfigHomeOrElseTheHomesConfigFolderOrNowhere) {
    setenv("XDG_CONFIG_HOME", "/xdg", 1);
    setenv("HOME", "/home/player", 1);
    EXPECT_EQ(CSettings::DefaultPath(), "/xdg/hoplin/settings");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(CSettings::DefaultPath(), "/home/player/.config/hoplin/settings");
    // Without either there is no file: one clear line when the player's choice cannot be kept.
    for (const char* pszHome : {"", static_cast<const char*>(nullptr)}) {
        pszHome != nullptr ? setenv("HOME", pszHome, 1) : unsetenv("HOME");
        CSettings settings = CSettings::AtDefaultPath();
        settings.Set(CSettings::kSound, false);
        CaptureStderr();
        EXPECT_FALSE(settings.Save());
        EXPECT_FALSE(settings.Save());
        const std::string strSaid = GetCapturedStderr();
        EXPECT_EQ(strSaid, std::string(AfxGetProgramName()) +
                               ": warning: cannot save the settings: neither XDG_CONFIG_HOME "
                               "nor HOME is set\n");
    }
}

}  // namespace
