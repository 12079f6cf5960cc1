// The platform's own pixels: XRGB8888, one 32-bit word a pixel, red in bits 16 to 23, green
// in 8 to 15, blue in 0 to 7, the top byte unused and kept 0. What device contexts fill,
// copy and blend text into. Plain stores throughout, so that what is written stays in the
// cache for the copy or upload that reads it next. The gdi's and the backends' code only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/base/win_types.h"

struct Coverage;

// A view of pixels that someone else owns: a bitmap's, or a window's that its screen driver
// hands out.
struct PixelBuffer {
    int cx = 0;
    int cy = 0;
    int nPitch = 0;  // bytes from one row to the next
    std::uint32_t* pPixels = nullptr;

    std::uint32_t* At(int x, int y) const {
        return reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(pPixels) +
                                                static_cast<std::ptrdiff_t>(y) * nPitch) +
               x;
    }
    RECT Bounds() const { return RECT{0, 0, cx, cy}; }
};

namespace pixels {

std::uint32_t FromColour(COLORREF cr);
COLORREF ToColour(std::uint32_t nPixel);

// Fills r, which lies inside the buffer, with cr.
void Fill(const PixelBuffer& buffer, const RECT& r, COLORREF cr);
// Where a copy of rcSource to rcDest's corner lands within the source and clip: the part of
// the destination it writes, and the source pixel that goes to that part's corner. Answers
// false when nothing is left.
bool PlaceCopy(const PixelBuffer& source, const RECT& rcSource, RECT rcDest, const RECT& clip,
               RECT* pShown, POINT* pFrom);
// Copies rcTo of dest from source, starting at ptFrom, row by row.
void Copy(const PixelBuffer& source, POINT ptFrom, const PixelBuffer& dest, const RECT& rcTo);
// Lays ink's coverage over dest in cr, its top-left corner at pt, within clip: each pixel
// goes as far towards cr as its coverage says.
void Blend(const PixelBuffer& dest, POINT pt, const Coverage& ink, COLORREF cr, const RECT& clip);
// Writes the buffer as a 24-bit .bmp file; answers whether all of it was written.
bool SaveBmp(const PixelBuffer& buffer, const std::string& strPath);

}  // namespace pixels
