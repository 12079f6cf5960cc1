// The language the user reads, in Windows' numbers, which picks the resources' language.
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

// The language the user reads, as the locale says it for messages (LC_ALL, LC_MESSAGES,
// LANG): Japanese, English for any other language, and LANG_NEUTRAL in the C locale, which
// has none.
LANGID GetUserDefaultUILanguage();
