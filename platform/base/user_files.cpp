#include "platform/base/user_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/base/translate.h"

namespace {

constexpr const char* kConfigHome = "XDG_CONFIG_HOME";
constexpr const char* kHome = "HOME";
constexpr const char* kDefaultConfigFolder = "/.config";
// What a new file may be, before the umask takes its part.
constexpr mode_t kNewFileMode = 0666;
constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
// How many symbolic links in a row are followed, as the kernel follows them.
constexpr int kMostLinks = 40;

std::string Variable(const char* pszName) {
    const char* pszValue = std::getenv(pszName);
    return pszValue != nullptr ? pszValue : "";
}

mode_t NewFileMode() {
    const mode_t nMask = umask(0);
    umask(nMask);
    return kNewFileMode & ~nMask;
}

// The file that strPath names, through any symbolic links, even to a file not yet there.
std::string FileBehind(const std::string& strPath) {
    std::error_code error;
    std::filesystem::path path = strPath;
    for (int nLinks = 0; nLinks < kMostLinks && std::filesystem::is_symlink(path, error);
         ++nLinks) {
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) {
            break;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path.string();
}

// Writes the text to a new file beside strFile, with the mode, and puts it in its place.
bool WriteInPlaceOf(const std::string& strFile, const std::string& strText, mode_t nMode) {
    std::string strTemp = strFile + ".XXXXXX";
    const int fd = mkstemp(strTemp.data());
    if (fd < 0) {
        return false;
    }
    const bool bWritten =
        fchmod(fd, nMode) == 0 &&
        write(fd, strText.data(), strText.size()) == static_cast<ssize_t>(strText.size()) &&
        fsync(fd) == 0;
    const bool bClosed = close(fd) == 0;
    if (!bWritten || !bClosed || rename(strTemp.c_str(), strFile.c_str()) != 0) {
        const int nError = errno;
        unlink(strTemp.c_str());
        errno = nError;
        return false;
    }
    return true;
}

}  // namespace

std::string AfxGetConfigHome(std::string* pstrWhy) {
    const std::string strConfig = Variable(kConfigHome);
    if (!strConfig.empty()) {
        return strConfig;
    }
    const std::string strHome = Variable(kHome);
    if (strHome.empty()) {
        *pstrWhy = AfxTranslate("neither XDG_CONFIG_HOME nor HOME is set");
        return std::string();
    }
    return strHome + kDefaultConfigFolder;
}

ReplaceResult AfxReplaceFile(const std::string& strPath, const std::string& strText,
                             std::string* pstrWhy) {
    const std::string strFile = FileBehind(strPath);
    struct stat st {};
    mode_t nMode = 0;
    if (stat(strFile.c_str(), &st) == 0) {
        // Not even the superuser's right to write goes over a mode that says read-only.
        if ((st.st_mode & kAnyWrite) == 0 || access(strFile.c_str(), W_OK) != 0) {
            return ReplaceResult::kReadOnly;
        }
        nMode = st.st_mode & ~S_IFMT;
    } else {
        nMode = NewFileMode();
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(strFile).parent_path(), error);
    }
    if (!WriteInPlaceOf(strFile, strText, nMode)) {
        *pstrWhy = std::strerror(errno);
        return ReplaceResult::kFailed;
    }
    return ReplaceResult::kReplaced;
}
