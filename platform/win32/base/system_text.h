// Text as Windows' wide calls take it, and what Windows says of its errors, for the base's
// Windows side. Plain C++ types, so that files that include Windows' headers can use it.
#pragma once

#include <string>

std::wstring AfxSystemFromUtf8(const std::string& str);
std::string AfxUtf8FromSystem(const std::wstring& str);
// Windows' own text for a GetLastError code, in UTF-8.
std::string AfxDescribeSystemError(unsigned long dwError);
// The folder the program runs from, with its trailing backslash.
std::string AfxGetProgramFolder();
// The language of Windows' user interface, in Windows' numbers, and its ISO 639 name.
unsigned short AfxGetSystemUiLanguage();
std::string AfxGetSystemUiLanguageCode();
