#include "platform/dialog_template.h"

#include "platform/dc.h"
#include "platform/gdi.h"
#include "platform/resource_table.h"

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

CResourceTable<const DLGTEMPLATE*> g_templates;

}  // namespace

void AfxSetDialogTemplates(const DLGTEMPLATE* const* ppTemplates, int nCount) {
    g_templates.Set(ppTemplates, nCount);
}

const DLGTEMPLATE* AfxFindDialogTemplate(UINT nID) {
    const DLGTEMPLATE* const* ppTemplate = g_templates.Find(nID);
    return ppTemplate != nullptr ? *ppTemplate : nullptr;
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
