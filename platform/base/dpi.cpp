#include "platform/base/dpi.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/base/diagnostics.h"
#include "platform/base/translate.h"
#include "platform/base/win_types.h"

namespace {

// No desktop is set up beyond five times the design size, nor below half of it, where text
// is unreadable: such a value is a mistake.
constexpr double kMinDpi = 48;
constexpr double kMaxDpi = 480;
constexpr const char* kXftDpiKey = "Xft.dpi";

std::atomic<int> g_nDpi{USER_DEFAULT_SCREEN_DPI};
int g_nPixelDensity = 1;

std::string Trimmed(const std::string& str) {
    const size_t nFirst = str.find_first_not_of(" \t");
    if (nFirst == std::string::npos) {
        return std::string();
    }
    return str.substr(nFirst, str.find_last_not_of(" \t") + 1 - nFirst);
}

// The value of the last line "Xft.dpi: <value>" in the resource text; false when there is
// none. Later lines win, as xrdb -merge leaves them.
bool FindXftDpi(const char* pszResources, std::string* pstrValue) {
    bool bFound = false;
    const char* pszLine = pszResources;
    while (pszLine != nullptr && *pszLine != '\0') {
        const char* pszEnd = std::strchr(pszLine, '\n');
        const std::string strLine =
            pszEnd != nullptr ? std::string(pszLine, pszEnd) : std::string(pszLine);
        const size_t nColon = strLine.find(':');
        if (nColon != std::string::npos && Trimmed(strLine.substr(0, nColon)) == kXftDpiKey) {
            *pstrValue = Trimmed(strLine.substr(nColon + 1));
            bFound = true;
        }
        pszLine = pszEnd != nullptr ? pszEnd + 1 : nullptr;
    }
    return bFound;
}

bool IsGiven(const char* pszValue) {
    return pszValue != nullptr && *pszValue != '\0';
}

// The finite number that the whole text spells, or NaN.
double ParseNumber(const std::string& str) {
    char* pszEnd = nullptr;
    const double d = std::strtod(str.c_str(), &pszEnd);
    return !str.empty() && *pszEnd == '\0' && std::isfinite(d) ? d : std::nan("");
}

}  // namespace

int AfxGetLogicalDpi() {
    return g_nDpi.load();
}

void AfxSetLogicalDpi(int nDpi) {
    g_nDpi.store(nDpi);
}

int AfxScaleByDpi(int n) {
    return MulDiv(n, AfxGetLogicalDpi(), USER_DEFAULT_SCREEN_DPI);
}

int AfxDesktopDpi(const DesktopScale& scale, std::string* pstrProblem) {
    std::string strProblem;
    const auto note = [&strProblem](const std::string& str) {
        strProblem += (strProblem.empty() ? "" : "; ") + str;
    };
    double dBase = USER_DEFAULT_SCREEN_DPI;
    std::string strValue;
    if (FindXftDpi(scale.pszResources, &strValue)) {
        const double d = ParseNumber(strValue);
        if (d >= kMinDpi && d <= kMaxDpi) {
            dBase = d;
        } else {
            note(AfxFormat(AfxTranslate("Xft.dpi \"%s\" is not a usable DPI"), {strValue}));
        }
    }
    double dScale = scale.nOutputScale >= 1 ? scale.nOutputScale : 1;
    if (IsGiven(scale.pszGdkScale)) {
        const double d = ParseNumber(scale.pszGdkScale);
        if (d >= 1 && d == std::floor(d)) {
            dScale *= d;
        } else {
            note(AfxFormat(AfxTranslate("GDK_SCALE \"%s\" is not a whole factor"),
                           {scale.pszGdkScale}));
        }
    }
    if (IsGiven(scale.pszGdkDpiScale)) {
        const double d = ParseNumber(scale.pszGdkDpiScale);
        if (d > 0) {
            dScale *= d;
        } else {
            note(AfxFormat(AfxTranslate("GDK_DPI_SCALE \"%s\" is not a positive factor"),
                           {scale.pszGdkDpiScale}));
        }
    }
    long nDpi = std::lround(dBase * dScale);
    if (nDpi < kMinDpi || nDpi > kMaxDpi) {
        note(AfxFormat(AfxTranslate("the scaled DPI %s is absurd"), {std::to_string(nDpi)}));
        nDpi = USER_DEFAULT_SCREEN_DPI;
    }
    *pstrProblem = strProblem;
    return static_cast<int>(nDpi);
}

void AfxTakeDesktopScale(const DesktopScale& scale) {
    std::string strProblem;
    const int nDpi = AfxDesktopDpi(scale, &strProblem);
    if (!strProblem.empty()) {
        AfxWarn(AfxFormat(AfxTranslate("warning: %s; using %s DPI"),
                          {strProblem, std::to_string(nDpi)}));
    }
    AfxSetLogicalDpi(nDpi);
    g_nPixelDensity = std::max(1, scale.nOutputScale);
}

int AfxGetPixelDensity() {
    return g_nPixelDensity;
}
