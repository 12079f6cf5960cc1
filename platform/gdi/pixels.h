// Raw pixel work on 32-bit SDL surfaces: what device contexts fill and copy with. Plain stores
// throughout, so that what is written stays in the cache for the copy or upload that reads it
// next; SDL's own fill and copy write past the cache. The gdi's and the screen's code only.
#pragma once

#include <SDL.h>

#include "platform/base/win_types.h"

namespace pixels {

Uint32 MapColour(const SDL_Surface* pSurface, COLORREF cr);
SDL_Rect ToSdl(const RECT& rc);
bool Intersect(const SDL_Rect& a, const SDL_Rect& b, SDL_Rect* pResult);

// Fills r with cr on the surface, within clip.
void Fill(SDL_Surface* pSurface, const SDL_Rect& r, COLORREF cr, const SDL_Rect& clip);
// Where a copy of rcSource to rcDest's corner lands within the source and clip: the part of
// the destination it writes, and the source pixel that goes to that part's corner. Answers
// false when nothing is left.
bool PlaceCopy(const SDL_Surface* pSource, const SDL_Rect& rcSource, SDL_Rect rcDest,
               const SDL_Rect& clip, SDL_Rect* pShown, SDL_Point* pFrom);
// Copies to rcTo of pDest from pSource, starting at ptFrom; both are 32-bit surfaces of one
// pixel format. Row by row, as SDL_BlitSurface without blending would copy.
void Copy(SDL_Surface* pSource, SDL_Point ptFrom, SDL_Surface* pDest, const SDL_Rect& rcTo);

}  // namespace pixels
