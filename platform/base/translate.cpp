#include "platform/base/translate.h"
#include "platform/base/ui_language.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

constexpr const char* kTextDomain = HOPLIN_TEXT_DOMAIN;
// The catalogues are UTF-8, and so is all of the program's text, whatever the locale's
// character set.
constexpr const char* kCodeset = "UTF-8";

// The locale that messages are in, as the environment names it.
std::string MessagesLocale() {
    for (const char* pszVariable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* pszValue = std::getenv(pszVariable);
        if (pszValue != nullptr && *pszValue != '\0') {
            return pszValue;
        }
    }
    return std::string();
}

// The folder the program runs from, with its trailing '/'; empty when it cannot be told.
std::string ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string() + "/";
}

}  // namespace

void AfxInitTranslations() {
    // The messages, and the character set, by which Xlib writes window titles for old
    // tools; numbers stay in the C format, which the frame trace is read in.
    std::setlocale(LC_MESSAGES, "");
    std::setlocale(LC_CTYPE, "");
    const std::string strFolder = ProgramFolder();
    if (!strFolder.empty()) {
        AfxSetTranslationsDir((strFolder + HOPLIN_LOCALE_DIR_FROM_BIN).c_str());
    }
    bind_textdomain_codeset(kTextDomain, kCodeset);
}

const char* AfxTranslate(const char* pszText) {
    return dgettext(kTextDomain, pszText);
}

LANGID GetUserDefaultUILanguage() {
    const std::string strLocale = MessagesLocale();
    const std::string strLanguage = strLocale.substr(0, strLocale.find_first_of("_.@"));
    if (strLanguage.empty() || strLanguage == "C" || strLanguage == "POSIX") {
        return LANG_NEUTRAL;
    }
    const LANGID primary = strLanguage == "ja" ? LANG_JAPANESE : LANG_ENGLISH;
    return MAKELANGID(primary, SUBLANG_DEFAULT);
}

void AfxSetTranslationsDir(const char* pszDir) {
    bindtextdomain(kTextDomain, pszDir);
}
