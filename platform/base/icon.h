// Icons: compiled-in 16-colour images with transparency masks, looked up by resource ID.
#pragma once

#include "platform/base/win_types.h"

// One image: a row of palette indices per string, '0' to '9' and 'A' to 'F', and its AND
// mask in rows of '0' and '1', where '1' lets the background show through.
struct ICONIMAGE {
    int cx;
    int cy;
    const char* const* ppRows;
    const char* const* ppMask;
};

struct ICONRESOURCE {
    UINT nID;
    const COLORREF* pPalette;  // 16 colours
    const ICONIMAGE* pImages;
    int nImages;
};

using HICON = const ICONRESOURCE*;
using HCURSOR = HICON;

// The application's icons, handed over once before any is loaded.
void AfxSetIcons(const ICONRESOURCE* const* ppIcons, int nCount);
// Null when there is no icon with that ID.
HICON LoadIcon(UINT nIDResource);
// The image of an icon that best fills a square of cx pixels when its pixels are enlarged by
// a whole factor, which *pnScale receives: the largest fit, and of equal fits the image with
// the most detail. When none fits, the smallest image unscaled. Null when there is none.
const ICONIMAGE* AfxFindIconImage(HICON hIcon, int cx, int* pnScale = nullptr);
// The colour of one pixel of an image of the icon.
COLORREF AfxGetIconPixel(HICON hIcon, const ICONIMAGE& image, int x, int y);
// Whether the background shows through the pixel: its bit of the AND mask.
BOOL AfxIsIconPixelTransparent(const ICONIMAGE& image, int x, int y);
