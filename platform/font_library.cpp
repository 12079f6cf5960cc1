#include "platform/font_library.h"

#include <SDL.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/translate.h"

namespace {

constexpr int kDefaultDpi = 96;
constexpr float kMinPlausibleDpi = 72.0f;
constexpr float kMaxPlausibleDpi = 300.0f;
// Characters that a face must have to be taken for Japanese text: hiragana and a kanji.
constexpr FcChar32 kJapaneseProbes[] = {0x307D, 0x3088, 0x308B, 0x3093, 0x60C5};

struct FontFile {
    std::string strPath;
    int nIndex = 0;
};

bool HasJapaneseGlyphs(FcPattern* pMatch) {
    FcCharSet* pCharSet = nullptr;
    if (FcPatternGetCharSet(pMatch, FC_CHARSET, 0, &pCharSet) != FcResultMatch) {
        return false;
    }
    for (const FcChar32 ch : kJapaneseProbes) {
        if (!FcCharSetHasChar(pCharSet, ch)) {
            return false;
        }
    }
    return true;
}

// The best match for the pattern, if fontconfig finds one with a file.
bool Match(FcPattern* pPattern, FontFile* pFile, bool* pbJapanese) {
    FcConfigSubstitute(nullptr, pPattern, FcMatchPattern);
    FcDefaultSubstitute(pPattern);
    FcResult result = FcResultNoMatch;
    FcPattern* pMatch = FcFontMatch(nullptr, pPattern, &result);
    if (pMatch == nullptr) {
        return false;
    }
    FcChar8* pszPath = nullptr;
    int nIndex = 0;
    const bool bFound = FcPatternGetString(pMatch, FC_FILE, 0, &pszPath) == FcResultMatch;
    if (bFound) {
        FcPatternGetInteger(pMatch, FC_INDEX, 0, &nIndex);
        pFile->strPath = reinterpret_cast<const char*>(pszPath);
        pFile->nIndex = nIndex;
        *pbJapanese = HasJapaneseGlyphs(pMatch);
    }
    FcPatternDestroy(pMatch);
    return bFound;
}

// The family asked for Japanese (family:lang=ja); if that face lacks Japanese glyphs, any
// face that has them; if none has, the family's face after all, with one warning line for
// the whole program.
bool FindFace(const char* pszFamily, FontFile* pFile) {
    bool bJapanese = false;
    FcPattern* pPattern = FcPatternCreate();
    FcPatternAddString(pPattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(pszFamily));
    FcPatternAddString(pPattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    const bool bFound = Match(pPattern, pFile, &bJapanese);
    FcPatternDestroy(pPattern);
    if (bFound && bJapanese) {
        return true;
    }

    FontFile anyJapanese;
    pPattern = FcPatternCreate();
    FcLangSet* pLangs = FcLangSetCreate();
    FcLangSetAdd(pLangs, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddLangSet(pPattern, FC_LANG, pLangs);
    FcLangSetDestroy(pLangs);
    const bool bAnyFound = Match(pPattern, &anyJapanese, &bJapanese);
    FcPatternDestroy(pPattern);
    if (bAnyFound && bJapanese) {
        *pFile = anyJapanese;
        return true;
    }
    static bool s_bWarned = false;
    if (!s_bWarned) {
        s_bWarned = true;
        if (bFound) {
            const std::string strLine =
                std::string("hoplin: ") +
                AfxTranslate("warning: no font with Japanese glyphs is installed; using %s") + "\n";
            std::fprintf(stderr, strLine.c_str(), pFile->strPath.c_str());
        } else {
            std::fprintf(stderr, "hoplin: %s\n",
                         AfxTranslate("warning: no font is installed; text is not shown"));
        }
    }
    return bFound;
}

struct FaceKey {
    std::string strPath;
    int nIndex;
    int nPixelHeight;
    bool operator<(const FaceKey& other) const {
        return std::tie(strPath, nIndex, nPixelHeight) <
               std::tie(other.strPath, other.nIndex, other.nPixelHeight);
    }
};

// Owns SDL_ttf and every face opened through it, for the program's life.
class CFontLibrary {
public:
    ~CFontLibrary() {
        for (auto& entry : m_faces) {
            if (entry.second != nullptr) {
                TTF_CloseFont(entry.second);
            }
        }
        if (m_bInitialised) {
            TTF_Quit();
        }
    }

    TTF_Font* Open(const char* pszFamily, int nPixelHeight) {
        if (!m_bInitialised) {
            m_bInitialised = TTF_Init() == 0;
            if (!m_bInitialised) {
                return nullptr;
            }
        }
        const std::string strFamily = pszFamily != nullptr ? pszFamily : "";
        auto itFile = m_files.find(strFamily);
        if (itFile == m_files.end()) {
            FontFile file;
            const bool bFound = FcInit() && FindFace(strFamily.c_str(), &file);
            itFile = m_files
                         .emplace(strFamily, bFound ? std::make_unique<FontFile>(file)
                                                    : std::unique_ptr<FontFile>())
                         .first;
        }
        if (!itFile->second) {
            return nullptr;
        }
        const FontFile& file = *itFile->second;
        const FaceKey key{file.strPath, file.nIndex, nPixelHeight};
        auto itFace = m_faces.find(key);
        if (itFace == m_faces.end()) {
            // At 72 DPI SDL_ttf's point size is the em height in pixels.
            TTF_Font* pFace =
                TTF_OpenFontIndexDPI(file.strPath.c_str(), nPixelHeight, file.nIndex, 72, 72);
            itFace = m_faces.emplace(key, pFace).first;
        }
        return itFace->second;
    }

private:
    bool m_bInitialised = false;
    std::map<std::string, std::unique_ptr<FontFile>> m_files;
    std::map<FaceKey, TTF_Font*> m_faces;
};

}  // namespace

TTF_Font* AfxOpenFontFace(const char* pszFamily, int nPixelHeight) {
    static CFontLibrary s_library;
    return nPixelHeight > 0 ? s_library.Open(pszFamily, nPixelHeight) : nullptr;
}

int AfxGetScreenDpi() {
    float fVertical = 0.0f;
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0 &&
        SDL_GetDisplayDPI(0, nullptr, nullptr, &fVertical) == 0 && fVertical >= kMinPlausibleDpi &&
        fVertical <= kMaxPlausibleDpi) {
        return static_cast<int>(fVertical + 0.5f);
    }
    return kDefaultDpi;
}
