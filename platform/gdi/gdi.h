// GDI objects: pens, brushes, fonts and bitmaps, as MFC's classes present them.
#pragma once

#include <memory>

#include "platform/base/win_types.h"

class CDC;
struct GdiData;

constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// Stock objects that CDC::SelectStockObject knows.
constexpr int NULL_BRUSH = 5;
constexpr int NULL_PEN = 8;

// An object is created by its Create function and released by DeleteObject or its
// destructor. A failed creation leaves the object empty, and selecting an empty object into
// a context leaves the context's current object in place. A context keeps what it has
// selected alive, so releasing a selected object cannot pull it from under the context.
class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // Releases the object; harmless on an empty one.
    BOOL DeleteObject();
    // Null while the object is empty.
    const void* GetSafeHandle() const { return m_pData.get(); }
    const std::shared_ptr<GdiData>& GetData() const { return m_pData; }

protected:
    std::shared_ptr<GdiData> m_pData;
};

class CPen : public CGdiObject {
public:
    // Supports PS_SOLID one pixel wide and PS_NULL; anything else fails.
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
};

class CBrush : public CGdiObject {
public:
    BOOL CreateSolidBrush(COLORREF crColor);
};

constexpr int LF_FACESIZE = 32;

// What this platform reads of a font's description.
struct LOGFONT {
    LONG lfHeight;  // the em height in pixels; Windows' negative sign is optional
    char lfFaceName[LF_FACESIZE];
};

// Font sizes in tenths of a point, as CreatePointFont takes them, and inches.
constexpr int kDecipointsPerInch = 720;

class CFont : public CGdiObject {
public:
    // A font nPointSize tenths of a point high, converted to pixels at the logical DPI and
    // truncated, as MFC converts. Fails when no font can be opened at all.
    BOOL CreatePointFont(int nPointSize, const char* lpszFaceName, CDC* pDC = nullptr);
    // The face is found by name: see AfxOpenFontFace. Fails for a zero height and when no
    // font can be opened at all.
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
};

class CBitmap : public CGdiObject {
public:
    // A 32-bit bitmap of the given size, cleared to black. Fails for an empty size.
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    SIZE GetSize() const;
    // Writes the bitmap to a .bmp file.
    BOOL SaveToFile(const char* pszPath) const;
};
