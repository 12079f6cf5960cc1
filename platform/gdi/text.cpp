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
SDL_Point PlaceText(const RECT& rc, UINT nFormat, const text::RenderedText& rendered) {
    SDL_Point pt{rc.left, rc.top};
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

void DCImpl::DrawLabel(const text::RenderedText& rendered, bool bUnderline, SDL_Point pt,
                       const SDL_Rect& clip) {
    if (nBkMode == OPAQUE) {
        Fill(SDL_Rect{pt.x, pt.y, rendered.nWidth, rendered.nHeight}, crBk, clip);
    }
    if (rendered.pInk != nullptr) {
        SDL_Surface* pSurface = Target();
        SDL_Rect rcOld;
        SDL_GetClipRect(pSurface, &rcOld);
        SDL_SetClipRect(pSurface, &clip);
        SDL_Rect rcDest{pt.x, pt.y, rendered.pInk->w, rendered.pInk->h};
        SDL_BlitSurface(rendered.pInk, nullptr, pSurface, &rcDest);
        SDL_SetClipRect(pSurface, &rcOld);
    }
    if (bUnderline) {
        Fill(SDL_Rect{pt.x + rendered.nUnderlineLeft, pt.y + rendered.nAscent + 1,
                      rendered.nUnderlineWidth, 1},
             crText, clip);
    }
}

int CDC::DrawText(const char* lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    const auto* pFont = DataOf<FontData>(m_pImpl->font);
    if (lpszString == nullptr || lpRect == nullptr || pFont == nullptr || pFont->pTTF == nullptr) {
        return 0;
    }
    const SDL_Rect rcLimit = pixels::ToSdl(*lpRect);
    SDL_Rect clip;
    if (nCount == 0 || *lpszString == '\0' || !m_pImpl->ClipFor(&rcLimit, &clip)) {
        // Nothing of it would show, so it is neither shaped nor rendered.
        return TTF_FontHeight(pFont->pTTF);
    }
    const text::PrefixedText text =
        text::ResolvePrefixes(TextOf(lpszString, nCount), (nFormat & DT_NOPREFIX) == 0);
    const text::RenderedText& rendered = text::Rendered(*pFont, text, m_pImpl->crText);
    if (!text.strShown.empty()) {
        m_pImpl->DrawLabel(rendered, text.nUnderlineBegin != std::string::npos,
                           PlaceText(*lpRect, nFormat, rendered), clip);
    }
    return rendered.nHeight;
}

SIZE CDC::GetTextExtent(const char* lpszString, int nCount) const {
    const auto* pFont = DataOf<FontData>(m_pImpl->font);
    if (lpszString == nullptr || pFont == nullptr || pFont->pTTF == nullptr) {
        return SIZE{0, 0};
    }
    const std::string str = TextOf(lpszString, nCount);
    TTF_Font* pTTF = pFont->FaceFor(str);
    return SIZE{text::Width(pTTF, str), TTF_FontHeight(pTTF)};
}

BOOL CDC::GetTextInkRect(const char* lpszString, int nCount, LPRECT lpRect) const {
    SetRectEmpty(lpRect);
    const auto* pFont = DataOf<FontData>(m_pImpl->font);
    if (lpszString == nullptr || pFont == nullptr || pFont->pTTF == nullptr) {
        return FALSE;
    }
    const text::RenderedText& rendered = text::Rendered(
        *pFont, text::ResolvePrefixes(TextOf(lpszString, nCount), false), m_pImpl->crText);
    const SDL_Rect& ink = rendered.rcInk;
    *lpRect = RECT{ink.x, ink.y, ink.x + ink.w, ink.y + ink.h};
    return !IsRectEmpty(lpRect);
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* pMetrics) const {
    const auto* pFont = DataOf<FontData>(m_pImpl->font);
    if (pMetrics == nullptr || pFont == nullptr || pFont->pTTF == nullptr) {
        return FALSE;
    }
    TTF_Font* pTTF = pFont->pTTF;
    pMetrics->tmHeight = TTF_FontHeight(pTTF);
    pMetrics->tmAscent = TTF_FontAscent(pTTF);
    pMetrics->tmDescent = -TTF_FontDescent(pTTF);
    pMetrics->tmAveCharWidth = text::Width(pTTF, "x");
    return TRUE;
}
