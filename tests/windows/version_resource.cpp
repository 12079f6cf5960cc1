#include "tests/windows/version_resource.h"

#include <windows.h>

std::vector<std::uint8_t> ReadVersionResource(const std::string& strPath) {
    const std::wstring strWide(strPath.begin(), strPath.end());
    DWORD dwHandle = 0;
    const DWORD dwSize = GetFileVersionInfoSizeW(strWide.c_str(), &dwHandle);
    std::vector<std::uint8_t> bytes(dwSize);
    if (dwSize == 0 || !GetFileVersionInfoW(strWide.c_str(), 0, dwSize, bytes.data())) {
        bytes.clear();
    }
    return bytes;
}
