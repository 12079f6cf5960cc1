#include "app/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/base/diagnostics.h"
#include "platform/base/translate.h"

namespace {

constexpr const char* kFolder = "/hoplin";
constexpr const char* kFile = "/settings";
constexpr const char* kDefaultConfigHome = "/.config";
constexpr const char* kOn = "on";
constexpr const char* kOff = "off";
constexpr const char* kBlanks = " \t\r";
constexpr mode_t kFolderMode = 0755;

std::string Trimmed(const std::string& str) {
    const size_t nFirst = str.find_first_not_of(kBlanks);
    if (nFirst == std::string::npos) {
        return std::string();
    }
    return str.substr(nFirst, str.find_last_not_of(kBlanks) - nFirst + 1);
}

std::string Variable(const char* pszName) {
    const char* pszValue = std::getenv(pszName);
    return pszValue != nullptr ? pszValue : "";
}

void Warn(const std::string& strWhat) {
    AfxWarn(std::string(AfxTranslate("warning")) + ": " + strWhat);
}

std::string LineOf(const char* pszKey, bool bValue) {
    return std::string(pszKey) + " = " + (bValue ? kOn : kOff);
}

// Writes strText to a new file beside strPath, then puts it in strPath's place in one step.
bool WriteReplacing(const std::string& strPath, const std::string& strText) {
    std::string strTemp = strPath + ".XXXXXX";
    const int fd = mkstemp(strTemp.data());
    if (fd < 0) {
        return false;
    }
    const bool bWritten =
        write(fd, strText.data(), strText.size()) == static_cast<ssize_t>(strText.size()) &&
        fsync(fd) == 0;
    const bool bClosed = close(fd) == 0;
    if (!bWritten || !bClosed || rename(strTemp.c_str(), strPath.c_str()) != 0) {
        const int nError = errno;
        unlink(strTemp.c_str());
        errno = nError;
        return false;
    }
    return true;
}

}  // namespace

std::string CSettings::DefaultPath() {
    std::string strConfig = Variable("XDG_CONFIG_HOME");
    if (strConfig.empty()) {
        const std::string strHome = Variable("HOME");
        if (strHome.empty()) {
            return std::string();
        }
        strConfig = strHome + kDefaultConfigHome;
    }
    return strConfig + kFolder + kFile;
}

CSettings::Value* CSettings::Find(const char* pszKey) {
    for (Value& value : m_values) {
        if (std::strcmp(value.pszKey, pszKey) == 0) {
            return &value;
        }
    }
    return nullptr;
}

const CSettings::Value* CSettings::Find(const char* pszKey) const {
    return const_cast<CSettings*>(this)->Find(pszKey);
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
    std::FILE* pFile = std::fopen(m_strPath.c_str(), "r");
    if (pFile == nullptr) {
        if (errno != ENOENT) {
            WarnUnreadable();
        }
        return;
    }
    char* pszLine = nullptr;
    size_t nSize = 0;
    ssize_t nRead = 0;
    for (int nLine = 1; (nRead = getline(&pszLine, &nSize, pFile)) >= 0; ++nLine) {
        Parse(std::string(pszLine, static_cast<size_t>(nRead)).substr(0, strcspn(pszLine, "\n")),
              nLine);
    }
    if (std::ferror(pFile) != 0) {
        WarnUnreadable();
    }
    std::free(pszLine);
    std::fclose(pFile);
}

void CSettings::WarnUnreadable() const {
    Warn(m_strPath + ": " + AfxTranslate("cannot read the settings") + ": " + std::strerror(errno));
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
    Value* pValue = Find(strKey.c_str());
    if (pValue == nullptr) {
        return;  // a setting of some other version of the game
    }
    // The line gives way to the setting's value when that is written.
    m_lines.back().strKey = strKey;
    const std::string strValue = Trimmed(strContent.substr(nEquals + 1));
    if (strValue != kOn && strValue != kOff) {
        Warn(strWhere + strKey + ": " + AfxTranslate("the value is neither on nor off"));
        return;
    }
    pValue->bValue = strValue == kOn;
}

bool CSettings::Save() {
    std::string strText;
    std::vector<const Value*> written;
    for (const Line& line : m_lines) {
        const Value* pValue = line.strKey.empty() ? nullptr : Find(line.strKey.c_str());
        if (pValue != nullptr && pValue->bValue) {
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
    if (!m_strPath.empty()) {
        const std::string strFolder = m_strPath.substr(0, m_strPath.rfind('/'));
        // The configuration folder itself may not exist yet on a new account.
        mkdir(strFolder.substr(0, strFolder.rfind('/')).c_str(), kFolderMode);
        mkdir(strFolder.c_str(), kFolderMode);
    }
    if (m_strPath.empty() || !WriteReplacing(m_strPath, strText)) {
        if (std::exchange(m_bSaveFailed, true)) {
            return false;
        }
        Warn(m_strPath + ": " + AfxTranslate("cannot save the settings") + ": " +
             std::strerror(errno));
        return false;
    }
    return true;
}
