#include "platform/window/dialog_units.h"

#include <cstdlib>
#include <cstring>

#include "platform/base/dpi.h"
#include "platform/gdi/dc.h"

namespace {

constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kLettersPerCase = 26;
constexpr int kDialogUnitsPerBaseX = 4;
constexpr int kDialogUnitsPerBaseY = 8;
constexpr int kPointsPerInch = 72;
// The standard dialog font's units at 96 DPI.
constexpr SIZE kStandardBaseUnits{6, 12};
constexpr int kBaseUnitTolerancePercent = 5;

bool IsNear(LONG nMeasured, LONG nStandard) {
    return std::abs(nMeasured - nStandard) * 100 <= nStandard * kBaseUnitTolerancePercent;
}

}  // namespace

BOOL AfxCreateDialogFont(CFont* pFont, const char* pszFaceName, int nPointSize) {
    LOGFONT logFont{};
    logFont.lfHeight = -MulDiv(nPointSize, AfxGetLogicalDpi(), kPointsPerInch);
    std::strncpy(logFont.lfFaceName, pszFaceName != nullptr ? pszFaceName : "", LF_FACESIZE - 1);
    return pFont->CreateFontIndirect(&logFont);
}

SIZE AfxGetDialogBaseUnits(const DLGTEMPLATE& dlgTemplate) {
    const SIZE sizeStandard{AfxScaleByDpi(kStandardBaseUnits.cx),
                            AfxScaleByDpi(kStandardBaseUnits.cy)};
    CFont font;
    if (!AfxCreateDialogFont(&font, dlgTemplate.pszFaceName, dlgTemplate.nPointSize)) {
        return sizeStandard;
    }
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&font);
    TEXTMETRIC metrics;
    dc.GetTextMetrics(&metrics);
    const SIZE sizeAlphabet = dc.GetTextExtent(kAlphabet, -1);
    const SIZE sizeMeasured{(sizeAlphabet.cx / kLettersPerCase + 1) / 2, metrics.tmHeight};
    return IsNear(sizeMeasured.cx, sizeStandard.cx) && IsNear(sizeMeasured.cy, sizeStandard.cy)
               ? sizeMeasured
               : sizeStandard;
}

RECT AfxMapDialogRect(int x, int y, int cx, int cy, SIZE sizeBase) {
    const int left = MulDiv(x, sizeBase.cx, kDialogUnitsPerBaseX);
    const int top = MulDiv(y, sizeBase.cy, kDialogUnitsPerBaseY);
    const int right = MulDiv(x + cx, sizeBase.cx, kDialogUnitsPerBaseX);
    const int bottom = MulDiv(y + cy, sizeBase.cy, kDialogUnitsPerBaseY);
    return RECT{left, top, right, bottom};
}
