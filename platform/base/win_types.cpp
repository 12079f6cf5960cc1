#include "platform/base/win_types.h"

#include <algorithm>
#include <cstdlib>

BOOL SetRect(LPRECT lprc, int left, int top, int right, int bottom) {
    if (lprc == nullptr) {
        return FALSE;
    }
    *lprc = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT lprc) {
    return SetRect(lprc, 0, 0, 0, 0);
}

BOOL IsRectEmpty(LPCRECT lprc) {
    return lprc == nullptr || lprc->right <= lprc->left || lprc->bottom <= lprc->top;
}

BOOL PtInRect(LPCRECT lprc, POINT pt) {
    return lprc != nullptr && pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top &&
           pt.y < lprc->bottom;
}

BOOL IntersectRect(LPRECT lprcDst, LPCRECT lprcSrc1, LPCRECT lprcSrc2) {
    if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr) {
        return FALSE;
    }
    const RECT rc{std::max(lprcSrc1->left, lprcSrc2->left), std::max(lprcSrc1->top, lprcSrc2->top),
                  std::min(lprcSrc1->right, lprcSrc2->right),
                  std::min(lprcSrc1->bottom, lprcSrc2->bottom)};
    // Win32 reports a disjoint pair as the empty rectangle (0, 0, 0, 0), not as the
    // inverted overlap.
    if (IsRectEmpty(&rc)) {
        SetRectEmpty(lprcDst);
        return FALSE;
    }
    *lprcDst = rc;
    return TRUE;
}

BOOL UnionRect(LPRECT lprcDst, LPCRECT lprcSrc1, LPCRECT lprcSrc2) {
    if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr) {
        return FALSE;
    }
    const BOOL bEmpty1 = IsRectEmpty(lprcSrc1);
    const BOOL bEmpty2 = IsRectEmpty(lprcSrc2);
    if (bEmpty1 && bEmpty2) {
        SetRectEmpty(lprcDst);
        return FALSE;
    }
    if (bEmpty1) {
        *lprcDst = *lprcSrc2;
    } else if (bEmpty2) {
        *lprcDst = *lprcSrc1;
    } else {
        *lprcDst =
            RECT{std::min(lprcSrc1->left, lprcSrc2->left), std::min(lprcSrc1->top, lprcSrc2->top),
                 std::max(lprcSrc1->right, lprcSrc2->right),
                 std::max(lprcSrc1->bottom, lprcSrc2->bottom)};
    }
    return TRUE;
}

BOOL OffsetRect(LPRECT lprc, int dx, int dy) {
    if (lprc == nullptr) {
        return FALSE;
    }
    lprc->left += dx;
    lprc->right += dx;
    lprc->top += dy;
    lprc->bottom += dy;
    return TRUE;
}

BOOL EqualRect(LPCRECT lprc1, LPCRECT lprc2) {
    return lprc1 != nullptr && lprc2 != nullptr && lprc1->left == lprc2->left &&
           lprc1->top == lprc2->top && lprc1->right == lprc2->right &&
           lprc1->bottom == lprc2->bottom;
}

int MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) {
        return -1;
    }
    const long long nProduct = static_cast<long long>(nNumber) * nNumerator;
    const long long nHalf = nDenominator / 2;
    // Rounding half away from zero on the magnitudes keeps the sign rule simple.
    const bool bNegative = (nProduct < 0) != (nDenominator < 0);
    const long long nMagnitude = (std::llabs(nProduct) + std::llabs(nHalf)) /
                                 std::llabs(static_cast<long long>(nDenominator));
    return static_cast<int>(bNegative ? -nMagnitude : nMagnitude);
}
