// CSettings: what the player chooses, kept between games in a file.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The file holds lines "sound = on" and "audio-cues = off"; '#' starts a comment. Names are
// read in any case, and a value may be on or off, yes or no, true or false, 1 or 0. A setting
// that the file does not give, or gives wrongly, has no value, and the game takes its
// default. Writing keeps every other line as it was, unknown ones and comments too, and
// replaces the file at once, never leaving half of one.
class CSettings {
public:
    static constexpr const char* kSound = "sound";
    static constexpr const char* kAudioCues = "audio-cues";

    // The file's place: hoplin/settings in the user's settings folder; empty when the user
    // has none, and then *pstrWhy says so.
    static std::string DefaultPath(std::string* pstrWhy = nullptr);
    // The settings of the file at DefaultPath, or of none, with the reason.
    static CSettings AtDefaultPath();

    // Without a path there is no file: nothing is read, and saving says strWhyNoPath.
    explicit CSettings(std::string strPath, std::string strWhyNoPath = std::string())
        : m_strPath(std::move(strPath)), m_strWhyNoPath(std::move(strWhyNoPath)) {}

    // Reads the file, if there is one. Says one warning line for a file that cannot be read,
    // and one for each line it cannot make sense of.
    void Load();
    // Writes the settings that have a value; answers false when they cannot be kept in the
    // file (there is none, it is read-only, or writing fails), and says so in one warning
    // line, the first time. The settings hold all the same until the game ends.
    bool Save();

    std::optional<bool> Get(const char* pszKey) const;
    void Set(const char* pszKey, bool bValue);

private:
    struct Line {
        std::string strText;  // as the file had it, or as written
        std::string strKey;   // the known setting the line gives, or empty
    };
    struct Value {
        const char* pszKey;
        std::optional<bool> bValue;
    };
    Value* Find(const std::string& strKey);
    const Value* Find(const std::string& strKey) const;
    // Makes sense of one line of the file, the nLine-th.
    void Parse(const std::string& strText, int nLine);
    std::string Text() const;
    bool SaveFailed(const std::string& strWhy);

    std::string m_strPath;
    std::string m_strWhyNoPath;
    std::vector<Line> m_lines;
    Value m_values[2] = {{kSound, std::nullopt}, {kAudioCues, std::nullopt}};
    bool m_bSaveFailed = false;
};
