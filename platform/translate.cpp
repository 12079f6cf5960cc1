#include "platform/translate.h"

#include <SDL.h>
#include <libintl.h>

#include <clocale>
#include <string>

namespace {

constexpr const char* kTextDomain = HOPLIN_TEXT_DOMAIN;
// The catalogues are UTF-8, and so is all of the program's text, whatever the locale's
// character set.
constexpr const char* kCodeset = "UTF-8";

}  // namespace

void AfxInitTranslations() {
    // The messages, and the character set, by which Xlib writes window titles for old
    // tools; numbers stay in the C format, which the frame trace is read in.
    std::setlocale(LC_MESSAGES, "");
    std::setlocale(LC_CTYPE, "");
    char* pszBase = SDL_GetBasePath();
    if (pszBase != nullptr) {
        AfxSetTranslationsDir((std::string(pszBase) + HOPLIN_LOCALE_DIR_FROM_BIN).c_str());
        SDL_free(pszBase);
    }
    bind_textdomain_codeset(kTextDomain, kCodeset);
}

const char* AfxTranslate(const char* pszText) {
    return dgettext(kTextDomain, pszText);
}

void AfxSetTranslationsDir(const char* pszDir) {
    bindtextdomain(kTextDomain, pszDir);
}
