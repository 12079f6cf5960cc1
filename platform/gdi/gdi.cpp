#include "platform/gdi/gdi.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/base/dpi.h"
#include "platform/gdi/gdi_impl.h"

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
    LOGFONT logFont{};
    // Truncating, as MFC converts tenths of a point to device units.
    logFont.lfHeight = -(nPointSize * AfxGetLogicalDpi() / kDecipointsPerInch);
    std::strncpy(logFont.lfFaceName, lpszFaceName != nullptr ? lpszFaceName : "", LF_FACESIZE - 1);
    return CreateFontIndirect(&logFont);
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    m_pData.reset();
    const int nPixelHeight = lpLogFont != nullptr ? std::abs(lpLogFont->lfHeight) : 0;
    if (nPixelHeight <= 0) {
        return FALSE;
    }
    // A font made again and again for each shape is the one font, found once: the faces are
    // the rasteriser's for its life, so a font of the same face and size is shared by
    // everything that makes it while that rasteriser is installed.
    static std::map<std::tuple<CTextRasterizer*, std::string, int>, std::shared_ptr<FontData>>
        s_fonts;
    CTextRasterizer& rasterizer = AfxTextRasterizer();
    std::shared_ptr<FontData>& pFont =
        s_fonts[std::make_tuple(&rasterizer, std::string(lpLogFont->lfFaceName), nPixelHeight)];
    if (pFont == nullptr) {
        const HFACE hFace = rasterizer.OpenFace(lpLogFont->lfFaceName, nPixelHeight);
        if (hFace == nullptr) {
            return FALSE;
        }
        pFont = std::make_shared<FontData>(rasterizer, hFace);
    }
    m_pData = pFont;
    return TRUE;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* /*pDC*/, int nWidth, int nHeight) {
    m_pData.reset();
    if (nWidth <= 0 || nHeight <= 0) {
        return FALSE;
    }
    m_pData = std::make_shared<BitmapData>(nWidth, nHeight);
    return TRUE;
}

SIZE CBitmap::GetSize() const {
    const auto* pBitmap = static_cast<const BitmapData*>(m_pData.get());
    return pBitmap != nullptr ? SIZE{pBitmap->buffer.cx, pBitmap->buffer.cy} : SIZE{0, 0};
}

BOOL CBitmap::SaveToFile(const char* pszPath) const {
    const auto* pBitmap = static_cast<const BitmapData*>(m_pData.get());
    return pBitmap != nullptr && pszPath != nullptr && pixels::SaveBmp(pBitmap->buffer, pszPath);
}
