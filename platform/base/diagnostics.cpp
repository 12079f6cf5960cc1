#include "platform/base/diagnostics.h"

#include <cstdio>

const char* AfxGetProgramName() {
    return HOPLIN_PROGRAM_NAME;
}

std::string AfxFormat(const char* pszText, std::initializer_list<std::string> values) {
    std::string str = pszText;
    size_t nFrom = 0;
    for (const std::string& strValue : values) {
        const size_t nAt = str.find("%s", nFrom);
        if (nAt == std::string::npos) {
            break;
        }
        str.replace(nAt, 2, strValue);
        nFrom = nAt + strValue.size();
    }
    return str;
}

void AfxWarn(const std::string& strText) {
    const std::string strLine = std::string(AfxGetProgramName()) + ": " + strText + "\n";
    std::fputs(strLine.c_str(), stderr);
    // Windows' C library buffers standard error when it is not a console.
    std::fflush(stderr);
}
