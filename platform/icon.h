// Icons: compiled-in 16-colour images, looked up by resource ID.
#pragma once

#include "platform/win_types.h"

// One image, a row of palette indices per string: '0' to '9' and 'A' to 'F'.
struct ICONIMAGE {
    int cx;
    int cy;
    const char* const* ppRows;
};

struct ICONRESOURCE {
    UINT nID;
    const COLORREF* pPalette;  // 16 colours
    const ICONIMAGE* pImages;
    int nImages;
};

using HICON = const ICONRESOURCE*;
using HCURSOR = HICON;

constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXSMICON = 49;

// The application's icons, handed over once before any is loaded.
void AfxSetIcons(const ICONRESOURCE* const* ppIcons, int nCount);
// Null when there is no icon with that ID.
HICON LoadIcon(UINT nIDResource);
// The image of an icon closest to the given size, or null.
const ICONIMAGE* AfxFindIconImage(HICON hIcon, int cx);
// The colour of one pixel of an image of the icon.
COLORREF AfxGetIconPixel(HICON hIcon, const ICONIMAGE& image, int x, int y);
int GetSystemMetrics(int nIndex);
// The most milliseconds between the clicks of a double-click.
UINT GetDoubleClickTime();
