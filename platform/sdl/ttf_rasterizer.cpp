#include "platform/sdl/ttf_rasterizer.h"

#include <SDL.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "platform/base/utf8.h"
#include "platform/sdl/font_library.h"

// A face as the gdi knows it: a font file at one size, for text of one family.
struct HFACE__ {
    FontFace* pFile;
    int nPixelHeight;
    std::string strFamily;
};

namespace {

// Rendered in white, a line's alpha is its coverage.
constexpr SDL_Color kWhite{255, 255, 255, 255};

class CTtfRasterizer : public CTextRasterizer {
public:
    HFACE OpenFace(const char* pszFamily, int nPixelHeight) override {
        if (nPixelHeight <= 0) {
            return nullptr;
        }
        const std::string strFamily = pszFamily != nullptr ? pszFamily : "";
        FontFace* pFile = AfxOpenFontFace(strFamily.c_str());
        return pFile != nullptr ? FaceOf(pFile, nPixelHeight, strFamily) : nullptr;
    }

    HFACE FaceFor(HFACE hFace, const std::string& strText) override {
        FontFace* pFile = AfxOpenFontFace(hFace->strFamily.c_str(), strText.c_str());
        if (pFile == nullptr || pFile == hFace->pFile) {
            return hFace;
        }
        return FaceOf(pFile, hFace->nPixelHeight, hFace->strFamily);
    }

    FaceMetrics Metrics(HFACE hFace) override {
        TTF_Font* pFont = Sized(hFace);
        return FaceMetrics{TTF_FontHeight(pFont), TTF_FontAscent(pFont), -TTF_FontDescent(pFont)};
    }

    int Advance(HFACE hFace, const std::string& strText) override {
        int nWidth = 0;
        if (!strText.empty()) {
            TTF_SizeUTF8(Sized(hFace), strText.c_str(), &nWidth, nullptr);
        }
        return nWidth;
    }

    bool Bearings(HFACE hFace, const std::string& strText, int* pnLeft, int* pnRight) override {
        if (strText.empty()) {
            return false;
        }
        TTF_Font* pFont = Sized(hFace);
        int nMinX = 0, nMaxX = 0, nAdvance = 0;
        if (TTF_GlyphMetrics32(pFont, DecodeUtf8(strText, 0), &nMinX, nullptr, nullptr, nullptr,
                               nullptr) != 0) {
            return false;
        }
        *pnLeft = nMinX;
        if (TTF_GlyphMetrics32(pFont, DecodeUtf8(strText, LastUtf8CharAt(strText)), &nMinX, &nMaxX,
                               nullptr, nullptr, &nAdvance) != 0) {
            return false;
        }
        *pnRight = nAdvance - nMaxX;
        return true;
    }

    Coverage Render(HFACE hFace, const std::string& strText) override {
        Coverage coverage;
        SDL_Surface* pLine = TTF_RenderUTF8_Blended(Sized(hFace), strText.c_str(), kWhite);
        if (pLine == nullptr) {
            return coverage;
        }
        coverage.cx = pLine->w;
        coverage.cy = pLine->h;
        coverage.levels.reserve(static_cast<size_t>(pLine->w) * static_cast<size_t>(pLine->h));
        const SDL_PixelFormat& format = *pLine->format;
        for (int y = 0; y < pLine->h; ++y) {
            const auto* pRow = reinterpret_cast<const Uint32*>(
                static_cast<const Uint8*>(pLine->pixels) + y * pLine->pitch);
            for (int x = 0; x < pLine->w; ++x) {
                coverage.levels.push_back(
                    static_cast<std::uint8_t>((pRow[x] & format.Amask) >> format.Ashift));
            }
        }
        SDL_FreeSurface(pLine);
        return coverage;
    }

private:
    HFACE FaceOf(FontFace* pFile, int nPixelHeight, const std::string& strFamily) {
        auto& pFace = m_faces[std::make_tuple(pFile, nPixelHeight, strFamily)];
        if (pFace == nullptr) {
            pFace = std::make_unique<HFACE__>(HFACE__{pFile, nPixelHeight, strFamily});
        }
        return pFace.get();
    }

    // The face's font, set to the face's size.
    static TTF_Font* Sized(HFACE hFace) {
        AfxSizeFontFace(hFace->pFile, hFace->nPixelHeight);
        return hFace->pFile->pFont;
    }

    std::map<std::tuple<FontFace*, int, std::string>, std::unique_ptr<HFACE__>> m_faces;
};

}  // namespace

CTextRasterizer& AfxTtfRasterizer() {
    static CTtfRasterizer s_rasterizer;
    return s_rasterizer;
}
