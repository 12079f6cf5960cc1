// CDC: a device context that draws on a 32-bit surface.
#pragma once

#include <memory>

#include "platform/base/cstring.h"
#include "platform/base/icon.h"
#include "platform/base/win_types.h"
#include "platform/gdi/gdi.h"

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr int R2_COPYPEN = 13;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr int COLOR_BTNFACE = 15;

constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOPREFIX = 0x0800;

struct TEXTMETRIC {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmAveCharWidth;
};

// The colour of a dialog's face, which erasing a window paints. Other indices answer black.
COLORREF GetSysColor(int nIndex);

struct DCImpl;
class CDC;
using HDC = CDC*;
// The pixels of a window on the screen, which its paint contexts draw on. The screen makes
// and keeps them; a context only borrows them.
struct HSURFACE__;
using HSURFACE = HSURFACE__*;

// A memory context draws on the bitmap selected into it; a window's paint context draws on
// the window. Drawing is clipped to the surface and to the context's clip rectangle.
// Contexts, and the fonts drawn through them, are used on the UI thread only.
class CDC {
public:
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Makes this a memory context, with a 1 x 1 bitmap selected until another is.
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    // Each answers the object selected before, or null (changing nothing) when the new
    // object is empty.
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    virtual CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectStockObject(int nIndex);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;

    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const;
    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const;
    int SetBkMode(int nBkMode);
    int GetBkMode() const;
    // Only R2_COPYPEN is drawn; the mode is kept for the callers that set and restore it.
    int SetROP2(int nDrawMode);
    int GetROP2() const;

    // The outline in the pen's colour on the edge pixels of left <= x < right and
    // top <= y < bottom, and the interior in the brush's colour.
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT lpRect) {
        return Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    void FillSolidRect(LPCRECT lpRect, COLORREF crColor);
    // One line of text placed in lpRect by nFormat and clipped to it. Unless DT_NOPREFIX is
    // given, '&' underlines the next character and "&&" shows one '&'. Answers the height.
    int DrawText(const char* lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
        return DrawText(str, str.GetLength(), lpRect, nFormat);
    }
    // Size of one line of text in the current font, '&' taken literally.
    SIZE GetTextExtent(const char* lpszString, int nCount) const;
    // What the ink of one line of text covers, '&' taken literally, relative to the top left
    // of the line as DrawText places it with DT_LEFT | DT_TOP. A face may draw beyond its
    // line. FALSE, with an empty rectangle, when the text shows no ink.
    BOOL GetTextInkRect(const char* lpszString, int nCount, LPRECT lpRect) const;
    BOOL GetTextMetrics(TEXTMETRIC* pMetrics) const;
    // Copies with SRCCOPY, clipped to both contexts' surfaces.
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                DWORD dwRop);
    // CLR_INVALID outside the surface.
    COLORREF GetPixel(int x, int y) const;
    BOOL SetPixel(int x, int y, COLORREF crColor);
    // The focus's dotted one-pixel frame on lpRect's edge, in the text colour (Windows draws it
    // by inverting; a frame of the label's colour shows on any face).
    void DrawFocusRect(LPCRECT lpRect);
    // Draws the icon in the system icon size's square with its top-left corner at (x, y),
    // its pixel art enlarged by a whole factor; the mask's transparent pixels leave the
    // background as it is.
    BOOL DrawIcon(int x, int y, HICON hIcon);
    HDC GetSafeHdc() { return this; }

    // Limits all drawing to lpRect (null: the whole surface).
    void SetClipRect(LPCRECT lpRect);

    // Makes this context draw on a window's pixels.
    void AttachSurface(HSURFACE hSurface);

    // For the gdi's own code.
    DCImpl& Impl() const { return *m_pImpl; }

private:
    std::unique_ptr<DCImpl> m_pImpl;
};
