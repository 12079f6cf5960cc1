#include "platform/base/icon.h"

#include "platform/base/resource_table.h"

namespace {

CResourceTable<const ICONRESOURCE*> g_icons;

}  // namespace

void AfxSetIcons(const ICONRESOURCE* const* ppIcons, int nCount) {
    g_icons.Set(ppIcons, nCount);
}

HICON LoadIcon(UINT nIDResource) {
    const ICONRESOURCE* const* ppIcon = g_icons.Find(nIDResource);
    return ppIcon != nullptr ? *ppIcon : nullptr;
}

const ICONIMAGE* AfxFindIconImage(HICON hIcon, int cx, int* pnScale) {
    const ICONIMAGE* pBest = nullptr;
    int nBestScale = 1;
    for (int i = 0; hIcon != nullptr && i < hIcon->nImages; ++i) {
        const ICONIMAGE& image = hIcon->pImages[i];
        const int nScale = cx / image.cx;
        const int nBestSize = pBest != nullptr ? pBest->cx * nBestScale : 0;
        bool bBetter = false;
        if (nScale >= 1) {
            const int nSize = image.cx * nScale;
            bBetter =
                nBestSize > cx || nSize > nBestSize || (nSize == nBestSize && image.cx > pBest->cx);
        } else {
            bBetter = pBest == nullptr || (nBestSize > cx && image.cx < pBest->cx);
        }
        if (bBetter) {
            pBest = &image;
            nBestScale = nScale >= 1 ? nScale : 1;
        }
    }
    if (pnScale != nullptr) {
        *pnScale = nBestScale;
    }
    return pBest;
}

COLORREF AfxGetIconPixel(HICON hIcon, const ICONIMAGE& image, int x, int y) {
    const char ch = image.ppRows[y][x];
    const int nIndex = ch <= '9' ? ch - '0' : ch - 'A' + 10;
    return hIcon->pPalette[nIndex & 0xF];
}

BOOL AfxIsIconPixelTransparent(const ICONIMAGE& image, int x, int y) {
    return image.ppMask != nullptr && image.ppMask[y][x] == '1';
}
