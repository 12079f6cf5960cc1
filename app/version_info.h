// The program's version block: file and product versions, and the descriptive strings.
#pragma once

#include "platform/base/win_types.h"

struct VERSIONSTRING {
    const char* pszKey;
    const char* pszValue;
};

struct VERSIONINFO {
    WORD fileVersion[4];
    WORD productVersion[4];
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    const char* pszStringTable;  // language and code page of the strings, "041104b0"
    const VERSIONSTRING* pStrings;
    int nStrings;
    WORD wLanguage;
    WORD wCodePage;
};

extern const VERSIONINFO g_versionInfo;
