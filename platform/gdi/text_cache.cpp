#include "platform/gdi/text_cache.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <tuple>
#include <utility>

#include "platform/base/utf8.h"

namespace text {

namespace {

// The smallest rectangle of the coverage that holds every level above none.
RECT InkBounds(const Coverage& ink) {
    RECT rc{ink.cx, ink.cy, 0, 0};
    for (int y = 0; y < ink.cy; ++y) {
        for (int x = 0; x < ink.cx; ++x) {
            if (ink.levels[static_cast<size_t>(y * ink.cx + x)] != 0) {
                rc.left = std::min<LONG>(rc.left, x);
                rc.right = std::max<LONG>(rc.right, x + 1);
                rc.top = std::min<LONG>(rc.top, y);
                rc.bottom = y + 1;
            }
        }
    }
    return rc.right > rc.left ? rc : RECT{0, 0, 0, 0};
}

// The blank space left of the first glyph's ink and right of the last one's. Centring the
// ink rather than the advance keeps labels such as "GOAL!!" visually in the middle.
int InkImbalance(CTextRasterizer& rasterizer, HFACE hFace, const std::string& str) {
    int nLeft = 0;
    int nRight = 0;
    return rasterizer.Bearings(hFace, str, &nLeft, &nRight) ? nLeft - nRight : 0;
}

RenderedText Render(const FontData& font, const PrefixedText& text) {
    CTextRasterizer& rasterizer = font.rasterizer;
    const HFACE hFace = font.FaceFor(text.strShown);
    const FaceMetrics metrics = rasterizer.Metrics(hFace);
    RenderedText rendered;
    rendered.nHeight = metrics.nHeight;
    rendered.nAscent = metrics.nAscent;
    rendered.nWidth = text.strShown.empty() ? 0 : rasterizer.Advance(hFace, text.strShown);
    rendered.nInkImbalance =
        text.strShown.empty() ? 0 : InkImbalance(rasterizer, hFace, text.strShown);
    if (text.nUnderlineBegin != std::string::npos) {
        rendered.nUnderlineLeft =
            rasterizer.Advance(hFace, text.strShown.substr(0, text.nUnderlineBegin));
        rendered.nUnderlineWidth = rasterizer.Advance(
            hFace,
            text.strShown.substr(text.nUnderlineBegin, text.nUnderlineEnd - text.nUnderlineBegin));
    }
    if (!text.strShown.empty()) {
        rendered.ink = rasterizer.Render(hFace, text.strShown);
        rendered.rcInk = InkBounds(rendered.ink);
    }
    return rendered;
}

class CTextCache {
public:
    const RenderedText& Get(const FontData& font, const PrefixedText& text) {
        Key key{font.hFace, text.strShown, text.nUnderlineBegin, text.nUnderlineEnd};
        auto it = m_entries.find(key);
        if (it == m_entries.end()) {
            if (m_entries.size() >= kMaxEntries) {
                Evict();
            }
            it = m_entries.emplace(std::move(key), Entry{Render(font, text), 0}).first;
        }
        it->second.nLastUse = ++m_nUses;
        return it->second.text;
    }

private:
    static constexpr size_t kMaxEntries = 64;

    struct Key {
        HFACE hFace;
        std::string strText;
        size_t nUnderlineBegin;
        size_t nUnderlineEnd;
        bool operator<(const Key& other) const {
            return std::tie(hFace, strText, nUnderlineBegin, nUnderlineEnd) <
                   std::tie(other.hFace, other.strText, other.nUnderlineBegin, other.nUnderlineEnd);
        }
    };
    struct Entry {
        RenderedText text;
        std::uint64_t nLastUse;
    };

    void Evict() {
        auto oldest = std::min_element(
            m_entries.begin(), m_entries.end(),
            [](const auto& a, const auto& b) { return a.second.nLastUse < b.second.nLastUse; });
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

const RenderedText& Rendered(const FontData& font, const PrefixedText& text) {
    return TextCache().Get(font, text);
}

}  // namespace text
