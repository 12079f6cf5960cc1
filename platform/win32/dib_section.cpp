#include "platform/win32/dib_section.h"

HBITMAP AfxCreateDibSection(HDC hdc, int cx, int cy, void** ppBits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 8 * kDibBytesPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(hdc, &info, DIB_RGB_COLORS, ppBits, nullptr, 0);
}
