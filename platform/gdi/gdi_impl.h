// What lies behind the GDI object, device-context and surface handles. The gdi's and the
// screen's code only.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <memory>
#include <string>
#include <utility>

#include "platform/gdi/dc.h"
#include "platform/gdi/font_library.h"
#include "platform/gdi/gdi.h"

namespace text {
struct RenderedText;
}  // namespace text

struct GdiData {
    virtual ~GdiData() = default;
};

struct PenData : GdiData {
    PenData(int style, COLORREF cr) : nStyle(style), crColor(cr) {}
    int nStyle;
    COLORREF crColor;
};

struct BrushData : GdiData {
    BrushData(bool bHollow, COLORREF cr) : bNull(bHollow), crColor(cr) {}
    bool bNull;
    COLORREF crColor;
};

// The faces belong to the font library's cache.
struct FontData : GdiData {
    FontData(TTF_Font* pFace, std::string strFace, int nHeight)
        : pTTF(pFace), strFaceName(std::move(strFace)), nPixelHeight(nHeight) {}
    // The named face's own, for the font's metrics.
    TTF_Font* pTTF;
    std::string strFaceName;
    int nPixelHeight;
    // The face that draws the text: the named one, or one that has the text's characters.
    TTF_Font* FaceFor(const std::string& strText) const {
        return AfxOpenFontFace(strFaceName.c_str(), nPixelHeight, strText.c_str());
    }
};

struct BitmapData : GdiData {
    explicit BitmapData(SDL_Surface* pSurf) : pSurface(pSurf) {}
    ~BitmapData() override { SDL_FreeSurface(pSurface); }
    SDL_Surface* pSurface;
};

// A window's pixels, as the screen keeps them for the window's paint contexts.
struct HSURFACE__ {
    SDL_Surface* pSurface = nullptr;
};

// One selected object: the C++ object that SelectObject hands back, and its data, which the
// context keeps alive while it is selected.
struct Selection {
    CGdiObject* pObject = nullptr;
    std::shared_ptr<GdiData> pData;
};

template <class T>
const T* DataOf(const Selection& selection) {
    return static_cast<const T*>(selection.pData.get());
}

struct DCImpl {
    bool bMemory = false;
    SDL_Surface* pAttached = nullptr;  // a window's surface, for a paint context
    Selection pen;
    Selection brush;
    Selection font;
    Selection bitmap;
    COLORREF crBk = RGB(255, 255, 255);
    COLORREF crText = RGB(0, 0, 0);
    int nBkMode = OPAQUE;
    int nRop2 = R2_COPYPEN;
    bool bClip = false;
    SDL_Rect rcClip{0, 0, 0, 0};

    // The surface that drawing goes to, or null.
    SDL_Surface* Target() const;
    // Fills r with cr within clip.
    void Fill(const SDL_Rect& r, COLORREF cr, const SDL_Rect& clip);
    // Copies rcSource of the source to rcDest within clip.
    void Copy(SDL_Surface* pSource, const SDL_Rect& rcSource, const SDL_Rect& rcDest,
              const SDL_Rect& clip);
    // Draws a rendered label with its top-left corner at pt, within clip: its background when
    // the mode is OPAQUE, its ink, and its underline when it has one.
    void DrawLabel(const text::RenderedText& rendered, bool bUnderline, SDL_Point pt,
                   const SDL_Rect& clip);
    // The clip for an operation on the target: the context's clip within the surface,
    // further limited to pLimit when given. Answers false when nothing is left.
    bool ClipFor(const SDL_Rect* pLimit, SDL_Rect* pClip) const;
};
