#include "platform/gdi/pixels.h"

#include <algorithm>
#include <cstring>

namespace pixels {

namespace {

// A 32-bit pixel whose four bytes all have the value b is b times this.
constexpr Uint32 kByteRepeated = 0x01010101;

// The 32-bit pixel at (x, y).
Uint32* PixelAt(SDL_Surface* pSurface, int x, int y) {
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(pSurface->pixels) + y * pSurface->pitch) +
           x;
}

}  // namespace

bool PlaceCopy(const SDL_Surface* pSource, const SDL_Rect& rcSource, SDL_Rect rcDest,
               const SDL_Rect& clip, SDL_Rect* pShown, SDL_Point* pFrom) {
    SDL_Rect rcWithin;
    const SDL_Rect rcSurface{0, 0, pSource->w, pSource->h};
    if (!Intersect(rcSource, rcSurface, &rcWithin)) {
        return false;
    }
    rcDest.x += rcWithin.x - rcSource.x;
    rcDest.y += rcWithin.y - rcSource.y;
    rcDest.w = rcWithin.w;
    rcDest.h = rcWithin.h;
    if (!Intersect(rcDest, clip, pShown)) {
        return false;
    }
    *pFrom = SDL_Point{rcWithin.x + pShown->x - rcDest.x, rcWithin.y + pShown->y - rcDest.y};
    return true;
}

void Copy(SDL_Surface* pSource, SDL_Point ptFrom, SDL_Surface* pDest, const SDL_Rect& rcTo) {
    const size_t nRowBytes = static_cast<size_t>(rcTo.w) * sizeof(Uint32);
    for (int row = 0; row < rcTo.h; ++row) {
        std::memcpy(PixelAt(pDest, rcTo.x, rcTo.y + row),
                    PixelAt(pSource, ptFrom.x, ptFrom.y + row), nRowBytes);
    }
}

Uint32 MapColour(const SDL_Surface* pSurface, COLORREF cr) {
    return SDL_MapRGB(pSurface->format, GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

SDL_Rect ToSdl(const RECT& rc) {
    return SDL_Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

bool Intersect(const SDL_Rect& a, const SDL_Rect& b, SDL_Rect* pResult) {
    return SDL_IntersectRect(&a, &b, pResult) == SDL_TRUE;
}

void Fill(SDL_Surface* pSurface, const SDL_Rect& r, COLORREF cr, const SDL_Rect& clip) {
    SDL_Rect rcFill;
    if (!Intersect(r, clip, &rcFill)) {
        return;
    }
    if (pSurface->format->BytesPerPixel != sizeof(Uint32)) {
        SDL_FillRect(pSurface, &rcFill, MapColour(pSurface, cr));
        return;
    }
    // The first row is set pixel by pixel, unless one byte value makes the pixel; the other
    // rows are copies of it.
    const Uint32 nPixel = MapColour(pSurface, cr);
    const size_t nRowBytes = static_cast<size_t>(rcFill.w) * sizeof(Uint32);
    Uint32* pFirst = PixelAt(pSurface, rcFill.x, rcFill.y);
    const auto nByte = static_cast<Uint8>(nPixel);
    if (nPixel == nByte * kByteRepeated) {
        for (int row = 0; row < rcFill.h; ++row) {
            std::memset(PixelAt(pSurface, rcFill.x, rcFill.y + row), nByte, nRowBytes);
        }
        return;
    }
    std::fill_n(pFirst, rcFill.w, nPixel);
    for (int row = 1; row < rcFill.h; ++row) {
        std::memcpy(PixelAt(pSurface, rcFill.x, rcFill.y + row), pFirst, nRowBytes);
    }
}

}  // namespace pixels
