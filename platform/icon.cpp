#include "platform/icon.h"

#include <cstdlib>
#include <mutex>

namespace {

constexpr int kIconSize = 32;
constexpr int kSmallIconSize = 16;

std::mutex g_mutexIcons;
const ICONRESOURCE* const* g_ppIcons = nullptr;
int g_nIcons = 0;

}  // namespace

void AfxSetIcons(const ICONRESOURCE* const* ppIcons, int nCount) {
    std::lock_guard<std::mutex> lock(g_mutexIcons);
    g_ppIcons = ppIcons;
    g_nIcons = ppIcons != nullptr ? nCount : 0;
}

HICON LoadIcon(UINT nIDResource) {
    std::lock_guard<std::mutex> lock(g_mutexIcons);
    for (int i = 0; i < g_nIcons; ++i) {
        if (g_ppIcons[i]->nID == nIDResource) {
            return g_ppIcons[i];
        }
    }
    return nullptr;
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
        default:
            return 0;
    }
}
