#include "platform/gdi/dc.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "platform/base/system_metrics.h"
#include "platform/gdi/gdi_impl.h"
#include "platform/gdi/pixels.h"
#include "platform/gdi/theme.h"

namespace {

// The system font, as a Japanese Windows has it: the Gothic of the dialogs, at their size, so
// that it is the face they open anyway rather than one more.
constexpr int kStockFontSize = 90;  // tenths of a point
constexpr const char* kStockFontFace = "ＭＳ Ｐゴシック";

// The objects a new context starts with, as in GDI: a black pen, a white brush, the system
// font, and for a memory context a 1 x 1 bitmap.
struct StockObjects {
    StockObjects() {
        blackPen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        nullPen.CreatePen(PS_NULL, 0, RGB(0, 0, 0));
        whiteBrush.CreateSolidBrush(RGB(255, 255, 255));
        systemFont.CreatePointFont(kStockFontSize, kStockFontFace);
        oneByOne.CreateCompatibleBitmap(nullptr, 1, 1);
    }
    // The hollow brush has no Create function of its own.
    struct CHollowBrush : CBrush {
        CHollowBrush() { m_pData = std::make_shared<BrushData>(true, RGB(0, 0, 0)); }
    };
    CPen blackPen;
    CPen nullPen;
    CBrush whiteBrush;
    CHollowBrush nullBrush;
    CFont systemFont;
    CBitmap oneByOne;
};

StockObjects& Stock() {
    static StockObjects s_stock;
    return s_stock;
}

template <class T>
T* Select(Selection& selection, T* pObject) {
    if (pObject == nullptr || pObject->GetSafeHandle() == nullptr) {
        return nullptr;
    }
    T* pOld = static_cast<T*>(selection.pObject);
    selection.pObject = pObject;
    selection.pData = pObject->GetData();
    return pOld;
}

template <class T>
void SelectStock(Selection& selection, T& object) {
    selection.pObject = &object;
    selection.pData = object.GetData();
}

}  // namespace

COLORREF GetSysColor(int nIndex) {
    return nIndex == COLOR_BTNFACE ? theme::kDialogFace : RGB(0, 0, 0);
}

PixelBuffer DCImpl::Target() const {
    if (attached.pPixels != nullptr) {
        return attached;
    }
    const auto* pBitmap = bMemory ? static_cast<const BitmapData*>(bitmap.pData.get()) : nullptr;
    return pBitmap != nullptr ? pBitmap->buffer : PixelBuffer();
}

void DCImpl::Fill(const RECT& r, COLORREF cr, const RECT& clip) {
    const PixelBuffer target = Target();
    RECT rcFill;
    if (target.pPixels != nullptr && IntersectRect(&rcFill, &r, &clip)) {
        pixels::Fill(target, rcFill, cr);
    }
}

bool DCImpl::ClipFor(const RECT* pLimit, RECT* pClip) const {
    const PixelBuffer target = Target();
    if (target.pPixels == nullptr) {
        return false;
    }
    *pClip = target.Bounds();
    if (bClip && !IntersectRect(pClip, pClip, &rcClip)) {
        return false;
    }
    return pLimit == nullptr || IntersectRect(pClip, pClip, pLimit);
}

void CDC::AttachSurface(HSURFACE hSurface) {
    m_pImpl->attached = hSurface != nullptr ? hSurface->pixels : PixelBuffer();
}

CDC::CDC() {
    DeleteDC();
}

CDC::~CDC() = default;

BOOL CDC::CreateCompatibleDC(CDC* /*pDC*/) {
    DeleteDC();
    m_pImpl->bMemory = true;
    SelectStock(m_pImpl->bitmap, Stock().oneByOne);
    return TRUE;
}

BOOL CDC::DeleteDC() {
    m_pImpl = std::make_unique<DCImpl>();
    StockObjects& stock = Stock();
    SelectStock(m_pImpl->pen, stock.blackPen);
    SelectStock(m_pImpl->brush, stock.whiteBrush);
    SelectStock(m_pImpl->font, stock.systemFont);
    return TRUE;
}

CPen* CDC::SelectObject(CPen* pPen) {
    return Select(m_pImpl->pen, pPen);
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
    return Select(m_pImpl->brush, pBrush);
}
CFont* CDC::SelectObject(CFont* pFont) {
    return Select(m_pImpl->font, pFont);
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    // Only a memory context has a bitmap to exchange.
    return m_pImpl->bMemory ? Select(m_pImpl->bitmap, pBitmap) : nullptr;
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
    StockObjects& stock = Stock();
    switch (nIndex) {
        case NULL_PEN:
            return Select<CPen>(m_pImpl->pen, &stock.nullPen);
        case NULL_BRUSH:
            return Select<CBrush>(m_pImpl->brush, &stock.nullBrush);
        default:
            return nullptr;
    }
}

CPen* CDC::GetCurrentPen() const {
    return static_cast<CPen*>(m_pImpl->pen.pObject);
}
CBrush* CDC::GetCurrentBrush() const {
    return static_cast<CBrush*>(m_pImpl->brush.pObject);
}
CFont* CDC::GetCurrentFont() const {
    return static_cast<CFont*>(m_pImpl->font.pObject);
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
    return std::exchange(m_pImpl->crBk, crColor);
}
COLORREF CDC::GetBkColor() const {
    return m_pImpl->crBk;
}
COLORREF CDC::SetTextColor(COLORREF crColor) {
    return std::exchange(m_pImpl->crText, crColor);
}
COLORREF CDC::GetTextColor() const {
    return m_pImpl->crText;
}
int CDC::SetBkMode(int nBkMode) {
    return std::exchange(m_pImpl->nBkMode, nBkMode);
}
int CDC::GetBkMode() const {
    return m_pImpl->nBkMode;
}
int CDC::SetROP2(int nDrawMode) {
    return std::exchange(m_pImpl->nRop2, nDrawMode);
}
int CDC::GetROP2() const {
    return m_pImpl->nRop2;
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    RECT clip;
    if (x2 <= x1 || y2 <= y1 || !m_pImpl->ClipFor(nullptr, &clip)) {
        return FALSE;
    }
    const auto* pBrush = DataOf<BrushData>(m_pImpl->brush);
    if (pBrush != nullptr && !pBrush->bNull && x2 - x1 > 2 && y2 - y1 > 2) {
        m_pImpl->Fill(RECT{x1 + 1, y1 + 1, x2 - 1, y2 - 1}, pBrush->crColor, clip);
    }
    const auto* pPen = DataOf<PenData>(m_pImpl->pen);
    if (pPen != nullptr && pPen->nStyle != PS_NULL) {
        m_pImpl->Fill(RECT{x1, y1, x2, y1 + 1}, pPen->crColor, clip);
        m_pImpl->Fill(RECT{x1, y2 - 1, x2, y2}, pPen->crColor, clip);
        m_pImpl->Fill(RECT{x1, y1, x1 + 1, y2}, pPen->crColor, clip);
        m_pImpl->Fill(RECT{x2 - 1, y1, x2, y2}, pPen->crColor, clip);
    }
    return TRUE;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF crColor) {
    RECT clip;
    if (m_pImpl->ClipFor(nullptr, &clip)) {
        m_pImpl->Fill(*lpRect, crColor, clip);
    }
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
    const PixelBuffer source = pSrcDC != nullptr ? pSrcDC->m_pImpl->Target() : PixelBuffer();
    RECT clip;
    if (dwRop != SRCCOPY || source.pPixels == nullptr || nWidth <= 0 || nHeight <= 0 ||
        !m_pImpl->ClipFor(nullptr, &clip)) {
        return FALSE;
    }
    RECT rcShown;
    POINT ptFrom;
    if (pixels::PlaceCopy(source, RECT{xSrc, ySrc, xSrc + nWidth, ySrc + nHeight},
                          RECT{x, y, x + nWidth, y + nHeight}, clip, &rcShown, &ptFrom)) {
        pixels::Copy(source, ptFrom, m_pImpl->Target(), rcShown);
    }
    return TRUE;
}

COLORREF CDC::GetPixel(int x, int y) const {
    const PixelBuffer target = m_pImpl->Target();
    const RECT rcBounds = target.Bounds();
    if (target.pPixels == nullptr || !PtInRect(&rcBounds, POINT{x, y})) {
        return CLR_INVALID;
    }
    return pixels::ToColour(*target.At(x, y));
}

BOOL CDC::SetPixel(int x, int y, COLORREF crColor) {
    RECT clip;
    if (!m_pImpl->ClipFor(nullptr, &clip)) {
        return FALSE;
    }
    m_pImpl->Fill(RECT{x, y, x + 1, y + 1}, crColor, clip);
    return TRUE;
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    int nScale = 1;
    const ICONIMAGE* pImage = AfxFindIconImage(hIcon, cxIcon, &nScale);
    RECT clip;
    if (pImage == nullptr || !m_pImpl->ClipFor(nullptr, &clip)) {
        return FALSE;
    }
    // Whole pixels of the art, centred in the icon's square.
    const int xImage = x + (cxIcon - pImage->cx * nScale) / 2;
    const int yImage = y + (cyIcon - pImage->cy * nScale) / 2;
    for (int row = 0; row < pImage->cy; ++row) {
        for (int col = 0; col < pImage->cx; ++col) {
            if (!AfxIsIconPixelTransparent(*pImage, col, row)) {
                const int xPixel = xImage + col * nScale;
                const int yPixel = yImage + row * nScale;
                m_pImpl->Fill(RECT{xPixel, yPixel, xPixel + nScale, yPixel + nScale},
                              AfxGetIconPixel(hIcon, *pImage, col, row), clip);
            }
        }
    }
    return TRUE;
}

void CDC::SetClipRect(LPCRECT lpRect) {
    m_pImpl->bClip = lpRect != nullptr;
    if (lpRect != nullptr) {
        m_pImpl->rcClip = *lpRect;
    }
}

void CDC::DrawFocusRect(LPCRECT lpRect) {
    const COLORREF cr = m_pImpl->crText;
    for (int x = lpRect->left; x < lpRect->right; x += 2) {
        SetPixel(x, lpRect->top, cr);
        SetPixel(x, lpRect->bottom - 1, cr);
    }
    for (int y = lpRect->top; y < lpRect->bottom; y += 2) {
        SetPixel(lpRect->left, y, cr);
        SetPixel(lpRect->right - 1, y, cr);
    }
}
