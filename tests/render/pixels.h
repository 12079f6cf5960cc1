// Pixel probes over memory contexts.
#pragma once

#include <algorithm>
#include <functional>

#include "platform/gdi/dc.h"

namespace testing_pixels {

// A memory context on a bitmap of its own, cleared to a colour.
class CCanvas {
public:
    CCanvas(int cx, int cy, COLORREF crBackground = RGB(0, 0, 0)) : m_size{cx, cy} {
        m_bitmap.CreateCompatibleBitmap(nullptr, cx, cy);
        m_dc.CreateCompatibleDC(nullptr);
        m_dc.SelectObject(&m_bitmap);
        const RECT rc{0, 0, cx, cy};
        m_dc.FillSolidRect(&rc, crBackground);
    }
    CDC& DC() { return m_dc; }
    SIZE Size() const { return m_size; }

private:
    SIZE m_size;
    CBitmap m_bitmap;
    CDC m_dc;
};

// How many pixels of rc satisfy the predicate.
inline int CountPixels(const CDC& dc, const RECT& rc, const std::function<bool(COLORREF)>& fn) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            n += fn(dc.GetPixel(x, y)) ? 1 : 0;
        }
    }
    return n;
}

inline int CountColour(const CDC& dc, const RECT& rc, COLORREF cr) {
    return CountPixels(dc, rc, [cr](COLORREF px) { return px == cr; });
}

// Ink of anti-aliased text: pixels whose hue leans towards the text colour. For the game's
// colours it is enough that the dominant channels stand clearly above the rest.
inline bool IsInkOf(COLORREF px, COLORREF crText, COLORREF crBackground) {
    const int dr = GetRValue(px) - GetRValue(crBackground);
    const int dg = GetGValue(px) - GetGValue(crBackground);
    const int db = GetBValue(px) - GetBValue(crBackground);
    const int tr = GetRValue(crText) - GetRValue(crBackground);
    const int tg = GetGValue(crText) - GetGValue(crBackground);
    const int tb = GetBValue(crText) - GetBValue(crBackground);
    // Projection of the pixel's change onto the text's direction, against the total.
    const long long nDot = 1LL * dr * tr + 1LL * dg * tg + 1LL * db * tb;
    const long long nText = 1LL * tr * tr + 1LL * tg * tg + 1LL * tb * tb;
    return nText > 0 && nDot * 4 >= nText;  // at least a quarter of the way to the text
}

// The bounding box of the pixels that differ from crBackground; empty if none do.
inline RECT InkBox(const CDC& dc, const RECT& rc, COLORREF crBackground) {
    RECT box{rc.right, rc.bottom, rc.left, rc.top};
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (dc.GetPixel(x, y) != crBackground) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    }
    return IsRectEmpty(&box) ? RECT{0, 0, 0, 0} : box;
}

}  // namespace testing_pixels
