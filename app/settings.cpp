#include "app/settings.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>

#include "platform/base/diagnostics.h"
#include "platform/base/translate.h"
#include "platform/base/user_files.h"

namespace {

constexpr const char* kFile = "/hoplin/settings";
constexpr const char* kBlanks = " \t\r";
constexpr size_t kReadChunk = 4096;

// How a value may be spelt, in any case.
struct Spelling {
    const char* pszOn;
    const char* pszOff;
};
constexpr Spelling kSpellings[] = {{"on", "off"}, {"yes", "no"}, {"true", "false"}, {"1", "0"}};

std::string Trimmed(const std::string& str) {
    const size_t nFirst = str.find_first_not_of(kBlanks);
    if (nFirst == std::string::npos) {
        return std::string();
    }
    return str.substr(nFirst, str.find_last_not_of(kBlanks) - nFirst + 1);
}

std::string Lower(std::string str) {
    std::transform(str.begin(), str.end(), str.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return str;
}

// The value that strValue spells, or none.
std::optional<bool> ValueOf(const std::string& strValue) {
    const std::string strLower = Lower(strValue);
    for (const Spelling& spelling : kSpellings) {
        if (strLower == spelling.pszOn || strLower == spelling.pszOff) {
            return strLower == spelling.pszOn;
        }
    }
    return std::nullopt;
}

void Warn(const std::string& strWhat) {
    AfxWarn(std::string(AfxTranslate("warning")) + ": " + strWhat);
}

std::string LineOf(const char* pszKey, bool bValue) {
    return std::string(pszKey) + " = " + (bValue ? kSpellings[0].pszOn : kSpellings[0].pszOff);
}

// The file's whole text; false when it cannot be read, with errno saying why.
bool ReadAll(std::FILE* pFile, std::string* pstrText) {
    char buffer[kReadChunk];
    size_t nRead = 0;
    while ((nRead = std::fread(buffer, 1, sizeof(buffer), pFile)) > 0) {
        pstrText->append(buffer, nRead);
    }
    return std::ferror(pFile) == 0;
}

}  // namespace

std::string CSettings::DefaultPath(std::string* pstrWhy) {
    std::string strWhy;
    const std::string strHome = AfxGetConfigHome(&strWhy);
    if (pstrWhy != nullptr) {
        *pstrWhy = strWhy;
    }
    return strHome.empty() ? std::string() : strHome + kFile;
}

CSettings CSettings::AtDefaultPath() {
    std::string strWhy;
    std::string strPath = DefaultPath(&strWhy);
    return CSettings(std::move(strPath), std::move(strWhy));
}

CSettings::Value* CSettings::Find(const std::string& strKey) {
    const std::string strLower = Lower(strKey);
    for (Value& value : m_values) {
        if (strLower == value.pszKey) {
            return &value;
        }
    }
    return nullptr;
}

const CSettings::Value* CSettings::Find(const std::string& strKey) const {
    return const_cast<CSettings*>(this)->Find(strKey);
}

std::optional<bool> CSettings::Get(const char* pszKey) const {
    const Value* pValue = Find(pszKey);
    return pValue != nullptr ? pValue->bValue : std::nullopt;
}

void CSettings::Set(const char* pszKey, bool bValue) {
    if (Value* pValue = Find(pszKey)) {
        pValue->bValue = bValue;
    }
}

void CSettings::Load() {
    // C's streams, not C++'s: iostreams would bring their locale machinery into the title
    // screen's memory for the sake of a few lines.
    std::FILE* pFile = m_strPath.empty() ? nullptr : std::fopen(m_strPath.c_str(), "rb");
    if (pFile == nullptr) {
        if (!m_strPath.empty() && errno != ENOENT) {
            Warn(m_strPath + ": " + AfxTranslate("cannot read the settings") + ": " +
                 std::strerror(errno));
        }
        return;
    }
    std::string strText;
    if (!ReadAll(pFile, &strText)) {
        Warn(m_strPath + ": " + AfxTranslate("cannot read the settings") + ": " +
             std::strerror(errno));
    }
    std::fclose(pFile);
    int nLine = 1;
    for (size_t nAt = 0; nAt < strText.size(); ++nLine) {
        const size_t nEnd = std::min(strText.find('\n', nAt), strText.size());
        Parse(strText.substr(nAt, nEnd - nAt), nLine);
        nAt = nEnd + 1;
    }
}

void CSettings::Parse(const std::string& strText, int nLine) {
    m_lines.push_back(Line{strText, std::string()});
    const std::string strContent = Trimmed(strText.substr(0, strText.find('#')));
    if (strContent.empty()) {
        return;
    }
    const size_t nEquals = strContent.find('=');
    const std::string strKey = Trimmed(strContent.substr(0, nEquals));
    const std::string strWhere = m_strPath + ":" + std::to_string(nLine) + ": ";
    if (nEquals == std::string::npos || strKey.empty()) {
        Warn(strWhere + AfxTranslate("not a setting of the form \"name = value\""));
        return;
    }
    Value* pValue = Find(strKey);
    if (pValue == nullptr) {
        return;  // a setting of some other version of the game
    }
    // The line gives way to the setting's value when that is written.
    m_lines.back().strKey = pValue->pszKey;
    const std::optional<bool> bValue = ValueOf(Trimmed(strContent.substr(nEquals + 1)));
    if (!bValue) {
        Warn(strWhere + strKey + ": " + AfxTranslate("the value is neither on nor off"));
        return;
    }
    pValue->bValue = bValue;
}

std::string CSettings::Text() const {
    std::string strText;
    std::vector<const Value*> written;
    for (const Line& line : m_lines) {
        const Value* pValue = line.strKey.empty() ? nullptr : Find(line.strKey);
        const bool bFirst =
            pValue != nullptr && std::find(written.begin(), written.end(), pValue) == written.end();
        if (bFirst && pValue->bValue) {
            strText += LineOf(pValue->pszKey, *pValue->bValue) + '\n';
            written.push_back(pValue);
        } else {
            strText += line.strText + '\n';
        }
    }
    for (const Value& value : m_values) {
        if (value.bValue && std::find(written.begin(), written.end(), &value) == written.end()) {
            strText += LineOf(value.pszKey, *value.bValue) + '\n';
        }
    }
    return strText;
}

bool CSettings::Save() {
    if (m_strPath.empty()) {
        return SaveFailed(m_strWhyNoPath);
    }
    std::string strWhy;
    switch (AfxReplaceFile(m_strPath, Text(), &strWhy)) {
        case ReplaceResult::kReplaced:
            return true;
        case ReplaceResult::kReadOnly:
            return SaveFailed(m_strPath + ": " +
                              AfxTranslate("the file is read-only; the choices hold until the "
                                           "game ends"));
        case ReplaceResult::kFailed:
            break;
    }
    return SaveFailed(m_strPath + ": " + strWhy);
}

bool CSettings::SaveFailed(const std::string& strWhy) {
    if (!std::exchange(m_bSaveFailed, true)) {
        Warn(std::string(AfxTranslate("cannot save the settings")) + ": " + strWhy);
    }
    return false;
}
