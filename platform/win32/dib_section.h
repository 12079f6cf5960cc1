// Pixels that GDI draws into and the program reads and writes itself: a DIB section, 32 bits a
// pixel, top row first, blue in the lowest byte (the platform's XRGB8888). Windows' side of the
// win32 layer.
#pragma once

#include <windows.h>

constexpr int kDibBytesPerPixel = 4;

// A DIB section of cx by cy pixels for hdc's device, whose pixels *ppBits receives; null when
// it cannot be made.
HBITMAP AfxCreateDibSection(HDC hdc, int cx, int cy, void** ppBits);
