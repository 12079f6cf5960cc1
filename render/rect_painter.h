// CRectPainter: the two drawing operations that every shape and label of the game goes
// through, and the scope that lends a context a pen and a brush for one rectangle.
#pragma once

#include "platform/base/cstring.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"

// Selects a freshly made pen and brush into a context for one rectangle. On leaving it
// puts the previous pen and brush back, releases its own, and leaves the context in plain
// copy mode.
class CPenBrushScope {
public:
    explicit CPenBrushScope(CDC* pDC) : m_pDC(pDC) {}
    virtual ~CPenBrushScope();
    CPenBrushScope(const CPenBrushScope&) = delete;
    CPenBrushScope& operator=(const CPenBrushScope&) = delete;

    CBrush* m_pOldBrush = nullptr;
    CPen* m_pOldPen = nullptr;
    CBrush m_brush;
    CPen m_pen;
    CDC* m_pDC;
};

class CSolidPenBrushScope : public CPenBrushScope {
public:
    using CPenBrushScope::CPenBrushScope;
    ~CSolidPenBrushScope() override = default;
};

// Draws on a context that it does not own. Every call makes and releases its own pen, brush
// or font.
class CRectPainter {
public:
    // Where the game's Windows face is missing, the platform picks a Japanese-capable Gothic.
    static constexpr const char* kLabelFace = "ＭＳ ゴシック";
    static constexpr UINT kLabelFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    // The fitted label's sizes go in whole points: tenths of a point.
    static constexpr int kFitStep = 10;
    // How many pixels hinting may make a face's ink larger than its size scaled says.
    static constexpr int kHintingMargin = 2;

    explicit CRectPainter(CDC* pDC) : m_pDC(pDC) {}
    virtual ~CRectPainter() = default;

    // rc outlined in crPen and filled with crBrush. Leaves the background colour black.
    void FillRect(RECT rc, COLORREF crPen, COLORREF crBrush);
    // One line of text, nPointSize tenths of a point high, centred in rc and clipped to it.
    // Leaves the background mode transparent.
    void DrawLabel(RECT rc, CString strText, int nPointSize, COLORREF crText);
    // One line of text whose ink stays inside rc, centred there: at nPointSize, or at the
    // largest whole point size below it whose ink fits, for a face whose glyphs reach beyond
    // its line. The ink grows with the size, so it is measured once, at nMeasureSize: a size
    // that is drawn anyway, so that no face is opened only to be measured. Leaves the
    // background mode transparent.
    void DrawFittedLabel(RECT rc, CString strText, int nPointSize, int nMeasureSize,
                         COLORREF crText);

    CDC* m_pDC;
};
