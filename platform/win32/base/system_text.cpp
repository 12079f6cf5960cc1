#include "platform/win32/base/system_text.h"

#include <windows.h>

std::wstring AfxSystemFromUtf8(const std::string& str) {
    const int nSize = static_cast<int>(str.size());
    const int nWide = MultiByteToWideChar(CP_UTF8, 0, str.data(), nSize, nullptr, 0);
    std::wstring strWide(static_cast<size_t>(nWide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, str.data(), nSize, strWide.data(), nWide);
    return strWide;
}

std::string AfxUtf8FromSystem(const std::wstring& str) {
    const int nSize = static_cast<int>(str.size());
    const int nBytes =
        WideCharToMultiByte(CP_UTF8, 0, str.data(), nSize, nullptr, 0, nullptr, nullptr);
    std::string strUtf8(static_cast<size_t>(nBytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, str.data(), nSize, strUtf8.data(), nBytes, nullptr, nullptr);
    return strUtf8;
}

std::string AfxDescribeSystemError(unsigned long dwError) {
    wchar_t* pszText = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, dwError, 0, reinterpret_cast<wchar_t*>(&pszText), 0, nullptr);
    std::wstring strText = pszText != nullptr ? pszText : L"";
    LocalFree(pszText);
    while (!strText.empty() &&
           (strText.back() == L'\n' || strText.back() == L'\r' || strText.back() == L'.')) {
        strText.pop_back();
    }
    return strText.empty() ? "error " + std::to_string(dwError) : AfxUtf8FromSystem(strText);
}

std::string AfxGetProgramFolder() {
    std::wstring strPath(MAX_PATH, L'\0');
    DWORD dwLength = 0;
    while ((dwLength = GetModuleFileNameW(nullptr, strPath.data(),
                                          static_cast<DWORD>(strPath.size()))) == strPath.size()) {
        strPath.resize(strPath.size() * 2);
    }
    strPath.resize(dwLength);
    return AfxUtf8FromSystem(strPath.substr(0, strPath.find_last_of(L"\\/") + 1));
}

unsigned short AfxGetSystemUiLanguage() {
    return GetUserDefaultUILanguage();
}

std::string AfxGetSystemUiLanguageCode() {
    wchar_t szName[LOCALE_NAME_MAX_LENGTH] = L"";
    GetLocaleInfoW(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), LOCALE_SISO639LANGNAME,
                   szName, LOCALE_NAME_MAX_LENGTH);
    return AfxUtf8FromSystem(szName);
}
