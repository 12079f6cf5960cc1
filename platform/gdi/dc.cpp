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

SDL_Surface* DCImpl::Target() const {
    if (pAttached != nullptr) {
        return pAttached;
    }
    const auto* pBitmap = bMemory ? static_cast<const BitmapData*>(bitmap.pData.get()) : nullptr;
    return pBitmap != nullptr ? pBitmap->pSurface : nullptr;
}

void DCImpl::Fill(const SDL_Rect& r, COLORREF cr, const SDL_Rect& clip) {
    SDL_Surface* pSurface = Target();
    SDL_Rect rcFill;
    if (pSurface != nullptr && pixels::Intersect(r, clip, &rcFill)) {
        pixels::Fill(pSurface, rcFill, cr, rcFill);
    }
}

void DCImpl::Copy(SDL_Surface* pSource, const SDL_Rect& rcSource, const SDL_Rect& rcDest,
                  const SDL_Rect& clip) {
    SDL_Rect rcShown;
    SDL_Point ptFrom;
    if (!pixels::PlaceCopy(pSource, rcSource, rcDest, clip, &rcShown, &ptFrom)) {
        return;
    }
    pixels::Copy(pSource, ptFrom, Target(), rcShown);
}

bool DCImpl::ClipFor(const SDL_Rect* pLimit, SDL_Rect* pClip) const {
    const SDL_Surface* pSurface = Target();
    if (pSurface == nullptr) {
        return false;
    }
    *pClip = SDL_Rect{0, 0, pSurface->w, pSurface->h};
    if (bClip && !pixels::Intersect(*pClip, rcClip, pClip)) {
        return false;
    }
    return pLimit == nullptr || pixels::Intersect(*pClip, *pLimit, pClip);
}

void CDC::AttachSurface(HSURFACE hSurface) {
    m_pImpl->pAttached = hSurface != nullptr ? hSurface->pSurface : nullptr;
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
    SDL_Rect clip;
    if (x2 <= x1 || y2 <= y1 || !m_pImpl->ClipFor(nullptr, &clip)) {
        return FALSE;
    }
    const auto* pBrush = DataOf<BrushData>(m_pImpl->brush);
    if (pBrush != nullptr && !pBrush->bNull && x2 - x1 > 2 && y2 - y1 > 2) {
        m_pImpl->Fill(SDL_Rect{x1 + 1, y1 + 1, x2 - x1 - 2, y2 - y1 - 2}, pBrush->crColor, clip);
    }
    const auto* pPen = DataOf<PenData>(m_pImpl->pen);
    if (pPen != nullptr && pPen->nStyle != PS_NULL) {
        const int w = x2 - x1;
        const int h = y2 - y1;
        m_pImpl->Fill(SDL_Rect{x1, y1, w, 1}, pPen->crColor, clip);
        m_pImpl->Fill(SDL_Rect{x1, y2 - 1, w, 1}, pPen->crColor, clip);
        m_pImpl->Fill(SDL_Rect{x1, y1, 1, h}, pPen->crColor, clip);
        m_pImpl->Fill(SDL_Rect{x2 - 1, y1, 1, h}, pPen->crColor, clip);
    }
    return TRUE;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF crColor) {
    SDL_Rect clip;
    if (m_pImpl->ClipFor(nullptr, &clip)) {
        m_pImpl->Fill(pixels::ToSdl(*lpRect), crColor, clip);
    }
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
    SDL_Surface* pDest = m_pImpl->Target();
    SDL_Surface* pSource = pSrcDC != nullptr ? pSrcDC->m_pImpl->Target() : nullptr;
    SDL_Rect clip;
    if (dwRop != SRCCOPY || pSource == nullptr || nWidth <= 0 || nHeight <= 0 ||
        !m_pImpl->ClipFor(nullptr, &clip)) {
        return FALSE;
    }
    const SDL_Rect rcSource{xSrc, ySrc, nWidth, nHeight};
    const SDL_Rect rcDest{x, y, nWidth, nHeight};
    if (pSource->format->format == pDest->format->format &&
        pSource->format->BytesPerPixel == sizeof(Uint32)) {
        m_pImpl->Copy(pSource, rcSource, rcDest, clip);
        return TRUE;
    }
    SDL_Rect rcOld;
    SDL_GetClipRect(pDest, &rcOld);
    SDL_SetClipRect(pDest, &clip);
    SDL_SetSurfaceBlendMode(pSource, SDL_BLENDMODE_NONE);
    SDL_Rect rcSourceClipped = rcSource;
    SDL_Rect rcDestClipped = rcDest;
    const int nResult = SDL_BlitSurface(pSource, &rcSourceClipped, pDest, &rcDestClipped);
    SDL_SetClipRect(pDest, &rcOld);
    return nResult == 0;
}

COLORREF CDC::GetPixel(int x, int y) const {
    const SDL_Surface* pSurface = m_pImpl->Target();
    if (pSurface == nullptr || x < 0 || y < 0 || x >= pSurface->w || y >= pSurface->h ||
        pSurface->format->BytesPerPixel != 4) {
        return CLR_INVALID;
    }
    const auto* pRow = static_cast<const Uint8*>(pSurface->pixels) + y * pSurface->pitch;
    const Uint32 nPixel = reinterpret_cast<const Uint32*>(pRow)[x];
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(nPixel, pSurface->format, &r, &g, &b);
    return RGB(r, g, b);
}

BOOL CDC::SetPixel(int x, int y, COLORREF crColor) {
    SDL_Rect clip;
    if (!m_pImpl->ClipFor(nullptr, &clip)) {
        return FALSE;
    }
    m_pImpl->Fill(SDL_Rect{x, y, 1, 1}, crColor, clip);
    return TRUE;
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    int nScale = 1;
    const ICONIMAGE* pImage = AfxFindIconImage(hIcon, cxIcon, &nScale);
    SDL_Rect clip;
    if (pImage == nullptr || !m_pImpl->ClipFor(nullptr, &clip)) {
        return FALSE;
    }
    // Whole pixels of the art, centred in the icon's square.
    const int xImage = x + (cxIcon - pImage->cx * nScale) / 2;
    const int yImage = y + (cyIcon - pImage->cy * nScale) / 2;
    for (int row = 0; row < pImage->cy; ++row) {
        for (int col = 0; col < pImage->cx; ++col) {
            if (!AfxIsIconPixelTransparent(*pImage, col, row)) {
                m_pImpl->Fill(
                    SDL_Rect{xImage + col * nScale, yImage + row * nScale, nScale, nScale},
                    AfxGetIconPixel(hIcon, *pImage, col, row), clip);
            }
        }
    }
    return TRUE;
}

void CDC::SetClipRect(LPCRECT lpRect) {
    m_pImpl->bClip = lpRect != nullptr;
    if (lpRect != nullptr) {
        m_pImpl->rcClip = pixels::ToSdl(*lpRect);
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
