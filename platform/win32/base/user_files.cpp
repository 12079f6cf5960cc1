// The user's own files on Windows: settings under %APPDATA%, and a file's text replaced in one
// step by writing a file beside it, flushing it to the disk and moving it over the old one.
#include "platform/base/user_files.h"

#include <windows.h>

#include "platform/base/translate.h"
#include "platform/win32/base/system_text.h"

namespace {

constexpr const wchar_t* kAppData = L"APPDATA";
constexpr const wchar_t* kTempEnding = L".new";

std::wstring Variable(const wchar_t* pszName) {
    const DWORD dwSize = GetEnvironmentVariableW(pszName, nullptr, 0);
    if (dwSize == 0) {
        return std::wstring();
    }
    std::wstring strValue(dwSize, L'\0');
    strValue.resize(GetEnvironmentVariableW(pszName, strValue.data(), dwSize));
    return strValue;
}

// Makes every folder on the way to the file, as far as they are missing.
void MakeFoldersFor(const std::wstring& strFile) {
    for (size_t nAt = strFile.find_first_of(L"\\/", 3); nAt != std::wstring::npos;
         nAt = strFile.find_first_of(L"\\/", nAt + 1)) {
        CreateDirectoryW(strFile.substr(0, nAt).c_str(), nullptr);
    }
}

bool WriteAll(const std::wstring& strFile, const std::string& strText) {
    HANDLE hFile = CreateFileW(strFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD dwWritten = 0;
    const bool bWritten =
        WriteFile(hFile, strText.data(), static_cast<DWORD>(strText.size()), &dwWritten, nullptr) &&
        dwWritten == strText.size() && FlushFileBuffers(hFile);
    const DWORD dwError = GetLastError();
    CloseHandle(hFile);
    SetLastError(dwError);
    return bWritten;
}

}  // namespace

std::string AfxGetConfigHome(std::string* pstrWhy) {
    const std::wstring strAppData = Variable(kAppData);
    if (strAppData.empty()) {
        *pstrWhy = AfxTranslate("APPDATA is not set");
    }
    return AfxUtf8FromSystem(strAppData);
}

ReplaceResult AfxReplaceFile(const std::string& strPath, const std::string& strText,
                             std::string* pstrWhy) {
    const std::wstring strFile = AfxSystemFromUtf8(strPath);
    const DWORD dwAttributes = GetFileAttributesW(strFile.c_str());
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return ReplaceResult::kReadOnly;
    }
    MakeFoldersFor(strFile);
    const std::wstring strTemp = strFile + kTempEnding;
    if (!WriteAll(strTemp, strText) ||
        !MoveFileExW(strTemp.c_str(), strFile.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *pstrWhy = AfxDescribeSystemError(GetLastError());
        DeleteFileW(strTemp.c_str());
        return ReplaceResult::kFailed;
    }
    return ReplaceResult::kReplaced;
}
