// The plain Win32 types and rectangle helpers that the game is written against.
#pragma once

#include <cstdint>

using BOOL = int;
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

using UINT = unsigned int;
using LONG = std::int32_t;
using DWORD = std::uint32_t;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using COLORREF = DWORD;
using LANGID = WORD;
using LPVOID = void*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct POINT {
    LONG x;
    LONG y;
};

struct SIZE {
    LONG cx;
    LONG cy;
};

using LPRECT = RECT*;
using LPCRECT = const RECT*;
using LPPOINT = POINT*;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF cr) {
    return static_cast<BYTE>(cr & 0xFF);
}
constexpr BYTE GetGValue(COLORREF cr) {
    return static_cast<BYTE>((cr >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF cr) {
    return static_cast<BYTE>((cr >> 16) & 0xFF);
}

// Rectangles are half-open: the left and top edges are inside, the right and bottom
// edges outside, exactly as in Win32.
BOOL SetRect(LPRECT lprc, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT lprc);
BOOL IsRectEmpty(LPCRECT lprc);
BOOL PtInRect(LPCRECT lprc, POINT pt);
BOOL IntersectRect(LPRECT lprcDst, LPCRECT lprcSrc1, LPCRECT lprcSrc2);
BOOL UnionRect(LPRECT lprcDst, LPCRECT lprcSrc1, LPCRECT lprcSrc2);
BOOL OffsetRect(LPRECT lprc, int dx, int dy);
BOOL EqualRect(LPCRECT lprc1, LPCRECT lprc2);

// number * numerator / denominator, rounded half away from zero; -1 for a zero denominator.
int MulDiv(int nNumber, int nNumerator, int nDenominator);

inline bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}
inline bool operator!=(const RECT& a, const RECT& b) {
    return !(a == b);
}
inline bool operator==(const POINT& a, const POINT& b) {
    return a.x == b.x && a.y == b.y;
}
inline bool operator!=(const POINT& a, const POINT& b) {
    return !(a == b);
}

// MFC's value wrappers, as far as the game uses them.
class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int x, int y) : POINT{x, y} {}
    CPoint(POINT pt) : POINT(pt) {}
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rc) : RECT(rc) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }
    void SetRectEmpty() { ::SetRectEmpty(this); }
};
