#include <gtest/gtest.h>

#include "pixels.h"
#include "render/colours.h"
#include "render/rect_painter.h"

using testing_pixels::CCanvas;
using testing_pixels::CountColour;
using testing_pixels::InkBox;

namespace {

TEST(RectPainter, FillRectRestoresPenAndBrushAndLeavesBlackBackgroundAndCopyMode) {
    CCanvas canvas(30, 30);
    CDC& dc = canvas.DC();
    CPen pen;
    CBrush brush;
    pen.CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    brush.CreateSolidBrush(RGB(4, 5, 6));
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.SetBkColor(RGB(9, 9, 9));

    CRectPainter painter(&dc);
    painter.FillRect(RECT{5, 5, 15, 15}, colours::kRed, colours::kGrey);

    EXPECT_EQ(dc.GetCurrentPen(), &pen);
    EXPECT_EQ(dc.GetCurrentBrush(), &brush);
    EXPECT_EQ(dc.GetBkColor(), colours::kBlack);
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(dc.GetPixel(5, 5), colours::kRed);
    EXPECT_EQ(dc.GetPixel(10, 10), colours::kGrey);
    EXPECT_EQ(dc.GetPixel(15, 10), colours::kBlack);
}

TEST(RectPainter, EmptyRectanglesShowNeitherBoxNorLabel) {
    CCanvas canvas(30, 30);
    CRectPainter painter(&canvas.DC());
    painter.FillRect(RECT{0, 0, 0, 0}, colours::kGrey, colours::kDarkGrey);
    painter.DrawLabel(RECT{0, 0, 0, 0}, "Read", 200, colours::kYellow);
    painter.FillRect(RECT{3, 3, 3, 20}, colours::kGrey, colours::kDarkGrey);
    EXPECT_EQ(CountColour(canvas.DC(), RECT{0, 0, 30, 30}, colours::kBlack), 900);
}

TEST(RectPainter, DrawLabelRestoresFontAndTextColourAndLeavesTransparentMode) {
    CCanvas canvas(120, 40, colours::kDarkGrey);
    CDC& dc = canvas.DC();
    CFont* pFontBefore = dc.GetCurrentFont();
    dc.SetTextColor(RGB(7, 7, 7));
    dc.SetBkColor(RGB(200, 0, 200));
    dc.SetBkMode(OPAQUE);

    CRectPainter painter(&dc);
    painter.DrawLabel(RECT{10, 5, 110, 35}, "Stop", 200, colours::kYellow);

    EXPECT_EQ(dc.GetCurrentFont(), pFontBefore);
    EXPECT_EQ(dc.GetTextColor(), RGB(7, 7, 7));
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
    // Transparent: no background box, only ink on the dark grey.
    EXPECT_EQ(CountColour(dc, RECT{0, 0, 120, 40}, RGB(200, 0, 200)), 0);
    const int nInk = testing_pixels::CountPixels(dc, RECT{10, 5, 110, 35}, [](COLORREF px) {
        return testing_pixels::IsInkOf(px, colours::kYellow, colours::kDarkGrey);
    });
    EXPECT_GT(nInk, 30);
}

TEST(RectPainter, ALabelIsCentredOnItsRectangleAndNeverTouchesPixelsOutside) {
    for (const char* pszText :
         {"Start", "GOAL!!", "ぽよるん", "A label far too wide for the box"}) {
        CCanvas canvas(300, 80);
        const RECT rc{100, 20, 200, 60};
        CRectPainter painter(&canvas.DC());
        painter.DrawLabel(rc, pszText, 200, colours::kWhite);
        const RECT ink = InkBox(canvas.DC(), RECT{0, 0, 300, 80}, colours::kBlack);
        ASSERT_FALSE(IsRectEmpty(&ink)) << pszText;
        EXPECT_GE(ink.left, rc.left) << pszText;
        EXPECT_LE(ink.right, rc.right) << pszText;
        EXPECT_GE(ink.top, rc.top) << pszText;
        EXPECT_LE(ink.bottom, rc.bottom) << pszText;
        EXPECT_NEAR(ink.left + ink.right, rc.left + rc.right, 2) << pszText;
    }
}

}  // namespace
