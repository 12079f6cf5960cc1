#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "pixels.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "tests/support/dpi_scope.h"

using testing_dpi::CDpiScope;
using testing_pixels::CCanvas;
using testing_pixels::CountColour;
using testing_pixels::InkBox;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(204, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);

class DCTest : public ::testing::Test {
protected:
    DCTest() : m_canvas(40, 30) {
        m_pen.CreatePen(PS_SOLID, 1, kRed);
        m_brush.CreateSolidBrush(kGreen);
        DC().SelectObject(&m_pen);
        DC().SelectObject(&m_brush);
    }
    CDC& DC() { return m_canvas.DC(); }
    COLORREF At(int x, int y) { return DC().GetPixel(x, y); }
    int CountAll(COLORREF cr) { return CountColour(DC(), RECT{0, 0, 40, 30}, cr); }

    CCanvas m_canvas;
    CPen m_pen;
    CBrush m_brush;
};

TEST_F(DCTest, ARectangleHasAOnePixelOutlineInsideItsHalfOpenBounds) {
    DC().Rectangle(2, 3, 10, 8);
    // Outline on the edge pixels of 2 <= x < 10, 3 <= y < 8.
    EXPECT_EQ(At(2, 3), kRed);
    EXPECT_EQ(At(9, 3), kRed);
    EXPECT_EQ(At(2, 7), kRed);
    EXPECT_EQ(At(9, 7), kRed);
    EXPECT_EQ(At(5, 3), kRed);
    EXPECT_EQ(At(2, 5), kRed);
    // The interior is the brush's.
    EXPECT_EQ(At(3, 4), kGreen);
    EXPECT_EQ(At(8, 6), kGreen);
    // Right and bottom edges are outside.
    EXPECT_EQ(At(10, 5), kBlack);
    EXPECT_EQ(At(5, 8), kBlack);
    EXPECT_EQ(At(1, 5), kBlack);
    EXPECT_EQ(At(5, 2), kBlack);
    EXPECT_EQ(CountAll(kRed), 2 * 8 + 2 * 3);
    EXPECT_EQ(CountAll(kGreen), 6 * 3);
}

TEST_F(DCTest, EmptyRectanglesDrawNothing) {
    EXPECT_FALSE(DC().Rectangle(5, 5, 5, 20));
    EXPECT_FALSE(DC().Rectangle(5, 5, 20, 5));
    EXPECT_FALSE(DC().Rectangle(20, 20, 5, 5));
    EXPECT_EQ(CountAll(kBlack), 40 * 30);
}

TEST_F(DCTest, TinyRectanglesAreAllOutline) {
    DC().Rectangle(0, 0, 2, 2);
    EXPECT_EQ(CountAll(kRed), 4);
    EXPECT_EQ(CountAll(kGreen), 0);
}

TEST_F(DCTest, PenAndBrushOfOneColourGiveASolidBlock) {
    CBrush red;
    red.CreateSolidBrush(kRed);
    DC().SelectObject(&red);
    DC().Rectangle(4, 4, 14, 24);
    EXPECT_EQ(CountColour(DC(), RECT{4, 4, 14, 24}, kRed), 10 * 20);
    EXPECT_EQ(CountAll(kRed), 10 * 20);
}

TEST_F(DCTest, AFailedPenLeavesTheContextWithItsOldPen) {
    CPen broken;
    EXPECT_FALSE(broken.CreatePen(99, 1, kBlue));
    EXPECT_EQ(broken.GetSafeHandle(), nullptr);
    EXPECT_EQ(DC().SelectObject(&broken), nullptr);
    EXPECT_EQ(DC().GetCurrentPen(), &m_pen);
    DC().Rectangle(0, 0, 5, 5);
    EXPECT_EQ(At(0, 0), kRed);
    EXPECT_EQ(CountAll(kBlue), 0);
}

TEST_F(DCTest, SelectingAnswersThePreviousObject) {
    CPen blue;
    blue.CreatePen(PS_SOLID, 1, kBlue);
    EXPECT_EQ(DC().SelectObject(&blue), &m_pen);
    EXPECT_EQ(DC().SelectObject(&m_pen), &blue);
    // Releasing an object that is selected does not pull it from under the context.
    blue.DeleteObject();
    EXPECT_EQ(DC().SelectObject(&blue), nullptr);
    DC().Rectangle(0, 0, 3, 3);
    EXPECT_EQ(At(0, 0), kRed);
}

TEST_F(DCTest, ANullPenOrBrushLeavesThatPartOut) {
    DC().SelectStockObject(NULL_PEN);
    DC().Rectangle(0, 0, 6, 6);
    EXPECT_EQ(At(0, 0), kBlack);
    EXPECT_EQ(At(1, 1), kGreen);
    EXPECT_EQ(CountAll(kGreen), 16);

    DC().SelectObject(&m_pen);
    DC().SelectStockObject(NULL_BRUSH);
    DC().Rectangle(10, 10, 16, 16);
    EXPECT_EQ(At(10, 10), kRed);
    EXPECT_EQ(At(12, 12), kBlack);
}

TEST_F(DCTest, ContextStateSettersAnswerThePreviousValue) {
    EXPECT_EQ(DC().SetBkColor(kBlue), RGB(255, 255, 255));
    EXPECT_EQ(DC().SetBkColor(kBlack), kBlue);
    EXPECT_EQ(DC().SetTextColor(kRed), kBlack);
    EXPECT_EQ(DC().SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(DC().SetROP2(R2_COPYPEN), R2_COPYPEN);
}

TEST_F(DCTest, BitBltCopiesAndClipsToBothSurfaces) {
    CCanvas source(10, 10, kBlue);
    // Source partly outside on the left and top, destination partly outside on the right.
    EXPECT_TRUE(DC().BitBlt(35, 5, 10, 10, &source.DC(), -4, -2, SRCCOPY));
    // Only the part that lies on both surfaces arrives: source x 0..5 (of -4..5) and
    // y 0..7 (of -2..7), landing at x 39 and y 7 onwards.
    EXPECT_EQ(At(39, 7), kBlue);
    EXPECT_EQ(At(39, 14), kBlue);
    EXPECT_EQ(At(38, 7), kBlack);
    EXPECT_EQ(At(39, 6), kBlack);
    EXPECT_EQ(At(39, 15), kBlack);
    EXPECT_EQ(CountAll(kBlue), 1 * 8);
}

TEST_F(DCTest, ClippingLimitsEveryOperation) {
    const RECT rcClip{10, 10, 20, 20};
    DC().SetClipRect(&rcClip);
    DC().Rectangle(0, 0, 40, 30);
    EXPECT_EQ(CountAll(kGreen), 100);
    const RECT rcAll{0, 0, 40, 30};
    DC().FillSolidRect(&rcAll, kBlue);
    EXPECT_EQ(CountAll(kBlue), 100);
    DC().SetClipRect(nullptr);
    DC().FillSolidRect(&rcAll, kBlue);
    EXPECT_EQ(CountAll(kBlue), 40 * 30);
}

TEST(DCOutsideSurface, ReadsAndDrawingOutsideTheSurfaceAreHarmless) {
    CCanvas canvas(4, 4);
    EXPECT_EQ(canvas.DC().GetPixel(4, 0), CLR_INVALID);
    EXPECT_EQ(canvas.DC().GetPixel(-1, 0), CLR_INVALID);
    canvas.DC().Rectangle(-100, -100, 100, 100);
    EXPECT_EQ(canvas.DC().GetPixel(3, 3), RGB(255, 255, 255));
    CDC unattached;
    EXPECT_FALSE(unattached.Rectangle(0, 0, 5, 5));
    EXPECT_EQ(unattached.GetPixel(0, 0), CLR_INVALID);
}

class TextTest : public ::testing::Test {
protected:
    TextTest() : m_canvas(200, 60) {
        m_font.CreatePointFont(200, "ＭＳ ゴシック");
        DC().SelectObject(&m_font);
        DC().SetTextColor(RGB(255, 255, 255));
        DC().SetBkMode(TRANSPARENT);
    }
    CDC& DC() { return m_canvas.DC(); }

    CCanvas m_canvas;
    CFont m_font;
};

TEST_F(TextTest, TextIsCentredAndClippedToItsRectangle) {
    ASSERT_NE(m_font.GetSafeHandle(), nullptr);
    RECT rc{50, 10, 150, 50};
    DC().DrawText("Start", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const RECT ink = InkBox(DC(), RECT{0, 0, 200, 60}, kBlack);
    ASSERT_FALSE(IsRectEmpty(&ink));
    EXPECT_GE(ink.left, rc.left);
    EXPECT_LE(ink.right, rc.right);
    EXPECT_GE(ink.top, rc.top);
    EXPECT_LE(ink.bottom, rc.bottom);
    const int nCentreTwice = ink.left + ink.right;
    EXPECT_NEAR(nCentreTwice, rc.left + rc.right, 2);  // within one pixel of the centre
}

TEST_F(TextTest, TextWiderThanItsRectangleStaysInsideIt) {
    RECT rc{80, 20, 120, 40};
    const char* pszLong = "A long line that cannot fit";
    ASSERT_GT(DC().GetTextExtent(pszLong, -1).cx, 3 * (rc.right - rc.left));
    DC().DrawText(pszLong, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const RECT ink = InkBox(DC(), RECT{0, 0, 200, 60}, kBlack);
    ASSERT_FALSE(IsRectEmpty(&ink));
    EXPECT_GE(ink.left, rc.left);
    EXPECT_LE(ink.right, rc.right);
    EXPECT_GE(ink.top, rc.top);
    EXPECT_LE(ink.bottom, rc.bottom);
    // Cut at both sides: the middle of the line, not its start, fills the rectangle, give or
    // take the gaps between letters.
    EXPECT_LE(ink.left, rc.left + 6);
    EXPECT_GE(ink.right, rc.right - 6);
}

TEST_F(TextTest, EmptyTextAndEmptyRectanglesShowNothing) {
    RECT rc{0, 0, 200, 60};
    DC().DrawText("", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RECT rcFlat{0, 30, 200, 30};
    DC().DrawText("Read", -1, &rcFlat, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RECT rcEmpty{0, 0, 0, 0};
    DC().DrawText("Read", -1, &rcEmpty, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(CountColour(DC(), rc, kBlack), 200 * 60);
}

TEST_F(TextTest, ALabelDrawnAgainLooksAsBeforeWhateverWasDrawnInBetween) {
    constexpr UINT kFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    // More labels than the platform keeps rendered.
    constexpr int kOtherLabels = 200;
    RECT rc{50, 10, 150, 50};
    DC().DrawText("Start", -1, &rc, kFormat);
    CCanvas again(200, 60);
    again.DC().SelectObject(&m_font);
    again.DC().SetBkMode(TRANSPARENT);
    // The colour belongs to the label: the same text in red is red.
    again.DC().SetTextColor(kRed);
    again.DC().DrawText("Start", -1, &rc, kFormat);
    EXPECT_GT(CountColour(again.DC(), rc, kRed), 0);
    for (int i = 0; i < kOtherLabels; ++i) {
        again.DC().DrawText(std::to_string(i).c_str(), -1, &rc, kFormat);
    }
    const RECT rcAll{0, 0, 200, 60};
    again.DC().FillSolidRect(&rcAll, kBlack);
    again.DC().SetTextColor(RGB(255, 255, 255));
    again.DC().DrawText("Start", -1, &rc, kFormat);
    int nDifferent = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            nDifferent += DC().GetPixel(x, y) != again.DC().GetPixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(nDifferent, 0);
}

TEST_F(TextTest, AnOpaqueBackgroundFillsBehindTheText) {
    DC().SetBkMode(OPAQUE);
    DC().SetBkColor(kBlue);
    RECT rc{0, 0, 200, 60};
    DC().DrawText("x", -1, &rc, DT_LEFT | DT_TOP | DT_SINGLELINE);
    EXPECT_EQ(DC().GetPixel(0, 0), kBlue);
    EXPECT_EQ(DC().GetPixel(199, 59), kBlack);
}

TEST_F(TextTest, AnAmpersandUnderlinesTheNextCharacterUnlessPrefixesAreOff) {
    RECT rc{0, 0, 200, 60};
    const SIZE size = DC().GetTextExtent("About", -1);
    DC().DrawText("&About", -1, &rc, DT_LEFT | DT_TOP | DT_SINGLELINE);
    const RECT ink = InkBox(DC(), rc, kBlack);
    // The same width as the plain word: the ampersand is not shown.
    EXPECT_LE(ink.right, size.cx + 1);

    testing_pixels::CCanvas plain(200, 60);
    plain.DC().SelectObject(&m_font);
    plain.DC().SetTextColor(RGB(255, 255, 255));
    plain.DC().SetBkMode(TRANSPARENT);
    plain.DC().DrawText("About", -1, &rc, DT_LEFT | DT_TOP | DT_SINGLELINE);
    const RECT plainInk = InkBox(plain.DC(), rc, kBlack);
    EXPECT_GT(ink.bottom, plainInk.bottom);  // the underline hangs below the letters

    testing_pixels::CCanvas literal(200, 60);
    literal.DC().SelectObject(&m_font);
    literal.DC().SetTextColor(RGB(255, 255, 255));
    literal.DC().DrawText("&About", -1, &rc, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_GT(InkBox(literal.DC(), rc, kBlack).right, ink.right);
}

TEST_F(TextTest, JapaneseTextDrawsItsOwnGlyphsNotReplacementBoxes) {
    // A face without kana would draw the same box for every character; distinct ink per
    // character shows real glyphs.
    const char* kChars[] = {"ぽ", "よ", "る", "ん"};
    std::vector<std::vector<COLORREF>> glyphs;
    for (const char* pszChar : kChars) {
        testing_pixels::CCanvas canvas(60, 60);
        canvas.DC().SelectObject(&m_font);
        canvas.DC().SetTextColor(RGB(255, 255, 255));
        RECT rc{0, 0, 60, 60};
        canvas.DC().DrawText(pszChar, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 60; ++x) {
                pixels.push_back(canvas.DC().GetPixel(x, y));
            }
        }
        EXPECT_GT(testing_pixels::CountPixels(canvas.DC(), rc,
                                              [](COLORREF px) { return px != RGB(0, 0, 0); }),
                  20)
            << pszChar;
        glyphs.push_back(pixels);
    }
    for (size_t i = 0; i < glyphs.size(); ++i) {
        for (size_t k = 0; k < i; ++k) {
            EXPECT_NE(glyphs[i], glyphs[k]) << kChars[i] << " looks like " << kChars[k];
        }
    }
}

TEST(Fonts, PointSizesConvertToPixelsAtTheLogicalDpi) {
    // The em is the size truncated to pixels; the line is a little taller.
    struct Case {
        int nDpi;
        int nPointSize;  // tenths of a point
        int nEm;
    };
    const Case kCases[] = {{96, 200, 26}, {96, 400, 53}, {192, 200, 53}, {192, 400, 106}};
    for (const Case& c : kCases) {
        CDpiScope dpi(c.nDpi);
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(c.nPointSize, "ＭＳ ゴシック"));
        CCanvas canvas(10, 10);
        canvas.DC().SelectObject(&font);
        TEXTMETRIC tm{};
        canvas.DC().GetTextMetrics(&tm);
        EXPECT_GE(tm.tmHeight, c.nEm) << c.nPointSize << " at " << c.nDpi << " DPI";
        EXPECT_LE(tm.tmHeight, c.nEm * 5 / 4) << c.nPointSize << " at " << c.nDpi << " DPI";
    }
}

TEST(Fonts, ThePGothicIsProportionalAndTheGothicFixedPitch) {
    const std::pair<const char*, bool> kFaces[] = {{"ＭＳ Ｐゴシック", true},
                                                   {"ＭＳ ゴシック", false}};
    for (const auto& [pszFace, bProportional] : kFaces) {
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(200, pszFace));
        CCanvas canvas(10, 10);
        canvas.DC().SelectObject(&font);
        const LONG cxNarrow = canvas.DC().GetTextExtent("iiii", -1).cx;
        const LONG cxWide = canvas.DC().GetTextExtent("MMMM", -1).cx;
        EXPECT_EQ(cxNarrow < cxWide, bProportional) << pszFace;
    }
}

}  // namespace
