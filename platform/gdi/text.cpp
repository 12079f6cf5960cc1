// CDC's text: drawing one line in a rectangle, and measuring it.
#include <string>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi_impl.h"
#include "platform/gdi/pixels.h"
#include "platform/gdi/text_cache.h"

namespace {

std::string TextOf(const char* lpszString, int nCount) {
    return nCount < 0 ? std::string(lpszString) : std::string(lpszString, nCount);
}

// Where DrawText puts the label's top-left corner in rc, as nFormat places it. A centred
// label centres its ink rather than its advance, which keeps labels such as "GOAL!!"
// visually in the middle.
POINT PlaceText(const RECT& rc, UINT nFormat, const text::RenderedText& rendered) {
    POINT pt{rc.left, rc.top};
    if ((nFormat & DT_CENTER) != 0) {
        pt.x = rc.left + (rc.right - rc.left - rendered.nWidth) / 2 - rendered.nInkImbalance / 2;
    } else if ((nFormat & DT_RIGHT) != 0) {
        pt.x = rc.right - rendered.nWidth;
    }
    if ((nFormat & DT_VCENTER) != 0) {
        pt.y = rc.top + (rc.bottom - rc.top - rendered.nHeight) / 2;
    } else if ((nFormat & DT_BOTTOM) != 0) {
        pt.y = rc.bottom - rendered.nHeight;
    }
    return pt;
}

}  // namespace

void DCImpl::DrawLabel(const text::RenderedText& rendered, bool bUnderline, POINT pt,
                       const RECT& clip) {
    if (nBkMode == OPAQUE) {
        Fill(RECT{pt.x, pt.y, pt.x + rendered.nWidth, pt.y + rendered.nHeight}, crBk, clip);
    }
    pixels::Blend(Target(), pt, rendered.ink, crText, clip);
    if (bUnderline) {
        const int xLine = pt.x + rendered.nUnderlineLeft;
        const int yLine = pt.y + rendered.nAscent + 1;
        Fill(RECT{xLine, yLine, xLine + rendered.nUnderlineWidth, yLine + 1}, crText, clip);
    }
}

int CDC::DrawText(const char* lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    const auto* pFont = DataOf<FontData>(m_pImpl->font);
    if (lpszString == nullptr || lpRect == nullptr || pFont == nullptr) {
        return 0;
    }
    RECT clip;
    if (nCount == 0 || *lpszString == '\0' || !m_pImpl->ClipFor(lpRect, &clip)) {
        // Nothing of it would show, so it is neither shaped nor rendered.
        return pFont->rasterizer.Metrics(pFont->hFace).nHeight;
    }
    const text::PrefixedText text =
        text::ResolvePrefixes(TextOf(lpszString, nCount), (nFormat & DT_NOPREFIX) == 0);
    const text::RenderedText& rendered = text::Rendered(*pFont, text);
    if (!text.strShown.empty()) {
        m_pImpl->DrawLabel(rendered, text.nUnderlineBegin != std::string::npos,
                           PlaceText(*lpRect, nFormat, rendered), clip);
    }
    return rendered.nHeight;
}

SIZE CDC::GetTextExtent(const char* lpszString, int nCount) const {
    const auto* pFont = DataOf<FontData>(m_pImpl->font);
    if (lpszString == nullptr || pFont == nullptr) {
        return SIZE{0, 0};
    }
    const std::string str = TextOf(lpszString, nCount);
    const HFACE hFace = pFont->FaceFor(str);
    CTextRasterizer& rasterizer = pFont->rasterizer;
    return SIZE{rasterizer.Advance(hFace, str), rasterizer.Metrics(hFace).nHeight};
}

BOOL CDC::GetTextInkRect(const char* lpszString, int nCount, LPRECT lpRect) const {
    SetRectEmpty(lpRect);
    const auto* pFont = DataOf<FontData>(m_pImpl->font);
    if (lpszString == nullptr || pFont == nullptr) {
        return FALSE;
    }
    *lpRect =
        text::Rendered(*pFont, text::ResolvePrefixes(TextOf(lpszString, nCount), false)).rcInk;
    return !IsRectEmpty(lpRect);
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* pMetrics) const {
    const auto* pFont = DataOf<FontData>(m_pImpl->font);
    if (pMetrics == nullptr || pFont == nullptr) {
        return FALSE;
    }
    CTextRasterizer& rasterizer = pFont->rasterizer;
    const FaceMetrics metrics = rasterizer.Metrics(pFont->hFace);
    pMetrics->tmHeight = metrics.nHeight;
    pMetrics->tmAscent = metrics.nAscent;
    pMetrics->tmDescent = metrics.nDescent;
    pMetrics->tmAveCharWidth = rasterizer.Advance(pFont->hFace, "x");
    return TRUE;
}
