#include "platform/gdi.h"

#include "platform/font_library.h"
#include "platform/gdi_impl.h"

namespace {

constexpr int kDecipointsPerInch = 720;

}  // namespace

BOOL CGdiObject::DeleteObject() {
    const BOOL bHadObject = m_pData != nullptr;
    m_pData.reset();
    return bHadObject;
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    m_pData.reset();
    if ((nPenStyle != PS_SOLID && nPenStyle != PS_NULL) || nWidth < 0 || nWidth > 1) {
        return FALSE;
    }
    m_pData = std::make_shared<PenData>(nPenStyle, crColor);
    return TRUE;
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    m_pData = std::make_shared<BrushData>(false, crColor);
    return TRUE;
}

BOOL CFont::CreatePointFont(int nPointSize, const char* lpszFaceName, CDC* /*pDC*/) {
    m_pData.reset();
    // Truncating, as MFC converts tenths of a point to device units.
    const int nPixelHeight = nPointSize * AfxGetScreenDpi() / kDecipointsPerInch;
    TTF_Font* pFace = AfxOpenFontFace(lpszFaceName, nPixelHeight);
    if (pFace == nullptr) {
        return FALSE;
    }
    m_pData = std::make_shared<FontData>(pFace);
    return TRUE;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* /*pDC*/, int nWidth, int nHeight) {
    m_pData.reset();
    if (nWidth <= 0 || nHeight <= 0) {
        return FALSE;
    }
    SDL_Surface* pSurface =
        SDL_CreateRGBSurfaceWithFormat(0, nWidth, nHeight, 32, SDL_PIXELFORMAT_XRGB8888);
    if (pSurface == nullptr) {
        return FALSE;
    }
    // A new surface is zero-filled, which is black.
    m_pData = std::make_shared<BitmapData>(pSurface);
    return TRUE;
}

SIZE CBitmap::GetSize() const {
    const auto* pBitmap = static_cast<const BitmapData*>(m_pData.get());
    return pBitmap != nullptr ? SIZE{pBitmap->pSurface->w, pBitmap->pSurface->h} : SIZE{0, 0};
}

BOOL CBitmap::SaveToFile(const char* pszPath) const {
    const auto* pBitmap = static_cast<const BitmapData*>(m_pData.get());
    return pBitmap != nullptr && SDL_SaveBMP(pBitmap->pSurface, pszPath) == 0;
}
