#include "platform/gdi/text_cache.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <tuple>
#include <utility>

namespace text {

namespace {

size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    return lead >= 0xC0 ? 2 : 1;
}

// The code point that starts at str[i].
Uint32 DecodeUtf8(const std::string& str, size_t i) {
    const auto lead = static_cast<unsigned char>(str[i]);
    const size_t nLength = std::min(Utf8Length(lead), str.size() - i);
    if (nLength == 1) {
        return lead;
    }
    Uint32 ch = lead & (0xFF >> (nLength + 1));
    for (size_t k = 1; k < nLength; ++k) {
        ch = (ch << 6) | (static_cast<unsigned char>(str[i + k]) & 0x3F);
    }
    return ch;
}

// The blank space left of the first glyph's ink and right of the last one's. Centring the
// ink rather than the advance keeps labels such as "GOAL!!" visually in the middle.
int InkImbalance(TTF_Font* pFont, const std::string& str) {
    if (str.empty()) {
        return 0;
    }
    size_t nLast = str.size() - 1;
    while (nLast > 0 && (static_cast<unsigned char>(str[nLast]) & 0xC0) == 0x80) {
        --nLast;
    }
    int nMinX = 0, nMaxX = 0, nAdvance = 0;
    if (TTF_GlyphMetrics32(pFont, DecodeUtf8(str, 0), &nMinX, nullptr, nullptr, nullptr, nullptr) !=
        0) {
        return 0;
    }
    const int nLeftBlank = nMinX;
    if (TTF_GlyphMetrics32(pFont, DecodeUtf8(str, nLast), &nMinX, &nMaxX, nullptr, nullptr,
                           &nAdvance) != 0) {
        return 0;
    }
    const int nRightBlank = nAdvance - nMaxX;
    return nLeftBlank - nRightBlank;
}

// The smallest rectangle of the rendered surface that holds every pixel with any ink: the
// surface is blended ARGB, so alpha tells ink from the transparent background.
SDL_Rect InkBounds(const SDL_Surface* pSurface) {
    int nLeft = pSurface->w, nTop = pSurface->h, nRight = 0, nBottom = 0;
    for (int y = 0; y < pSurface->h; ++y) {
        const auto* pRow = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(pSurface->pixels) + y * pSurface->pitch);
        for (int x = 0; x < pSurface->w; ++x) {
            if ((pRow[x] & pSurface->format->Amask) != 0) {
                nLeft = std::min(nLeft, x);
                nRight = std::max(nRight, x + 1);
                nTop = std::min(nTop, y);
                nBottom = y + 1;
            }
        }
    }
    return nRight > nLeft ? SDL_Rect{nLeft, nTop, nRight - nLeft, nBottom - nTop}
                          : SDL_Rect{0, 0, 0, 0};
}

class CTextCache {
public:
    CTextCache() = default;
    ~CTextCache() {
        for (auto& entry : m_entries) {
            SDL_FreeSurface(entry.second.text.pInk);
        }
    }
    CTextCache(const CTextCache&) = delete;
    CTextCache& operator=(const CTextCache&) = delete;

    const RenderedText& Get(const FontData& font, const PrefixedText& text, COLORREF cr) {
        Key key{font.strFaceName,     font.nPixelHeight,  text.strShown,
                text.nUnderlineBegin, text.nUnderlineEnd, cr};
        auto it = m_entries.find(key);
        if (it == m_entries.end()) {
            if (m_entries.size() >= kMaxEntries) {
                Evict();
            }
            it = m_entries.emplace(std::move(key), Entry{Render(font, text, cr), 0}).first;
        }
        it->second.nLastUse = ++m_nUses;
        return it->second.text;
    }

private:
    static constexpr size_t kMaxEntries = 64;

    struct Key {
        std::string strFace;
        int nPixelHeight;
        std::string strText;
        size_t nUnderlineBegin;
        size_t nUnderlineEnd;
        COLORREF cr;
        bool operator<(const Key& other) const {
            return std::tie(strFace, nPixelHeight, strText, nUnderlineBegin, nUnderlineEnd, cr) <
                   std::tie(other.strFace, other.nPixelHeight, other.strText, other.nUnderlineBegin,
                            other.nUnderlineEnd, other.cr);
        }
    };
    struct Entry {
        RenderedText text;
        std::uint64_t nLastUse;
    };

    static RenderedText Render(const FontData& font, const PrefixedText& text, COLORREF cr) {
        TTF_Font* pTTF = font.FaceFor(text.strShown);
        RenderedText rendered;
        rendered.nHeight = TTF_FontHeight(pTTF);
        rendered.nAscent = TTF_FontAscent(pTTF);
        rendered.nWidth = Width(pTTF, text.strShown);
        rendered.nInkImbalance = InkImbalance(pTTF, text.strShown);
        if (text.nUnderlineBegin != std::string::npos) {
            rendered.nUnderlineLeft = Width(pTTF, text.strShown.substr(0, text.nUnderlineBegin));
            rendered.nUnderlineWidth =
                Width(pTTF, text.strShown.substr(text.nUnderlineBegin,
                                                 text.nUnderlineEnd - text.nUnderlineBegin));
        }
        if (!text.strShown.empty()) {
            const SDL_Color colour{GetRValue(cr), GetGValue(cr), GetBValue(cr), 255};
            rendered.pInk = TTF_RenderUTF8_Blended(pTTF, text.strShown.c_str(), colour);
            if (rendered.pInk != nullptr) {
                rendered.rcInk = InkBounds(rendered.pInk);
            }
        }
        return rendered;
    }

    void Evict() {
        auto oldest = m_entries.begin();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->second.nLastUse < oldest->second.nLastUse) {
                oldest = it;
            }
        }
        SDL_FreeSurface(oldest->second.text.pInk);
        m_entries.erase(oldest);
    }

    std::map<Key, Entry> m_entries;
    std::uint64_t m_nUses = 0;
};

CTextCache& TextCache() {
    static CTextCache s_cache;
    return s_cache;
}

}  // namespace

PrefixedText ResolvePrefixes(const std::string& str, bool bPrefixes) {
    PrefixedText text;
    if (!bPrefixes) {
        text.strShown = str;
        return text;
    }
    for (size_t i = 0; i < str.size(); ++i) {
        if (str[i] == '&' && i + 1 < str.size()) {
            ++i;
            if (str[i] != '&') {
                text.nUnderlineBegin = text.strShown.size();
                const size_t nLength = std::min(Utf8Length(str[i]), str.size() - i);
                text.nUnderlineEnd = text.nUnderlineBegin + nLength;
                text.strShown.append(str, i, nLength);
                i += nLength - 1;
                continue;
            }
        }
        text.strShown.push_back(str[i]);
    }
    return text;
}

int Width(TTF_Font* pFont, const std::string& str) {
    int nWidth = 0;
    if (!str.empty()) {
        TTF_SizeUTF8(pFont, str.c_str(), &nWidth, nullptr);
    }
    return nWidth;
}

const RenderedText& Rendered(const FontData& font, const PrefixedText& text, COLORREF cr) {
    return TextCache().Get(font, text, cr);
}

}  // namespace text
