// CSettings: what the player chooses, kept between games in a file.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The file holds lines "sound = on|off" and "audio-cues = on|off"; '#' starts a comment. A
// setting that the file does not give, or gives wrongly, has no value, and the game takes its
// default. Writing keeps every other line as it was, unknown ones and comments too, and
// replaces the file at once, never leaving half of one.
class CSettings {
public:
    static constexpr const char* kSound = "sound";
    static constexpr const char* kAudioCues = "audio-cues";

    // The file's place: $XDG_CONFIG_HOME/hoplin/settings, by default ~/.config/hoplin/settings;
    // empty when neither variable is set.
    static std::string DefaultPath();

    explicit CSettings(std::string strPath) : m_strPath(std::move(strPath)) {}

    // Reads the file, if there is one. Says one warning line for a file that cannot be read,
    // and one for each line it cannot make sense of.
    void Load();
    // Writes the settings that have a value; answers false when the file cannot be written,
    // and says so in one warning line, the first time.
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
    Value* Find(const char* pszKey);
    const Value* Find(const char* pszKey) const;
    void WarnUnreadable() const;
    // Makes sense of one line of the file, the nLine-th.
    void Parse(const std::string& strText, int nLine);

    std::string m_strPath;
    std::vector<Line> m_lines;
    Value m_values[2] = {{kSound, std::nullopt}, {kAudioCues, std::nullopt}};
    bool m_bSaveFailed = false;
};
