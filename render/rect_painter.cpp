#include "render/rect_painter.h"

#include <algorithm>

#include "platform/base/dpi.h"
#include "render/colours.h"

namespace {

// The labels' face at a size, selected into a context for as long as this lives.
class CLabelFont {
public:
    CLabelFont(CDC* pDC, int nPointSize) : m_pDC(pDC) {
        m_font.CreatePointFont(nPointSize, CRectPainter::kLabelFace);
        m_pOldFont = pDC->SelectObject(&m_font);
    }
    ~CLabelFont() {
        m_pDC->SelectObject(m_pOldFont);
        m_font.DeleteObject();
    }
    CLabelFont(const CLabelFont&) = delete;
    CLabelFont& operator=(const CLabelFont&) = delete;

    // What the ink of str covers, from the top left of its line; empty without ink.
    RECT Ink(const CString& str) const {
        RECT rc;
        m_pDC->GetTextInkRect(str, str.GetLength(), &rc);
        return rc;
    }

private:
    CDC* m_pDC;
    CFont m_font;
    CFont* m_pOldFont = nullptr;
};

bool FitsIn(const RECT& rcInk, int cx, int cy) {
    return rcInk.right - rcInk.left <= cx && rcInk.bottom - rcInk.top <= cy;
}

}  // namespace

CPenBrushScope::~CPenBrushScope() {
    m_pDC->SelectObject(m_pOldPen);
    m_pDC->SelectObject(m_pOldBrush);
    m_pen.DeleteObject();
    m_brush.DeleteObject();
    m_pDC->SetROP2(R2_COPYPEN);
}

void CRectPainter::FillRect(RECT rc, COLORREF crPen, COLORREF crBrush) {
    CSolidPenBrushScope scope(m_pDC);
    m_pDC->SetBkColor(colours::kBlack);
    scope.m_pen.CreatePen(PS_SOLID, 1, crPen);
    scope.m_brush.CreateSolidBrush(crBrush);
    scope.m_pOldPen = m_pDC->SelectObject(&scope.m_pen);
    scope.m_pOldBrush = m_pDC->SelectObject(&scope.m_brush);
    m_pDC->Rectangle(rc.left, rc.top, rc.right, rc.bottom);
}

void CRectPainter::DrawLabel(RECT rc, CString strText, int nPointSize, COLORREF crText) {
    const CLabelFont font(m_pDC, nPointSize);
    const COLORREF crOldText = m_pDC->SetTextColor(crText);
    m_pDC->SetBkMode(TRANSPARENT);
    m_pDC->DrawText(strText, strText.GetLength(), &rc, kLabelFormat);
    m_pDC->SetTextColor(crOldText);
}

void CRectPainter::DrawFittedLabel(RECT rc, CString strText, int nPointSize, int nMeasureSize,
                                   COLORREF crText) {
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    const COLORREF crOldText = m_pDC->SetTextColor(crText);
    m_pDC->SetBkMode(TRANSPARENT);
    int nSize = nPointSize;
    const RECT rcMeasured = CLabelFont(m_pDC, nMeasureSize).Ink(strText);
    if (!IsRectEmpty(&rcMeasured)) {
        // Scaled by the pixels the measured face has, which its size in points rounds down
        // to. Hinting moves an edge of the ink by a pixel either way, so the search starts a
        // little above the scaled size and steps down from there: where the search from the
        // nominal size would end, but without opening the faces far above.
        const int nDpi = AfxGetLogicalDpi();
        const int nMeasurePixels = nMeasureSize * nDpi / kDecipointsPerInch;
        const int nPixels = std::min(nMeasurePixels * cx / (rcMeasured.right - rcMeasured.left),
                                     nMeasurePixels * cy / (rcMeasured.bottom - rcMeasured.top));
        // The largest size whose face has no more pixels than that, and the hinting's margin.
        const int nAbove = ((nPixels + kHintingMargin + 1) * kDecipointsPerInch - 1) / nDpi;
        nSize = std::max(kFitStep, std::min(nPointSize, nAbove / kFitStep * kFitStep));
        while (nSize > kFitStep && !FitsIn(CLabelFont(m_pDC, nSize).Ink(strText), cx, cy)) {
            nSize -= kFitStep;
        }
    }
    const CLabelFont font(m_pDC, nSize);
    const RECT rcInk = font.Ink(strText);
    // Placed by its ink, not by its line, and centred across as DrawText centres.
    RECT rcLine{rc.left, rc.top + (cy - (rcInk.bottom - rcInk.top)) / 2 - rcInk.top, rc.right,
                rc.bottom};
    m_pDC->DrawText(strText, strText.GetLength(), &rcLine, DT_CENTER | DT_SINGLELINE);
    m_pDC->SetTextColor(crOldText);
}
