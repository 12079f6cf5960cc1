#include "platform/sdl/font_library.h"

#include <fontconfig/fontconfig.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "platform/base/diagnostics.h"
#include "platform/base/translate.h"

namespace {

// The Windows faces that the program names, and the faces of the same design that stand in
// for them here (Debian's fonts-ipafont-gothic).
struct FaceSubstitute {
    const char* pszWindowsFace;
    const char* pszFamily;
};
constexpr FaceSubstitute kSubstitutes[] = {
    {"ＭＳ Ｐゴシック", "IPAPGothic"},  // proportional
    {"ＭＳ ゴシック", "IPAGothic"},     // fixed pitch
};

const char* FamilyFor(const std::string& strFace) {
    for (const FaceSubstitute& substitute : kSubstitutes) {
        if (strFace == substitute.pszWindowsFace) {
            return substitute.pszFamily;
        }
    }
    return strFace.c_str();
}

const FcChar8* Fc(const char* psz) {
    return reinterpret_cast<const FcChar8*>(psz);
}

struct FontFile {
    std::string strPath;
    int nIndex = 0;
    std::string strFamily;
};

// The face that fontconfig finds best for the family and, when given, the characters.
bool Match(const char* pszFamily, FcCharSet* pChars, FontFile* pFile) {
    FcPattern* pPattern = FcPatternCreate();
    FcPatternAddString(pPattern, FC_FAMILY, Fc(pszFamily));
    if (pChars != nullptr) {
        FcPatternAddCharSet(pPattern, FC_CHARSET, pChars);
    }
    FcConfigSubstitute(nullptr, pPattern, FcMatchPattern);
    FcDefaultSubstitute(pPattern);
    FcResult result = FcResultNoMatch;
    FcPattern* pMatch = FcFontMatch(nullptr, pPattern, &result);
    FcPatternDestroy(pPattern);
    if (pMatch == nullptr) {
        return false;
    }
    FcChar8* pszPath = nullptr;
    FcChar8* pszMatchedFamily = nullptr;
    const bool bFound = FcPatternGetString(pMatch, FC_FILE, 0, &pszPath) == FcResultMatch;
    if (bFound) {
        pFile->strPath = reinterpret_cast<const char*>(pszPath);
        pFile->nIndex = 0;
        FcPatternGetInteger(pMatch, FC_INDEX, 0, &pFile->nIndex);
        if (FcPatternGetString(pMatch, FC_FAMILY, 0, &pszMatchedFamily) == FcResultMatch) {
            pFile->strFamily = reinterpret_cast<const char*>(pszMatchedFamily);
        }
    }
    FcPatternDestroy(pMatch);
    return bFound;
}

bool IsSubstitute(const std::string& strFamily) {
    for (const FaceSubstitute& substitute : kSubstitutes) {
        if (strFamily == substitute.pszFamily) {
            return true;
        }
    }
    return false;
}

// One line for the whole program, the first time a face stands in for a named one: which of
// the named faces are missing, and what stands in; or that there is no face at all.
void WarnAboutMissingFaces(const FontFile* pStandIn) {
    if (pStandIn == nullptr) {
        AfxWarn(AfxTranslate("warning: no font is installed; text is not shown"));
        return;
    }
    std::string strMissing;
    for (const FaceSubstitute& substitute : kSubstitutes) {
        FontFile file;
        if (!Match(substitute.pszFamily, nullptr, &file) ||
            file.strFamily != substitute.pszFamily) {
            strMissing += (strMissing.empty() ? "" : ", ") + std::string(substitute.pszFamily);
        }
    }
    AfxWarn(AfxFormat(AfxTranslate("warning: fonts not installed: %s (package "
                                   "fonts-ipafont-gothic); using %s and others that have the "
                                   "text's characters"),
                      {strMissing, pStandIn->strFamily}));
}

// The characters of UTF-8 text that the face lacks, each once, in order.
std::u32string MissingChars(TTF_Font* pFace, const char* pszText) {
    std::u32string strMissing;
    const auto* p = reinterpret_cast<const FcChar8*>(pszText);
    int nLeft = static_cast<int>(std::strlen(pszText));
    while (nLeft > 0) {
        FcChar32 ch = 0;
        const int nBytes = FcUtf8ToUcs4(p, &ch, nLeft);
        if (nBytes <= 0) {
            break;
        }
        if (TTF_GlyphIsProvided32(pFace, ch) == 0 && strMissing.find(ch) == std::u32string::npos) {
            strMissing.push_back(ch);
        }
        p += nBytes;
        nLeft -= nBytes;
    }
    return strMissing;
}

struct FaceKey {
    std::string strPath;
    int nIndex;
    bool operator<(const FaceKey& other) const {
        return std::tie(strPath, nIndex) < std::tie(other.strPath, other.nIndex);
    }
};

// The size a file is opened at, before a use sets its own.
constexpr int kOpeningPixelHeight = 12;
// At 72 DPI SDL_ttf's point size is the em height in pixels.
constexpr unsigned kPixelsAsPoints = 72;

// Owns SDL_ttf and every face opened through it, for the program's life.
class CFontLibrary {
public:
    ~CFontLibrary() {
        for (auto& entry : m_faces) {
            if (entry.second.pFont != nullptr) {
                TTF_CloseFont(entry.second.pFont);
            }
        }
        if (m_bInitialised) {
            TTF_Quit();
        }
    }

    FontFace* Open(const char* pszFace, const char* pszText) {
        if (!m_bInitialised) {
            m_bInitialised = TTF_Init() == 0 && FcInit();
            if (!m_bInitialised) {
                return nullptr;
            }
        }
        const std::string strFamily = FamilyFor(pszFace != nullptr ? pszFace : "");
        const FontFile* pFile = Find(strFamily, std::u32string());
        // Found by its family, a named face is there; anything else stands in for it.
        const bool bStandsIn =
            pFile == nullptr || (IsSubstitute(strFamily) && pFile->strFamily != strFamily);
        if (bStandsIn && !std::exchange(m_bWarned, true)) {
            WarnAboutMissingFaces(pFile);
        }
        FontFace* pFace = pFile != nullptr ? OpenFile(*pFile) : nullptr;
        if (pFace == nullptr || pszText == nullptr) {
            return pFace;
        }
        const std::u32string strMissing = MissingChars(pFace->pFont, pszText);
        if (strMissing.empty()) {
            return pFace;
        }
        const FontFile* pStandIn = Find(strFamily, strMissing);
        FontFace* pStandInFace = pStandIn != nullptr ? OpenFile(*pStandIn) : nullptr;
        // A face that has none of the missing characters either would only change the look.
        const bool bBetter = pStandInFace != nullptr &&
                             MissingChars(pStandInFace->pFont, pszText).size() < strMissing.size();
        return bBetter ? pStandInFace : pFace;
    }

private:
    // The face for the family, or, given characters, for the family and those characters.
    const FontFile* Find(const std::string& strFamily, const std::u32string& strChars) {
        const auto key = std::make_pair(strFamily, strChars);
        auto it = m_files.find(key);
        if (it == m_files.end()) {
            FcCharSet* pChars = nullptr;
            if (!strChars.empty()) {
                pChars = FcCharSetCreate();
                for (const char32_t ch : strChars) {
                    FcCharSetAddChar(pChars, ch);
                }
            }
            FontFile file;
            const bool bFound = Match(strFamily.c_str(), pChars, &file);
            if (pChars != nullptr) {
                FcCharSetDestroy(pChars);
            }
            it = m_files
                     .emplace(key, bFound ? std::make_unique<FontFile>(file)
                                          : std::unique_ptr<FontFile>())
                     .first;
        }
        return it->second.get();
    }

    // The file's face, opened the first time; every size is set on the one face.
    FontFace* OpenFile(const FontFile& file) {
        const FaceKey key{file.strPath, file.nIndex};
        auto it = m_faces.find(key);
        if (it == m_faces.end()) {
            TTF_Font* pFont = TTF_OpenFontIndexDPI(file.strPath.c_str(), kOpeningPixelHeight,
                                                   file.nIndex, kPixelsAsPoints, kPixelsAsPoints);
            it = m_faces.emplace(key, FontFace{pFont, kOpeningPixelHeight}).first;
        }
        return it->second.pFont != nullptr ? &it->second : nullptr;
    }

    bool m_bInitialised = false;
    bool m_bWarned = false;
    std::map<std::pair<std::string, std::u32string>, std::unique_ptr<FontFile>> m_files;
    std::map<FaceKey, FontFace> m_faces;
};

}  // namespace

FontFace* AfxOpenFontFace(const char* pszFamily, const char* pszText) {
    static CFontLibrary s_library;
    return s_library.Open(pszFamily, pszText);
}

void AfxSizeFontFace(FontFace* pFace, int nPixelHeight) {
    if (pFace->nPixelHeight != nPixelHeight &&
        TTF_SetFontSizeDPI(pFace->pFont, nPixelHeight, kPixelsAsPoints, kPixelsAsPoints) == 0) {
        pFace->nPixelHeight = nPixelHeight;
    }
}
