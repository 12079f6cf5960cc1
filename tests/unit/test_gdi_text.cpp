// Text on device contexts with a stand-in rasteriser whose glyphs are known blocks, so that
// where and how the ink lands can be told to the pixel, with no font file.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/text_raster.h"
#include "tests/render/pixels.h"

// The stand-in's face: its size, and whether it is the fallback for '#'.
struct HFACE__ {
    int nPixelHeight;
    bool bFallback;
};

namespace {

using testing_pixels::CCanvas;
using testing_pixels::InkBox;

constexpr int kAdvance = 6;
constexpr int kFallbackAdvance = 9;
constexpr int kHeight = 12;
constexpr int kAscent = 9;
// Every glyph: a full column at x = 1 and a half-covered one at x = 2, rows 2 to 8, blank to
// the right, so that its ink sits left of its advance's middle.
constexpr int kInkLeft = 1;
constexpr int kInkTop = 2;
constexpr int kInkBottom = 9;
constexpr std::uint8_t kHalf = 128;
constexpr COLORREF kBoard = RGB(0, 0, 200);
constexpr COLORREF kInk = RGB(255, 255, 0);
constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr UINT kTopLeft = DT_LEFT | DT_TOP | DT_SINGLELINE;

class CBlockRasterizer : public CTextRasterizer {
public:
    HFACE OpenFace(const char* /*pszFamily*/, int nPixelHeight) override {
        return Face(nPixelHeight, false);
    }
    HFACE FaceFor(HFACE hFace, const std::string& strText) override {
        return strText.find('#') != std::string::npos ? Face(hFace->nPixelHeight, true) : hFace;
    }
    FaceMetrics Metrics(HFACE /*hFace*/) override {
        return FaceMetrics{kHeight, kAscent, kHeight - kAscent};
    }
    int Advance(HFACE hFace, const std::string& strText) override {
        return static_cast<int>(strText.size()) * (hFace->bFallback ? kFallbackAdvance : kAdvance);
    }
    bool Bearings(HFACE hFace, const std::string& /*strText*/, int* pnLeft, int* pnRight) override {
        *pnLeft = kInkLeft;
        *pnRight = (hFace->bFallback ? kFallbackAdvance : kAdvance) - kInkLeft - 2;
        return true;
    }
    Coverage Render(HFACE hFace, const std::string& strText) override {
        const int nAdvance = hFace->bFallback ? kFallbackAdvance : kAdvance;
        Coverage ink{Advance(hFace, strText), kHeight, {}};
        ink.levels.assign(static_cast<size_t>(ink.cx * ink.cy), 0);
        for (size_t i = 0; i < strText.size(); ++i) {
            for (int y = kInkTop; y < kInkBottom; ++y) {
                const size_t nAt = static_cast<size_t>(y * ink.cx) + i * nAdvance + kInkLeft;
                ink.levels[nAt] = 255;
                ink.levels[nAt + 1] = kHalf;
            }
        }
        return ink;
    }

private:
    HFACE Face(int nPixelHeight, bool bFallback) {
        auto& pFace = m_faces[{nPixelHeight, bFallback}];
        if (pFace == nullptr) {
            pFace = std::make_unique<HFACE__>(HFACE__{nPixelHeight, bFallback});
        }
        return pFace.get();
    }
    std::map<std::pair<int, bool>, std::unique_ptr<HFACE__>> m_faces;
};

// Faces live as long as their rasteriser, and fonts are found again by the rasteriser's
// address: one for all the tests, as a program has.
CBlockRasterizer& BlockRasterizer() {
    static CBlockRasterizer s_rasterizer;
    return s_rasterizer;
}

class GdiTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxSetTextRasterizer(&BlockRasterizer());
        ASSERT_TRUE(m_font.CreatePointFont(90, "Any"));
        DC().SelectObject(&m_font);
        DC().SetTextColor(kInk);
        DC().SetBkMode(TRANSPARENT);
    }
    void TearDown() override { AfxSetTextRasterizer(nullptr); }
    CDC& DC() { return m_canvas.DC(); }

    CCanvas m_canvas{80, 40, kBoard};
    CFont m_font;
};

TEST_F(GdiTextTest, ACentredLabelCentresItsInkAndItsLine) {
    RECT rc{0, 0, 40, 30};
    DC().DrawText("AB", -1, &rc, kCentred);
    const RECT ink = InkBox(DC(), RECT{0, 0, 80, 40}, kBoard);
    // Ink 1 px in from the first advance's left, 3 px in from the last one's right.
    EXPECT_EQ(ink.left - rc.left, rc.right - ink.right);
    EXPECT_EQ(ink.top, (30 - kHeight) / 2 + kInkTop);
    EXPECT_EQ(ink.bottom, (30 - kHeight) / 2 + kInkBottom);
}

TEST_F(GdiTextTest, CoverageTakesEachPixelAsFarTowardsTheTextColourAsItSays) {
    RECT rc{0, 0, 80, 40};
    DC().DrawText("A", -1, &rc, kTopLeft);
    EXPECT_EQ(DC().GetPixel(kInkLeft, kInkTop), kInk);
    EXPECT_EQ(DC().GetPixel(kInkLeft + 2, kInkTop), kBoard);
    const COLORREF half = DC().GetPixel(kInkLeft + 1, kInkTop);
    for (int nShift : {0, 8, 16}) {
        const int nHalf = (half >> nShift) & 0xFF;
        const int nFrom = (kBoard >> nShift) & 0xFF;
        const int nTo = (kInk >> nShift) & 0xFF;
        EXPECT_NEAR(nHalf, (nFrom + nTo) / 2, 2) << "channel at bit " << nShift;
    }
}

TEST_F(GdiTextTest, TextStaysInsideItsRectangleAndTheClip) {
    RECT rc{10, 5, 20, 35};
    DC().DrawText("ABCDEFGH", -1, &rc, kCentred);
    EXPECT_EQ(InkBox(DC(), RECT{0, 0, 10, 40}, kBoard).right, 0);
    EXPECT_EQ(InkBox(DC(), RECT{20, 0, 80, 40}, kBoard).right, 0);

    CCanvas clipped(80, 40, kBoard);
    clipped.DC().SelectObject(&m_font);
    clipped.DC().SetTextColor(kInk);
    const RECT rcClip{0, 0, 80, 6};
    clipped.DC().SetClipRect(&rcClip);
    RECT rcAll{0, 0, 80, 40};
    clipped.DC().DrawText("AB", -1, &rcAll, kTopLeft);
    EXPECT_EQ(InkBox(clipped.DC(), rcAll, kBoard).bottom, 6);
}

TEST_F(GdiTextTest, AnAmpersandUnderlinesTheNextCharacterUnlessPrefixesAreOff) {
    RECT rc{0, 0, 80, 40};
    DC().DrawText("&AB", -1, &rc, kTopLeft);
    const int yLine = kAscent + 1;
    for (int x = 0; x < kAdvance; ++x) {
        EXPECT_EQ(DC().GetPixel(x, yLine), kInk) << x;
    }
    EXPECT_EQ(DC().GetPixel(kAdvance, yLine), kBoard);
    EXPECT_EQ(InkBox(DC(), rc, kBoard).right, kAdvance + kInkLeft + 2);

    CCanvas literal(80, 40, kBoard);
    literal.DC().SelectObject(&m_font);
    literal.DC().SetTextColor(kInk);
    literal.DC().SetBkMode(TRANSPARENT);
    literal.DC().DrawText("&AB", -1, &rc, kTopLeft | DT_NOPREFIX);
    EXPECT_EQ(literal.DC().GetPixel(0, yLine), kBoard);
    EXPECT_EQ(InkBox(literal.DC(), rc, kBoard).right, 2 * kAdvance + kInkLeft + 2);
}

TEST_F(GdiTextTest, AnOpaqueBackgroundFillsTheLineBoxOnly) {
    DC().SetBkMode(OPAQUE);
    DC().SetBkColor(RGB(0, 0, 0));
    RECT rc{0, 0, 80, 40};
    DC().DrawText("AB", -1, &rc, kTopLeft);
    EXPECT_EQ(DC().GetPixel(2 * kAdvance - 1, kHeight - 1), RGB(0, 0, 0));
    EXPECT_EQ(DC().GetPixel(2 * kAdvance, 0), kBoard);
    EXPECT_EQ(DC().GetPixel(0, kHeight), kBoard);
}

TEST_F(GdiTextTest, MeasuresComeFromTheFaceThatDrawsTheText) {
    EXPECT_EQ(DC().GetTextExtent("AB", -1).cx, 2 * kAdvance);
    EXPECT_EQ(DC().GetTextExtent("A#", -1).cx, 2 * kFallbackAdvance);
    TEXTMETRIC metrics{};
    ASSERT_TRUE(DC().GetTextMetrics(&metrics));
    EXPECT_EQ(metrics.tmHeight, kHeight);
    EXPECT_EQ(metrics.tmAscent, kAscent);
    RECT rcInk;
    ASSERT_TRUE(DC().GetTextInkRect("A#", -1, &rcInk));
    EXPECT_EQ(rcInk.right, kFallbackAdvance + kInkLeft + 2);
}

TEST_F(GdiTextTest, AFontKeepsItsRasteriserAndWithoutOneNoFontIsMade) {
    AfxSetTextRasterizer(nullptr);
    CFont none;
    EXPECT_FALSE(none.CreatePointFont(90, "Any"));
    RECT rc{0, 0, 80, 40};
    DC().DrawText("AB", -1, &rc, kTopLeft);
    EXPECT_EQ(DC().GetPixel(kInkLeft, kInkTop), kInk);
}

}  // namespace
