// The text rasteriser: what device contexts need of fonts, in the platform's terms, which a
// backend supplies as it supplies the screen (platform/README.md): faces found by family,
// their metrics, and lines of text measured and rendered to 8-bit coverage, which the
// contexts blend in the text colour. The Linux backend's lives in platform/sdl/.
// Until one is installed, a rasteriser that has no face serves, and text draws nothing.
// UI thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A face at one size, the rasteriser's for the program's life.
struct HFACE__;
using HFACE = HFACE__*;

struct FaceMetrics {
    int nHeight;   // from one line's top to the next's
    int nAscent;   // above the base line
    int nDescent;  // below it
};

// One line rendered: cx by cy coverage levels, 0 (none) to 255 (full), row by row. The line's
// origin is its top left, as it is placed.
struct Coverage {
    int cx = 0;
    int cy = 0;
    std::vector<std::uint8_t> levels;
};

class CTextRasterizer {
public:
    virtual ~CTextRasterizer() = default;

    // The face of the family at nPixelHeight (its em height), or where the family is missing
    // one that stands in for it, said once. Null when there is no font at all.
    virtual HFACE OpenFace(const char* pszFamily, int nPixelHeight) = 0;
    // The face that draws the UTF-8 text: hFace when it has all its characters, or else the
    // face of the same size that has the most of those it lacks.
    virtual HFACE FaceFor(HFACE hFace, const std::string& strText) = 0;
    virtual FaceMetrics Metrics(HFACE hFace) = 0;
    // How far the line's pen advances.
    virtual int Advance(HFACE hFace, const std::string& strText) = 0;
    // The blank left of the first glyph's ink, and right of the last one's, within their
    // advances; false when the face cannot tell.
    virtual bool Bearings(HFACE hFace, const std::string& strText, int* pnLeft, int* pnRight) = 0;
    // The line as the face draws it: its advance wide and its height high.
    virtual Coverage Render(HFACE hFace, const std::string& strText) = 0;
};

CTextRasterizer& AfxTextRasterizer();
// Installs pRasterizer, or with null puts back the one that has no face. Start-up does it. A
// rasteriser lives as long as the program: the fonts made with it keep its faces.
void AfxSetTextRasterizer(CTextRasterizer* pRasterizer);
