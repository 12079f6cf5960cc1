#include "platform/icon.h"

#include <cstdlib>

#include "platform/resource_table.h"

namespace {

constexpr int kIconSize = 32;
constexpr int kSmallIconSize = 16;
// The box around a first click that a second one must fall in to make a double-click, and
// the time it has, as on Windows.
constexpr int kDoubleClickBox = 4;
constexpr UINT kDoubleClickTimeMs = 500;

CResourceTable<const ICONRESOURCE*> g_icons;

}  // namespace

void AfxSetIcons(const ICONRESOURCE* const* ppIcons, int nCount) {
    g_icons.Set(ppIcons, nCount);
}

HICON LoadIcon(UINT nIDResource) {
    const ICONRESOURCE* const* ppIcon = g_icons.Find(nIDResource);
    return ppIcon != nullptr ? *ppIcon : nullptr;
}

const ICONIMAGE* AfxFindIconImage(HICON hIcon, int cx) {
    const ICONIMAGE* pBest = nullptr;
    for (int i = 0; hIcon != nullptr && i < hIcon->nImages; ++i) {
        const ICONIMAGE& image = hIcon->pImages[i];
        if (pBest == nullptr || std::abs(image.cx - cx) < std::abs(pBest->cx - cx)) {
            pBest = &image;
        }
    }
    return pBest;
}

COLORREF AfxGetIconPixel(HICON hIcon, const ICONIMAGE& image, int x, int y) {
    const char ch = image.ppRows[y][x];
    const int nIndex = ch <= '9' ? ch - '0' : ch - 'A' + 10;
    return hIcon->pPalette[nIndex & 0xF];
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
        case SM_CXICON:
        case SM_CYICON:
            return kIconSize;
        case SM_CXSMICON:
            return kSmallIconSize;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return kDoubleClickBox;
        default:
            return 0;
    }
}

UINT GetDoubleClickTime() {
    return kDoubleClickTimeMs;
}
