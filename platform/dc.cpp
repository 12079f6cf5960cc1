#include "platform/dc.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "platform/gdi_impl.h"

namespace {

constexpr COLORREF kButtonFace = RGB(240, 240, 240);
constexpr int kStockFontSize = 90;  // tenths of a point
constexpr const char* kStockFontFace = "sans-serif";

// The objects a new context starts with, as in GDI: a black pen, a white brush, the system
// font, and for a memory context a 1 x 1 bitmap.
struct StockObjects {
    StockObjects() {
        blackPen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        nullPen.CreatePen(PS_NULL, 0, RGB(0, 0, 0));
        whiteBrush.CreateSolidBrush(RGB(255, 255, 255));
        systemFont.CreatePointFont(kStockFontSize, kStockFontFace);
        oneByOne.CreateCompatibleBitmap(nullptr, 1, 1);
    }
    // The hollow brush has no Create function of its own.
    struct CHollowBrush : CBrush {
        CHollowBrush() { m_pData = std::make_shared<BrushData>(true, RGB(0, 0, 0)); }
    };
    CPen blackPen;
    CPen nullPen;
    CBrush whiteBrush;
    CHollowBrush nullBrush;
    CFont systemFont;
    CBitmap oneByOne;
};

StockObjects& Stock() {
    static StockObjects s_stock;
    return s_stock;
}

template <class T>
T* Select(Selection& selection, T* pObject) {
    if (pObject == nullptr || pObject->GetSafeHandle() == nullptr) {
        return nullptr;
    }
    T* pOld = static_cast<T*>(selection.pObject);
    selection.pObject = pObject;
    selection.pData = pObject->GetData();
    return pOld;
}

template <class T>
void SelectStock(Selection& selection, T& object) {
    selection.pObject = &object;
    selection.pData = object.GetData();
}

template <class T>
const T* DataOf(const Selection& selection) {
    return static_cast<const T*>(selection.pData.get());
}

Uint32 MapColour(const SDL_Surface* pSurface, COLORREF cr) {
    return SDL_MapRGB(pSurface->format, GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

SDL_Rect ToSdl(const RECT& rc) {
    return SDL_Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

bool Intersect(const SDL_Rect& a, const SDL_Rect& b, SDL_Rect* pResult) {
    return SDL_IntersectRect(&a, &b, pResult) == SDL_TRUE;
}

// The smallest rectangle holding both; an empty one adds nothing.
SDL_Rect Union(const SDL_Rect& a, const SDL_Rect& b) {
    SDL_Rect rc;
    SDL_UnionRect(&a, &b, &rc);
    return rc;
}

// Text with its '&' prefixes resolved: what to show, and the byte range to underline.
struct PrefixedText {
    std::string strShown;
    size_t nUnderlineBegin = std::string::npos;
    size_t nUnderlineEnd = std::string::npos;
};

size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    return lead >= 0xC0 ? 2 : 1;
}

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

int TextWidth(TTF_Font* pFont, const std::string& str) {
    int nWidth = 0;
    if (!str.empty()) {
        TTF_SizeUTF8(pFont, str.c_str(), &nWidth, nullptr);
    }
    return nWidth;
}

// A label as DrawText shows it: shaped, measured and rendered in one colour.
struct RenderedText {
    int nWidth = 0;
    int nHeight = 0;
    // How far the ink's centre lies right of the advance's.
    int nInkImbalance = 0;
    // The underlined character's span from the text's left, when there is one.
    int nUnderlineLeft = 0;
    int nUnderlineWidth = 0;
    int nAscent = 0;
    SDL_Surface* pInk = nullptr;  // null for empty text, or when rendering failed
};

// Labels rendered once and drawn from here on every frame after: the game's labels never
// change, and shaping and rendering them is most of a frame's work. The least recently
// drawn label makes way when the cache is full.
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
        rendered.nWidth = TextWidth(pTTF, text.strShown);
        rendered.nInkImbalance = InkImbalance(pTTF, text.strShown);
        if (text.nUnderlineBegin != std::string::npos) {
            rendered.nUnderlineLeft =
                TextWidth(pTTF, text.strShown.substr(0, text.nUnderlineBegin));
            rendered.nUnderlineWidth =
                TextWidth(pTTF, text.strShown.substr(text.nUnderlineBegin,
                                                     text.nUnderlineEnd - text.nUnderlineBegin));
        }
        if (!text.strShown.empty()) {
            const SDL_Color colour{GetRValue(cr), GetGValue(cr), GetBValue(cr), 255};
            rendered.pInk = TTF_RenderUTF8_Blended(pTTF, text.strShown.c_str(), colour);
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

// A 32-bit pixel whose four bytes all have the value b is b times this.
constexpr Uint32 kByteRepeated = 0x01010101;

// The 32-bit pixel at (x, y).
Uint32* PixelAt(SDL_Surface* pSurface, int x, int y) {
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(pSurface->pixels) + y * pSurface->pitch) +
           x;
}

// Where a copy of rcSource to rcDest's corner lands within the source and clip: the part of
// the destination it writes, and the source pixel that goes to that part's corner. Answers
// false when nothing is left.
bool PlaceCopy(const SDL_Surface* pSource, const SDL_Rect& rcSource, SDL_Rect rcDest,
               const SDL_Rect& clip, SDL_Rect* pShown, SDL_Point* pFrom) {
    SDL_Rect rcWithin;
    const SDL_Rect rcSurface{0, 0, pSource->w, pSource->h};
    if (!Intersect(rcSource, rcSurface, &rcWithin)) {
        return false;
    }
    rcDest.x += rcWithin.x - rcSource.x;
    rcDest.y += rcWithin.y - rcSource.y;
    rcDest.w = rcWithin.w;
    rcDest.h = rcWithin.h;
    if (!Intersect(rcDest, clip, pShown)) {
        return false;
    }
    *pFrom = SDL_Point{rcWithin.x + pShown->x - rcDest.x, rcWithin.y + pShown->y - rcDest.y};
    return true;
}

// Copies to rcTo of pDest from pSource, starting at ptFrom; both are 32-bit surfaces of one
// pixel format. Row by row with plain stores, as SDL_BlitSurface without blending would copy,
// except that what is copied stays in the cache for whatever reads it next.
void CopyRect(SDL_Surface* pSource, SDL_Point ptFrom, SDL_Surface* pDest, const SDL_Rect& rcTo) {
    const size_t nRowBytes = static_cast<size_t>(rcTo.w) * sizeof(Uint32);
    for (int row = 0; row < rcTo.h; ++row) {
        std::memcpy(PixelAt(pDest, rcTo.x, rcTo.y + row),
                    PixelAt(pSource, ptFrom.x, ptFrom.y + row), nRowBytes);
    }
}

// As CopyRect, but only the part of each row that differs is written. Answers the bounding
// box of what was.
SDL_Rect CopyChanges(SDL_Surface* pSource, SDL_Point ptFrom, SDL_Surface* pDest,
                     const SDL_Rect& rcTo) {
    const size_t nRowBytes = static_cast<size_t>(rcTo.w) * sizeof(Uint32);
    SDL_Rect rcChanged{0, 0, 0, 0};
    for (int row = 0; row < rcTo.h; ++row) {
        Uint32* pTo = PixelAt(pDest, rcTo.x, rcTo.y + row);
        const Uint32* pFrom = PixelAt(pSource, ptFrom.x, ptFrom.y + row);
        if (std::memcmp(pTo, pFrom, nRowBytes) == 0) {
            continue;
        }
        int nFirst = 0;
        while (pTo[nFirst] == pFrom[nFirst]) {
            ++nFirst;
        }
        int nEnd = rcTo.w;
        while (pTo[nEnd - 1] == pFrom[nEnd - 1]) {
            --nEnd;
        }
        std::memcpy(pTo + nFirst, pFrom + nFirst,
                    static_cast<size_t>(nEnd - nFirst) * sizeof(Uint32));
        rcChanged = Union(rcChanged, SDL_Rect{rcTo.x + nFirst, rcTo.y + row, nEnd - nFirst, 1});
    }
    return rcChanged;
}

}  // namespace

COLORREF GetSysColor(int nIndex) {
    return nIndex == COLOR_BTNFACE ? kButtonFace : RGB(0, 0, 0);
}

SDL_Surface* DCImpl::Target() const {
    if (pAttached != nullptr) {
        return pAttached;
    }
    const auto* pBitmap = bMemory ? static_cast<const BitmapData*>(bitmap.pData.get()) : nullptr;
    return pBitmap != nullptr ? pBitmap->pSurface : nullptr;
}

void DCImpl::Fill(const SDL_Rect& r, COLORREF cr, const SDL_Rect& clip) {
    SDL_Surface* pSurface = Target();
    SDL_Rect rcFill;
    if (pSurface != nullptr && Intersect(r, clip, &rcFill)) {
        AfxFillSurfaceRect(pSurface, rcFill, cr, rcFill);
        Drew(rcFill);
    }
}

void DCImpl::Drew(const SDL_Rect& r) {
    if (pAttached != nullptr) {
        rcChanged = Union(rcChanged, r);
    }
}

void DCImpl::Copy(SDL_Surface* pSource, const SDL_Rect& rcSource, const SDL_Rect& rcDest,
                  const SDL_Rect& clip) {
    SDL_Rect rcShown;
    SDL_Point ptFrom;
    if (!PlaceCopy(pSource, rcSource, rcDest, clip, &rcShown, &ptFrom)) {
        return;
    }
    if (pAttached == nullptr) {
        CopyRect(pSource, ptFrom, Target(), rcShown);
        return;
    }
    // On a window's surface only what differs changes, so that only that goes to the screen.
    Drew(CopyChanges(pSource, ptFrom, pAttached, rcShown));
}

bool DCImpl::ClipFor(const SDL_Rect* pLimit, SDL_Rect* pClip) const {
    const SDL_Surface* pSurface = Target();
    if (pSurface == nullptr) {
        return false;
    }
    *pClip = SDL_Rect{0, 0, pSurface->w, pSurface->h};
    if (bClip && !Intersect(*pClip, rcClip, pClip)) {
        return false;
    }
    return pLimit == nullptr || Intersect(*pClip, *pLimit, pClip);
}

void AfxAttachSurface(CDC& dc, SDL_Surface* pSurface) {
    dc.Impl().pAttached = pSurface;
}

SDL_Rect AfxChangedRect(const CDC& dc) {
    return dc.Impl().rcChanged;
}

void AfxFillSurfaceRect(SDL_Surface* pSurface, const SDL_Rect& r, COLORREF cr,
                        const SDL_Rect& clip) {
    SDL_Rect rcFill;
    if (!Intersect(r, clip, &rcFill)) {
        return;
    }
    if (pSurface->format->BytesPerPixel != sizeof(Uint32)) {
        SDL_FillRect(pSurface, &rcFill, MapColour(pSurface, cr));
        return;
    }
    // Plain stores: SDL's own fill writes past the cache, and the copy or upload that reads
    // the pixels next would have to fetch them back from memory. The first row is set pixel
    // by pixel, unless one byte value makes the pixel; the other rows are copies of it.
    const Uint32 nPixel = MapColour(pSurface, cr);
    const size_t nRowBytes = static_cast<size_t>(rcFill.w) * sizeof(Uint32);
    Uint32* pFirst = PixelAt(pSurface, rcFill.x, rcFill.y);
    const auto nByte = static_cast<Uint8>(nPixel);
    if (nPixel == nByte * kByteRepeated) {
        for (int row = 0; row < rcFill.h; ++row) {
            std::memset(PixelAt(pSurface, rcFill.x, rcFill.y + row), nByte, nRowBytes);
        }
        return;
    }
    std::fill_n(pFirst, rcFill.w, nPixel);
    for (int row = 1; row < rcFill.h; ++row) {
        std::memcpy(PixelAt(pSurface, rcFill.x, rcFill.y + row), pFirst, nRowBytes);
    }
}

CDC::CDC() {
    DeleteDC();
}

CDC::~CDC() = default;

BOOL CDC::CreateCompatibleDC(CDC* /*pDC*/) {
    DeleteDC();
    m_pImpl->bMemory = true;
    SelectStock(m_pImpl->bitmap, Stock().oneByOne);
    return TRUE;
}

BOOL CDC::DeleteDC() {
    m_pImpl = std::make_unique<DCImpl>();
    StockObjects& stock = Stock();
    SelectStock(m_pImpl->pen, stock.blackPen);
    SelectStock(m_pImpl->brush, stock.whiteBrush);
    SelectStock(m_pImpl->font, stock.systemFont);
    return TRUE;
}

CPen* CDC::SelectObject(CPen* pPen) {
    return Select(m_pImpl->pen, pPen);
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
    return Select(m_pImpl->brush, pBrush);
}
CFont* CDC::SelectObject(CFont* pFont) {
    return Select(m_pImpl->font, pFont);
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    // Only a memory context has a bitmap to exchange.
    return m_pImpl->bMemory ? Select(m_pImpl->bitmap, pBitmap) : nullptr;
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
    StockObjects& stock = Stock();
    switch (nIndex) {
        case NULL_PEN:
            return Select<CPen>(m_pImpl->pen, &stock.nullPen);
        case NULL_BRUSH:
            return Select<CBrush>(m_pImpl->brush, &stock.nullBrush);
        default:
            return nullptr;
    }
}

CPen* CDC::GetCurrentPen() const {
    return static_cast<CPen*>(m_pImpl->pen.pObject);
}
CBrush* CDC::GetCurrentBrush() const {
    return static_cast<CBrush*>(m_pImpl->brush.pObject);
}
CFont* CDC::GetCurrentFont() const {
    return static_cast<CFont*>(m_pImpl->font.pObject);
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
    return std::exchange(m_pImpl->crBk, crColor);
}
COLORREF CDC::GetBkColor() const {
    return m_pImpl->crBk;
}
COLORREF CDC::SetTextColor(COLORREF crColor) {
    return std::exchange(m_pImpl->crText, crColor);
}
COLORREF CDC::GetTextColor() const {
    return m_pImpl->crText;
}
int CDC::SetBkMode(int nBkMode) {
    return std::exchange(m_pImpl->nBkMode, nBkMode);
}
int CDC::GetBkMode() const {
    return m_pImpl->nBkMode;
}
int CDC::SetROP2(int nDrawMode) {
    return std::exchange(m_pImpl->nRop2, nDrawMode);
}
int CDC::GetROP2() const {
    return m_pImpl->nRop2;
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    SDL_Rect clip;
    if (x2 <= x1 || y2 <= y1 || !m_pImpl->ClipFor(nullptr, &clip)) {
        return FALSE;
    }
    const auto* pBrush = DataOf<BrushData>(m_pImpl->brush);
    if (pBrush != nullptr && !pBrush->bNull && x2 - x1 > 2 && y2 - y1 > 2) {
        m_pImpl->Fill(SDL_Rect{x1 + 1, y1 + 1, x2 - x1 - 2, y2 - y1 - 2}, pBrush->crColor, clip);
    }
    const auto* pPen = DataOf<PenData>(m_pImpl->pen);
    if (pPen != nullptr && pPen->nStyle != PS_NULL) {
        const int w = x2 - x1;
        const int h = y2 - y1;
        m_pImpl->Fill(SDL_Rect{x1, y1, w, 1}, pPen->crColor, clip);
        m_pImpl->Fill(SDL_Rect{x1, y2 - 1, w, 1}, pPen->crColor, clip);
        m_pImpl->Fill(SDL_Rect{x1, y1, 1, h}, pPen->crColor, clip);
        m_pImpl->Fill(SDL_Rect{x2 - 1, y1, 1, h}, pPen->crColor, clip);
    }
    return TRUE;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF crColor) {
    SDL_Rect clip;
    if (m_pImpl->ClipFor(nullptr, &clip)) {
        m_pImpl->Fill(ToSdl(*lpRect), crColor, clip);
    }
}

int CDC::DrawText(const char* lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    const auto* pFont = DataOf<FontData>(m_pImpl->font);
    if (lpszString == nullptr || lpRect == nullptr || pFont == nullptr || pFont->pTTF == nullptr) {
        return 0;
    }
    const RECT& rc = *lpRect;
    const SDL_Rect rcLimit = ToSdl(rc);
    SDL_Rect clip;
    if (nCount == 0 || *lpszString == '\0' || !m_pImpl->ClipFor(&rcLimit, &clip)) {
        // Nothing of it would show, so it is neither shaped nor rendered.
        return TTF_FontHeight(pFont->pTTF);
    }
    const std::string str = nCount < 0 ? std::string(lpszString) : std::string(lpszString, nCount);
    const PrefixedText text = ResolvePrefixes(str, (nFormat & DT_NOPREFIX) == 0);
    const COLORREF cr = m_pImpl->crText;
    const RenderedText& rendered = TextCache().Get(*pFont, text, cr);
    const int nWidth = rendered.nWidth;
    const int nHeight = rendered.nHeight;

    int x = rc.left;
    if ((nFormat & DT_CENTER) != 0) {
        x = rc.left + (rc.right - rc.left - nWidth) / 2 - rendered.nInkImbalance / 2;
    } else if ((nFormat & DT_RIGHT) != 0) {
        x = rc.right - nWidth;
    }
    int y = rc.top;
    if ((nFormat & DT_VCENTER) != 0) {
        y = rc.top + (rc.bottom - rc.top - nHeight) / 2;
    } else if ((nFormat & DT_BOTTOM) != 0) {
        y = rc.bottom - nHeight;
    }

    if (text.strShown.empty()) {
        return nHeight;
    }
    SDL_Surface* pSurface = m_pImpl->Target();
    if (m_pImpl->nBkMode == OPAQUE) {
        m_pImpl->Fill(SDL_Rect{x, y, nWidth, nHeight}, m_pImpl->crBk, clip);
    }
    if (rendered.pInk != nullptr) {
        SDL_Rect rcOld;
        SDL_GetClipRect(pSurface, &rcOld);
        SDL_SetClipRect(pSurface, &clip);
        SDL_Rect rcDest{x, y, rendered.pInk->w, rendered.pInk->h};
        if (SDL_BlitSurface(rendered.pInk, nullptr, pSurface, &rcDest) == 0) {
            m_pImpl->Drew(rcDest);
        }
        SDL_SetClipRect(pSurface, &rcOld);
    }
    if (text.nUnderlineBegin != std::string::npos) {
        m_pImpl->Fill(SDL_Rect{x + rendered.nUnderlineLeft, y + rendered.nAscent + 1,
                               rendered.nUnderlineWidth, 1},
                      cr, clip);
    }
    return nHeight;
}

SIZE CDC::GetTextExtent(const char* lpszString, int nCount) const {
    const auto* pFont = DataOf<FontData>(m_pImpl->font);
    if (lpszString == nullptr || pFont == nullptr || pFont->pTTF == nullptr) {
        return SIZE{0, 0};
    }
    const std::string str = nCount < 0 ? std::string(lpszString) : std::string(lpszString, nCount);
    TTF_Font* pTTF = pFont->FaceFor(str);
    return SIZE{TextWidth(pTTF, str), TTF_FontHeight(pTTF)};
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* pMetrics) const {
    const auto* pFont = DataOf<FontData>(m_pImpl->font);
    if (pMetrics == nullptr || pFont == nullptr || pFont->pTTF == nullptr) {
        return FALSE;
    }
    TTF_Font* pTTF = pFont->pTTF;
    pMetrics->tmHeight = TTF_FontHeight(pTTF);
    pMetrics->tmAscent = TTF_FontAscent(pTTF);
    pMetrics->tmDescent = -TTF_FontDescent(pTTF);
    pMetrics->tmAveCharWidth = TextWidth(pTTF, "x");
    return TRUE;
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
    SDL_Surface* pDest = m_pImpl->Target();
    SDL_Surface* pSource = pSrcDC != nullptr ? pSrcDC->m_pImpl->Target() : nullptr;
    SDL_Rect clip;
    if (dwRop != SRCCOPY || pSource == nullptr || nWidth <= 0 || nHeight <= 0 ||
        !m_pImpl->ClipFor(nullptr, &clip)) {
        return FALSE;
    }
    const SDL_Rect rcSource{xSrc, ySrc, nWidth, nHeight};
    const SDL_Rect rcDest{x, y, nWidth, nHeight};
    if (pSource->format->format == pDest->format->format &&
        pSource->format->BytesPerPixel == sizeof(Uint32)) {
        m_pImpl->Copy(pSource, rcSource, rcDest, clip);
        return TRUE;
    }
    SDL_Rect rcOld;
    SDL_GetClipRect(pDest, &rcOld);
    SDL_SetClipRect(pDest, &clip);
    SDL_SetSurfaceBlendMode(pSource, SDL_BLENDMODE_NONE);
    SDL_Rect rcSourceClipped = rcSource;
    SDL_Rect rcDestClipped = rcDest;
    const int nResult = SDL_BlitSurface(pSource, &rcSourceClipped, pDest, &rcDestClipped);
    SDL_SetClipRect(pDest, &rcOld);
    if (nResult == 0) {
        m_pImpl->Drew(rcDestClipped);
    }
    return nResult == 0;
}

COLORREF CDC::GetPixel(int x, int y) const {
    const SDL_Surface* pSurface = m_pImpl->Target();
    if (pSurface == nullptr || x < 0 || y < 0 || x >= pSurface->w || y >= pSurface->h ||
        pSurface->format->BytesPerPixel != 4) {
        return CLR_INVALID;
    }
    const auto* pRow = static_cast<const Uint8*>(pSurface->pixels) + y * pSurface->pitch;
    const Uint32 nPixel = reinterpret_cast<const Uint32*>(pRow)[x];
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(nPixel, pSurface->format, &r, &g, &b);
    return RGB(r, g, b);
}

BOOL CDC::SetPixel(int x, int y, COLORREF crColor) {
    SDL_Rect clip;
    if (!m_pImpl->ClipFor(nullptr, &clip)) {
        return FALSE;
    }
    m_pImpl->Fill(SDL_Rect{x, y, 1, 1}, crColor, clip);
    return TRUE;
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    int nScale = 1;
    const ICONIMAGE* pImage = AfxFindIconImage(hIcon, cxIcon, &nScale);
    SDL_Rect clip;
    if (pImage == nullptr || !m_pImpl->ClipFor(nullptr, &clip)) {
        return FALSE;
    }
    // Whole pixels of the art, centred in the icon's square.
    const int xImage = x + (cxIcon - pImage->cx * nScale) / 2;
    const int yImage = y + (cyIcon - pImage->cy * nScale) / 2;
    for (int row = 0; row < pImage->cy; ++row) {
        for (int col = 0; col < pImage->cx; ++col) {
            if (!AfxIsIconPixelTransparent(*pImage, col, row)) {
                m_pImpl->Fill(
                    SDL_Rect{xImage + col * nScale, yImage + row * nScale, nScale, nScale},
                    AfxGetIconPixel(hIcon, *pImage, col, row), clip);
            }
        }
    }
    return TRUE;
}

void CDC::SetClipRect(LPCRECT lpRect) {
    m_pImpl->bClip = lpRect != nullptr;
    if (lpRect != nullptr) {
        m_pImpl->rcClip = ToSdl(*lpRect);
    }
}
