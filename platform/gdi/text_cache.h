// Text as device contexts draw it: '&' prefixes resolved, and labels shaped, measured and
// rendered once by the text rasteriser, then drawn from a cache. The gdi's code only, UI
// thread only.
#pragma once

#include <string>

#include "platform/gdi/gdi_impl.h"

namespace text {

// Text with its '&' prefixes resolved: what to show, and the byte range to underline.
struct PrefixedText {
    std::string strShown;
    size_t nUnderlineBegin = std::string::npos;
    size_t nUnderlineEnd = std::string::npos;
};

// str as shown; with bPrefixes, '&' underlines the next character and "&&" shows one '&'.
PrefixedText ResolvePrefixes(const std::string& str, bool bPrefixes);

// A label as DrawText shows it: shaped, measured and rendered, in no colour yet.
struct RenderedText {
    int nWidth = 0;
    int nHeight = 0;
    // How far the ink's centre lies right of the advance's.
    int nInkImbalance = 0;
    // The underlined character's span from the text's left, when there is one.
    int nUnderlineLeft = 0;
    int nUnderlineWidth = 0;
    int nAscent = 0;
    Coverage ink;  // empty for empty text
    // What of the ink the glyphs cover, in its own pixels; empty when they cover nothing. A
    // face may draw above its ascent, or wider than its advance.
    RECT rcInk{0, 0, 0, 0};
};

// The label in the font, rendered the first time it is asked for. The game's labels never
// change, and shaping and rendering them is most of a frame's work; the least recently drawn
// label makes way when the cache is full.
const RenderedText& Rendered(const FontData& font, const PrefixedText& text);

}  // namespace text
