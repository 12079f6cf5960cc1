// The platform's own words (its menu entries, its error lines) in the user's language, from
// gettext catalogues. The program's own strings come from its resources and are never
// translated here.
#pragma once

#include "platform/base/win_types.h"

// Languages, as Windows numbers them: a primary language, and a sublanguage above it.
constexpr LANGID LANG_NEUTRAL = 0x00;
constexpr LANGID LANG_ENGLISH = 0x09;
constexpr LANGID LANG_JAPANESE = 0x11;
constexpr LANGID SUBLANG_DEFAULT = 0x01;
constexpr LANGID MAKELANGID(LANGID primary, LANGID sub) {
    return static_cast<LANGID>((sub << 10) | primary);
}
constexpr LANGID PRIMARYLANGID(LANGID lang) {
    return static_cast<LANGID>(lang & 0x3FF);
}

// Takes the message language from the locale, and the catalogues from where an installation
// puts them relative to the program (../share/locale beside /usr/games). AfxInitPlatform
// calls it before it says anything.
void AfxInitTranslations();
// pszText in the user's language, or pszText itself when there is no translation.
const char* AfxTranslate(const char* pszText);
// Takes the catalogues from pszDir instead, for programs that are not installed.
void AfxSetTranslationsDir(const char* pszDir);
// The language the user reads, as the locale says it for messages (LC_ALL, LC_MESSAGES,
// LANG): Japanese, English for any other language, and LANG_NEUTRAL in the C locale, which
// has none.
LANGID GetUserDefaultUILanguage();
