#include "platform/gdi/pixels.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/gdi/text_raster.h"

namespace pixels {

namespace {

// A 32-bit pixel whose four bytes all have the value b is b times this.
constexpr std::uint32_t kByteRepeated = 0x01010101;
constexpr std::uint32_t kFullCoverage = 255;

// A .bmp file: its file header and BITMAPINFOHEADER, 3 bytes a pixel, rows bottom up, each
// padded to 4 bytes.
constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
constexpr int kBmpBytesPerPixel = 3;
constexpr int kBmpRowAlign = 4;
constexpr std::uint16_t kBmpBitsPerPixel = 24;
// The header's last four fields: pixels per metre each way, and no palette.
constexpr size_t kNoResolutionNoPalette = 16;

// Red and blue, which share one word, and green.
constexpr std::uint32_t kRedBlue = 0xFF00FF;
constexpr std::uint32_t kGreen = 0x00FF00;

// Each channel of the pixel times the coverage, over 256: red and blue in one product, green
// in another, as an 8-bit channel times an 8-bit coverage fits the 16 bits each has there.
std::uint32_t Share(std::uint32_t nPixel, std::uint32_t nCoverage) {
    return (((nPixel & kRedBlue) * nCoverage >> 8) & kRedBlue) |
           (((nPixel & kGreen) * nCoverage >> 8) & kGreen);
}

// A pixel part of the way to the text colour: the ink's share and what is left of the
// background's, each rounded down in 8 bits, as the compositing of the game's earlier frames
// rounded them. A channel's two shares never add up to more than 255.
std::uint32_t BlendPixel(std::uint32_t nInk, std::uint32_t nBack, std::uint32_t nCoverage) {
    return Share(nInk, nCoverage) + Share(nBack, kFullCoverage - nCoverage);
}

// Most of a line's box is blank between its glyphs' strokes: levels are passed over a word
// at a time while they are.
bool IsBlankWord(const std::uint8_t* pLevels) {
    std::uint64_t nWord = 0;
    std::memcpy(&nWord, pLevels, sizeof(nWord));
    return nWord == 0;
}

void BlendRow(std::uint32_t* pPixels, const std::uint8_t* pLevels, int nCount, std::uint32_t nInk) {
    constexpr int kWord = sizeof(std::uint64_t);
    for (int i = 0; i < nCount; ++i) {
        if (i + kWord <= nCount && IsBlankWord(pLevels + i)) {
            i += kWord - 1;
            continue;
        }
        const std::uint32_t nCoverage = pLevels[i];
        if (nCoverage == kFullCoverage) {
            pPixels[i] = nInk;
        } else if (nCoverage != 0) {
            pPixels[i] = BlendPixel(nInk, pPixels[i], nCoverage);
        }
    }
}

void PutLE(std::vector<std::uint8_t>& bytes, std::uint32_t n, int nBytes) {
    for (int i = 0; i < nBytes; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    }
}

}  // namespace

std::uint32_t FromColour(COLORREF cr) {
    return (static_cast<std::uint32_t>(GetRValue(cr)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(cr)) << 8) | GetBValue(cr);
}

COLORREF ToColour(std::uint32_t nPixel) {
    return RGB(static_cast<BYTE>(nPixel >> 16), static_cast<BYTE>(nPixel >> 8),
               static_cast<BYTE>(nPixel));
}

void Fill(const PixelBuffer& buffer, const RECT& r, COLORREF cr) {
    const std::uint32_t nPixel = FromColour(cr);
    const auto nWidth = static_cast<size_t>(r.right - r.left);
    const size_t nRowBytes = nWidth * sizeof(std::uint32_t);
    const auto nByte = static_cast<std::uint8_t>(nPixel);
    // The first row is set pixel by pixel, unless one byte value makes the pixel; the other
    // rows are copies of it.
    if (nPixel == nByte * kByteRepeated) {
        for (int y = r.top; y < r.bottom; ++y) {
            std::memset(buffer.At(r.left, y), nByte, nRowBytes);
        }
        return;
    }
    std::uint32_t* pFirst = buffer.At(r.left, r.top);
    std::fill_n(pFirst, nWidth, nPixel);
    for (int y = r.top + 1; y < r.bottom; ++y) {
        std::memcpy(buffer.At(r.left, y), pFirst, nRowBytes);
    }
}

bool PlaceCopy(const PixelBuffer& source, const RECT& rcSource, RECT rcDest, const RECT& clip,
               RECT* pShown, POINT* pFrom) {
    RECT rcWithin;
    const RECT rcBounds = source.Bounds();
    if (!IntersectRect(&rcWithin, &rcSource, &rcBounds)) {
        return false;
    }
    OffsetRect(&rcDest, rcWithin.left - rcSource.left, rcWithin.top - rcSource.top);
    rcDest.right = rcDest.left + (rcWithin.right - rcWithin.left);
    rcDest.bottom = rcDest.top + (rcWithin.bottom - rcWithin.top);
    if (!IntersectRect(pShown, &rcDest, &clip)) {
        return false;
    }
    *pFrom =
        POINT{rcWithin.left + pShown->left - rcDest.left, rcWithin.top + pShown->top - rcDest.top};
    return true;
}

void Copy(const PixelBuffer& source, POINT ptFrom, const PixelBuffer& dest, const RECT& rcTo) {
    const size_t nRowBytes = static_cast<size_t>(rcTo.right - rcTo.left) * sizeof(std::uint32_t);
    for (int row = 0; row < rcTo.bottom - rcTo.top; ++row) {
        std::memcpy(dest.At(rcTo.left, rcTo.top + row), source.At(ptFrom.x, ptFrom.y + row),
                    nRowBytes);
    }
}

void Blend(const PixelBuffer& dest, POINT pt, const Coverage& ink, COLORREF cr, const RECT& clip) {
    const RECT rcInk{pt.x, pt.y, pt.x + ink.cx, pt.y + ink.cy};
    RECT rc;
    if (!IntersectRect(&rc, &rcInk, &clip)) {
        return;
    }
    const std::uint32_t nInk = FromColour(cr);
    const int nWidth = rc.right - rc.left;
    for (int y = rc.top; y < rc.bottom; ++y) {
        BlendRow(dest.At(rc.left, y),
                 &ink.levels[static_cast<size_t>((y - pt.y) * ink.cx + (rc.left - pt.x))], nWidth,
                 nInk);
    }
}

bool SaveBmp(const PixelBuffer& buffer, const std::string& strPath) {
    const int nRowBytes = buffer.cx * kBmpBytesPerPixel;
    const int nPaddedRow = (nRowBytes + kBmpRowAlign - 1) / kBmpRowAlign * kBmpRowAlign;
    const auto nImageBytes = static_cast<std::uint32_t>(nPaddedRow * buffer.cy);
    const std::uint32_t nOffset = kFileHeaderBytes + kInfoHeaderBytes;
    std::vector<std::uint8_t> bytes{'B', 'M'};
    PutLE(bytes, nOffset + nImageBytes, 4);
    PutLE(bytes, 0, 4);  // reserved
    PutLE(bytes, nOffset, 4);
    PutLE(bytes, kInfoHeaderBytes, 4);
    PutLE(bytes, static_cast<std::uint32_t>(buffer.cx), 4);
    PutLE(bytes, static_cast<std::uint32_t>(buffer.cy), 4);
    PutLE(bytes, 1, 2);  // planes
    PutLE(bytes, kBmpBitsPerPixel, 2);
    PutLE(bytes, 0, 4);  // no compression
    PutLE(bytes, nImageBytes, 4);
    bytes.insert(bytes.end(), kNoResolutionNoPalette, 0);
    for (int y = buffer.cy - 1; y >= 0; --y) {
        const std::uint32_t* pPixel = buffer.At(0, y);
        for (int x = 0; x < buffer.cx; ++x) {
            PutLE(bytes, pPixel[x], kBmpBytesPerPixel);
        }
        bytes.insert(bytes.end(), static_cast<size_t>(nPaddedRow - nRowBytes), 0);
    }
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (pFile == nullptr) {
        return false;
    }
    const bool bWritten = std::fwrite(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
    return std::fclose(pFile) == 0 && bWritten;
}

}  // namespace pixels
