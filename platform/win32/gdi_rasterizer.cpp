#include "platform/win32/gdi_rasterizer.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/diagnostics.h"
#include "platform/base/translate.h"
#include "platform/win32/base/system_text.h"
#include "platform/win32/dib_section.h"

// A face as the gdi knows it: a GDI font of one family at one size, and its metrics.
struct HFACE__ {
    HFONT hFont;
    std::wstring strFamily;
    int nPixelHeight;
    TEXTMETRICW metrics;
};

namespace {

// Faces that Windows has in one edition or another, tried in turn where a named face is
// missing or lacks the text's characters: Japanese ones first, as the game's text is.
constexpr const wchar_t* kStandIns[] = {L"MS UI Gothic", L"Yu Gothic UI", L"Meiryo UI",
                                        L"MS Gothic",    L"Segoe UI",     L"Segoe UI Symbol",
                                        L"Tahoma",       L"Arial"};
// What GetGlyphIndicesW answers for a character that the face has no glyph of.
constexpr WORD kNoGlyph = 0xFFFF;

int CALLBACK NoteFamily(const LOGFONTW* /*pLogFont*/, const TEXTMETRICW* /*pMetrics*/,
                        DWORD /*dwType*/, LPARAM lParam) {
    *reinterpret_cast<bool*>(lParam) = true;
    return 0;
}

// Adds the family to the list, once; vertical faces ('@') are for text set top to bottom.
int CALLBACK ListFamily(const LOGFONTW* pLogFont, const TEXTMETRICW* /*pMetrics*/, DWORD /*dwType*/,
                        LPARAM lParam) {
    auto* pFamilies = reinterpret_cast<std::vector<std::wstring>*>(lParam);
    const std::wstring strFamily = pLogFont->lfFaceName;
    if (!strFamily.empty() && strFamily[0] != L'@' &&
        std::find(pFamilies->begin(), pFamilies->end(), strFamily) == pFamilies->end()) {
        pFamilies->push_back(strFamily);
    }
    return 1;
}

class CGdiRasterizer : public CTextRasterizer {
public:
    CGdiRasterizer() : m_hdc(CreateCompatibleDC(nullptr)) {}
    ~CGdiRasterizer() override {
        for (auto& entry : m_faces) {
            DeleteObject(entry.second->hFont);
        }
        DeleteDC(m_hdc);
    }
    CGdiRasterizer(const CGdiRasterizer&) = delete;
    CGdiRasterizer& operator=(const CGdiRasterizer&) = delete;

    HFACE OpenFace(const char* pszFamily, int nPixelHeight) override {
        if (nPixelHeight <= 0) {
            return nullptr;
        }
        std::wstring strFamily = AfxSystemFromUtf8(pszFamily != nullptr ? pszFamily : "");
        if (!IsInstalled(strFamily)) {
            const std::wstring strStandIn = FirstInstalledStandIn();
            WarnOnce(strFamily, strStandIn);
            strFamily = strStandIn;
        }
        return Face(strFamily, nPixelHeight);
    }

    HFACE FaceFor(HFACE hFace, const std::string& strText) override {
        if (strText.empty()) {
            return hFace;
        }
        auto& hChosen = m_chosen[std::make_pair(hFace, strText)];
        if (hChosen == nullptr) {
            hChosen = ChooseFaceFor(hFace, AfxSystemFromUtf8(strText));
        }
        return hChosen;
    }

    FaceMetrics Metrics(HFACE hFace) override {
        return FaceMetrics{hFace->metrics.tmHeight, hFace->metrics.tmAscent,
                           hFace->metrics.tmDescent};
    }

    int Advance(HFACE hFace, const std::string& strText) override {
        const std::wstring strWide = AfxSystemFromUtf8(strText);
        SIZE size{0, 0};
        SelectObject(m_hdc, hFace->hFont);
        GetTextExtentPoint32W(m_hdc, strWide.c_str(), static_cast<int>(strWide.size()), &size);
        return size.cx;
    }

    bool Bearings(HFACE hFace, const std::string& strText, int* pnLeft, int* pnRight) override {
        const std::wstring strWide = AfxSystemFromUtf8(strText);
        if (strWide.empty() || IS_HIGH_SURROGATE(strWide.front()) ||
            IS_LOW_SURROGATE(strWide.back())) {
            return false;
        }
        SelectObject(m_hdc, hFace->hFont);
        ABC first{};
        ABC last{};
        if (!GetCharABCWidthsW(m_hdc, strWide.front(), strWide.front(), &first) ||
            !GetCharABCWidthsW(m_hdc, strWide.back(), strWide.back(), &last)) {
            return false;
        }
        *pnLeft = first.abcA;
        *pnRight = last.abcC;
        return true;
    }

    Coverage Render(HFACE hFace, const std::string& strText) override {
        Coverage coverage;
        const std::wstring strWide = AfxSystemFromUtf8(strText);
        const int cx = Advance(hFace, strText);
        const int cy = hFace->metrics.tmHeight;
        if (cx <= 0 || cy <= 0) {
            return coverage;
        }
        void* pBits = nullptr;
        HBITMAP hBitmap = AfxCreateDibSection(m_hdc, cx, cy, &pBits);
        if (hBitmap == nullptr) {
            return coverage;
        }
        HGDIOBJ hOld = SelectObject(m_hdc, hBitmap);
        std::memset(pBits, 0,
                    static_cast<size_t>(cx) * static_cast<size_t>(cy) * kDibBytesPerPixel);
        SelectObject(m_hdc, hFace->hFont);
        SetTextColor(m_hdc, RGB(255, 255, 255));
        SetBkMode(m_hdc, TRANSPARENT);
        SetTextAlign(m_hdc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        TextOutW(m_hdc, 0, 0, strWide.c_str(), static_cast<int>(strWide.size()));
        GdiFlush();
        // White on black in grey-scale: every channel is the coverage; green is taken.
        coverage.cx = cx;
        coverage.cy = cy;
        coverage.levels.resize(static_cast<size_t>(cx) * static_cast<size_t>(cy));
        const auto* pPixels = static_cast<const BYTE*>(pBits);
        for (size_t i = 0; i < coverage.levels.size(); ++i) {
            coverage.levels[i] = pPixels[i * kDibBytesPerPixel + 1];
        }
        SelectObject(m_hdc, hOld);
        DeleteObject(hBitmap);
        return coverage;
    }

private:
    bool IsInstalled(const std::wstring& strFamily) const {
        if (strFamily.empty() || strFamily.size() >= LF_FACESIZE) {
            return false;
        }
        LOGFONTW wanted{};
        wanted.lfCharSet = DEFAULT_CHARSET;
        wcsncpy(wanted.lfFaceName, strFamily.c_str(), LF_FACESIZE - 1);
        bool bFound = false;
        EnumFontFamiliesExW(m_hdc, &wanted, NoteFamily, reinterpret_cast<LPARAM>(&bFound), 0);
        return bFound;
    }

    // The first of the stand-ins that is installed, or else the face of Windows' own dialogs.
    std::wstring FirstInstalledStandIn() const {
        for (const wchar_t* pszStandIn : kStandIns) {
            if (IsInstalled(pszStandIn)) {
                return pszStandIn;
            }
        }
        LOGFONTW system{};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(system), &system);
        return system.lfFaceName;
    }

    // Every family installed, found the first time it is asked for.
    const std::vector<std::wstring>& InstalledFamilies() {
        if (m_families.empty()) {
            LOGFONTW every{};
            every.lfCharSet = DEFAULT_CHARSET;
            EnumFontFamiliesExW(m_hdc, &every, ListFamily, reinterpret_cast<LPARAM>(&m_families),
                                0);
        }
        return m_families;
    }

    // One line for the whole program, the first time a face stands in for a named one.
    void WarnOnce(const std::wstring& strMissing, const std::wstring& strStandIn) {
        if (std::exchange(m_bWarned, true)) {
            return;
        }
        AfxWarn(AfxFormat(AfxTranslate("warning: fonts not installed: %s; using %s and others "
                                       "that have the text's characters"),
                          {AfxUtf8FromSystem(strMissing), AfxUtf8FromSystem(strStandIn)}));
    }

    HFACE Face(const std::wstring& strFamily, int nPixelHeight) {
        auto& pFace = m_faces[std::make_pair(strFamily, nPixelHeight)];
        if (pFace == nullptr) {
            HFONT hFont =
                CreateFontW(-nPixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, strFamily.c_str());
            if (hFont == nullptr) {
                return nullptr;
            }
            pFace = std::make_unique<HFACE__>(HFACE__{hFont, strFamily, nPixelHeight, {}});
            SelectObject(m_hdc, hFont);
            GetTextMetricsW(m_hdc, &pFace->metrics);
        }
        return pFace.get();
    }

    // How many of the text's characters the face has no glyph for.
    int MissingIn(HFACE hFace, const std::wstring& strText) {
        std::wstring indices(strText.size(), L'\0');
        SelectObject(m_hdc, hFace->hFont);
        if (GetGlyphIndicesW(m_hdc, strText.c_str(), static_cast<int>(strText.size()),
                             reinterpret_cast<WORD*>(indices.data()),
                             GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
            return 0;
        }
        int nMissing = 0;
        for (wchar_t index : indices) {
            nMissing += static_cast<WORD>(index) == kNoGlyph ? 1 : 0;
        }
        return nMissing;
    }

    // The face that lacks the fewest of the text's characters: the one asked for, else the
    // stand-ins in turn, else any installed family.
    HFACE ChooseFaceFor(HFACE hFace, const std::wstring& strText) {
        int nFewest = MissingIn(hFace, strText);
        HFACE hBest = hFace;
        const auto consider = [&](const std::wstring& strFamily) {
            const HFACE hStandIn = Face(strFamily, hFace->nPixelHeight);
            const int nMissing = hStandIn != nullptr ? MissingIn(hStandIn, strText) : nFewest;
            if (nMissing < nFewest) {
                nFewest = nMissing;
                hBest = hStandIn;
            }
        };
        for (const wchar_t* pszStandIn : kStandIns) {
            if (nFewest > 0 && IsInstalled(pszStandIn)) {
                consider(pszStandIn);
            }
        }
        for (const std::wstring& strFamily : InstalledFamilies()) {
            if (nFewest == 0) {
                break;
            }
            consider(strFamily);
        }
        return hBest;
    }

    HDC m_hdc;
    bool m_bWarned = false;
    std::map<std::pair<std::wstring, int>, std::unique_ptr<HFACE__>> m_faces;
    std::map<std::pair<HFACE, std::string>, HFACE> m_chosen;
    std::vector<std::wstring> m_families;
};

}  // namespace

CTextRasterizer& AfxGdiRasterizer() {
    static CGdiRasterizer s_rasterizer;
    return s_rasterizer;
}
