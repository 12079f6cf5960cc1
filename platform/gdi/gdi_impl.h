// What lies behind the GDI object, device-context and surface handles. The gdi's and the
// backends' code only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/pixels.h"
#include "platform/gdi/text_raster.h"

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

// The face is the rasteriser's that opened it, which draws the font's text.
struct FontData : GdiData {
    FontData(CTextRasterizer& rasterizerOfFace, HFACE hNamedFace)
        : rasterizer(rasterizerOfFace), hFace(hNamedFace) {}
    CTextRasterizer& rasterizer;
    // The named face's own, for the font's metrics.
    HFACE hFace;
    // The face that draws the text: the named one, or one that has the text's characters.
    HFACE FaceFor(const std::string& strText) const { return rasterizer.FaceFor(hFace, strText); }
};

// A bitmap's own pixels, cleared to black when made.
struct BitmapData : GdiData {
    BitmapData(int cx, int cy)
        : pixels(static_cast<size_t>(cx) * static_cast<size_t>(cy)),
          buffer{cx, cy, cx * static_cast<int>(sizeof(std::uint32_t)), pixels.data()} {}
    std::vector<std::uint32_t> pixels;
    PixelBuffer buffer;
};

// A window's pixels, as its screen driver hands them to the window's paint contexts.
struct HSURFACE__ {
    PixelBuffer pixels;
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
    PixelBuffer attached;  // a window's pixels, for a paint context
    Selection pen;
    Selection brush;
    Selection font;
    Selection bitmap;
    COLORREF crBk = RGB(255, 255, 255);
    COLORREF crText = RGB(0, 0, 0);
    int nBkMode = OPAQUE;
    int nRop2 = R2_COPYPEN;
    bool bClip = false;
    RECT rcClip{0, 0, 0, 0};

    // The pixels that drawing goes to; their pPixels is null when there are none.
    PixelBuffer Target() const;
    // Fills r with cr within clip.
    void Fill(const RECT& r, COLORREF cr, const RECT& clip);
    // Draws a rendered label with its top-left corner at pt, within clip: its background when
    // the mode is OPAQUE, its ink, and its underline when it has one.
    void DrawLabel(const text::RenderedText& rendered, bool bUnderline, POINT pt, const RECT& clip);
    // The clip for an operation on the target: the context's clip within the pixels, further
    // limited to pLimit when given. Answers false when nothing is left.
    bool ClipFor(const RECT* pLimit, RECT* pClip) const;
};
