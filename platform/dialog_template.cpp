#include "platform/dialog_template.h"

#include <mutex>

#include "platform/dc.h"
#include "platform/gdi.h"

namespace {

constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kLettersPerCase = 26;
constexpr int kDialogUnitsPerBaseX = 4;
constexpr int kDialogUnitsPerBaseY = 8;
constexpr int kTenthsPerPoint = 10;
// What the Windows system font gives, for when there is no font at all.
constexpr SIZE kFallbackBaseUnits{8, 16};

// Windows' MulDiv: a * b / c, rounded half away from zero.
int MulDiv(int a, int b, int c) {
    const long long nProduct = static_cast<long long>(a) * b;
    const long long nHalf = c / 2;
    return static_cast<int>(nProduct >= 0 ? (nProduct + nHalf) / c : (nProduct - nHalf) / c);
}

std::mutex g_mutexTemplates;
const DLGTEMPLATE* const* g_ppTemplates = nullptr;
int g_nTemplates = 0;

}  // namespace

void AfxSetDialogTemplates(const DLGTEMPLATE* const* ppTemplates, int nCount) {
    std::lock_guard<std::mutex> lock(g_mutexTemplates);
    g_ppTemplates = ppTemplates;
    g_nTemplates = ppTemplates != nullptr ? nCount : 0;
}

const DLGTEMPLATE* AfxFindDialogTemplate(UINT nID) {
    std::lock_guard<std::mutex> lock(g_mutexTemplates);
    for (int i = 0; i < g_nTemplates; ++i) {
        if (g_ppTemplates[i]->nID == nID) {
            return g_ppTemplates[i];
        }
    }
    return nullptr;
}

SIZE AfxGetDialogBaseUnits(const DLGTEMPLATE& dlgTemplate) {
    CFont font;
    if (!font.CreatePointFont(dlgTemplate.nPointSize * kTenthsPerPoint, dlgTemplate.pszFaceName)) {
        return kFallbackBaseUnits;
    }
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&font);
    TEXTMETRIC metrics;
    dc.GetTextMetrics(&metrics);
    const SIZE sizeAlphabet = dc.GetTextExtent(kAlphabet, -1);
    return SIZE{(sizeAlphabet.cx / kLettersPerCase + 1) / 2, metrics.tmHeight};
}

RECT AfxMapDialogRect(int x, int y, int cx, int cy, SIZE sizeBase) {
    const int left = MulDiv(x, sizeBase.cx, kDialogUnitsPerBaseX);
    const int top = MulDiv(y, sizeBase.cy, kDialogUnitsPerBaseY);
    const int right = MulDiv(x + cx, sizeBase.cx, kDialogUnitsPerBaseX);
    const int bottom = MulDiv(y + cy, sizeBase.cy, kDialogUnitsPerBaseY);
    return RECT{left, top, right, bottom};
}
