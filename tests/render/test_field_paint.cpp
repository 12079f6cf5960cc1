#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "dialog_layout.h"
#include "pixels.h"
#include "render/colours.h"
#include "render/game_field.h"
#include "tests/support/dpi_scope.h"

using testing_dpi::CDpiScope;
using testing_layout::CClientSurface;
using testing_pixels::CountColour;
using testing_pixels::CountPixels;
using testing_pixels::IsInkOf;

namespace {

const COLORREF kFace = GetSysColor(COLOR_BTNFACE);

RECT Inset(const RECT& rc, int n) {
    return RECT{rc.left + n, rc.top + n, rc.right - n, rc.bottom - n};
}

int CountInk(const CDC& dc, const RECT& rc, COLORREF crText, COLORREF crBackground) {
    return CountPixels(dc, rc, [=](COLORREF px) { return IsInkOf(px, crText, crBackground); });
}

void ExpectOutline(const CDC& dc, const RECT& rc, COLORREF cr) {
    EXPECT_EQ(dc.GetPixel(rc.left, rc.top), cr);
    EXPECT_EQ(dc.GetPixel(rc.right - 1, rc.top), cr);
    EXPECT_EQ(dc.GetPixel(rc.left, rc.bottom - 1), cr);
    EXPECT_EQ(dc.GetPixel(rc.right - 1, rc.bottom - 1), cr);
}

// Every screen is checked as laid out at the design DPI and at twice that.
class FieldPaintTest : public ::testing::TestWithParam<int> {
protected:
    FieldPaintTest() : m_dpi(GetParam()), m_client(testing_layout::ClientSize()) {
        testing_layout::LayOut(m_field);
    }

    CDC& Window() { return m_client.DC(); }

    CDpiScope m_dpi;
    CGameField m_field;
    CClientSurface m_client;
};

TEST_P(FieldPaintTest, TheLayoutHasTheDialogsShape) {
    const RECT& board = m_field.m_rcBoard;
    ASSERT_FALSE(IsRectEmpty(&board));
    RECT rc;
    for (const RECT* prc : {&m_field.m_rcTitle, &m_field.m_rcStart, &m_field.m_rcExit}) {
        EXPECT_TRUE(IntersectRect(&rc, prc, &board));
        EXPECT_EQ(rc, *prc) << "inside the board";
    }
    EXPECT_EQ(m_field.m_rcStart.top, m_field.m_rcExit.top);
    EXPECT_LT(m_field.m_rcStart.right, m_field.m_rcExit.left);
    EXPECT_GT(m_field.m_rcStop.top, board.bottom);
    EXPECT_EQ(m_field.m_rcStop.right, board.right);
}

TEST_P(FieldPaintTest, TheTitleScreenShowsTheTitleBoxAndTheStartAndExitButtons) {
    m_field.Paint(&Window(), "");
    const RECT& board = m_field.m_rcBoard;
    const RECT& title = m_field.m_rcTitle;

    EXPECT_EQ(Window().GetPixel(board.left, board.top), colours::kBlack);
    EXPECT_EQ(Window().GetPixel(board.right - 1, board.bottom - 1), colours::kBlack);
    ExpectOutline(Window(), title, colours::kGrey);
    EXPECT_EQ(Window().GetPixel(title.left + 2, title.top + 2), colours::kDarkGrey);
    EXPECT_GT(CountInk(Window(), Inset(title, 1), colours::kRed, colours::kDarkGrey), 100);
    for (const RECT* prc : {&m_field.m_rcStart, &m_field.m_rcExit}) {
        ExpectOutline(Window(), *prc, colours::kGrey);
        EXPECT_EQ(Window().GetPixel(prc->left + 1, prc->top + 1), colours::kDarkGrey);
        EXPECT_GT(CountInk(Window(), Inset(*prc, 1), colours::kYellow, colours::kDarkGrey), 20);
    }
    // Nothing of the playing screen: no Stop button below the board.
    const RECT& stop = m_field.m_rcStop;
    EXPECT_EQ(CountColour(Window(), stop, kFace),
              (stop.right - stop.left) * (stop.bottom - stop.top));
    // The black of the board is everywhere the boxes are not.
    EXPECT_EQ(Window().GetPixel(board.left + 2, (title.bottom + m_field.m_rcStart.top) / 2),
              colours::kBlack);
}

class PlayingScreenTest : public FieldPaintTest {
protected:
    PlayingScreenTest() {
        for (int x : {150, 230, 310, 390, 470}) {
            m_field.m_obstacles.AddNew()->SetPos(x, 5);
        }
        m_field.ResetJumper();
        for (int i = 0; i < 8; ++i) {
            m_field.StepJumper();
        }
        m_field.Jump();
        for (int i = 0; i < 3; ++i) {
            m_field.StepJumper();  // x 110, at the top of the arc
        }
        m_field.m_nMode = CFieldView::kModePlaying;
    }

    CFlipY Flip() const {
        CFlipY flip;
        const RECT& rc = m_field.m_rcBoard;
        flip.SetCentre((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        return flip;
    }
};

TEST_P(PlayingScreenTest, ObstaclesAreRedEdgedGreyAndTheJumperIsSolidRed) {
    m_field.Paint(&Window(), "");
    for (int i = 0; i < m_field.GetObstacleCount(); ++i) {
        const RECT rc = m_field.ToScreenRect(m_field.GetObstacleRect(i), Flip());
        ASSERT_FALSE(IsRectEmpty(&rc));
        ExpectOutline(Window(), rc, colours::kRed);
        EXPECT_EQ(CountColour(Window(), Inset(rc, 1), colours::kGrey),
                  (rc.right - rc.left - 2) * (rc.bottom - rc.top - 2));
    }
    const RECT jumper = m_field.ToScreenRect(m_field.GetJumperRect(), Flip());
    EXPECT_EQ(CountColour(Window(), jumper, colours::kRed),
              (jumper.right - jumper.left) * (jumper.bottom - jumper.top));
    // It is in the air: black board below it.
    EXPECT_EQ(Window().GetPixel(jumper.left + 1, jumper.bottom + 1), colours::kBlack);
    // No status during a game: nothing white anywhere.
    EXPECT_EQ(CountColour(Window(), m_field.m_rcBoard, colours::kWhite), 0);
}

TEST_P(PlayingScreenTest, TheStatusShowsInWhiteOverTheBoardsCentre) {
    m_field.Paint(&Window(), "FAIL!!");
    const RECT& board = m_field.m_rcBoard;
    const int cx = (board.left + board.right) / 2;
    const int cy = (board.top + board.bottom) / 2;
    const RECT centre{cx - 60, cy - 20, cx + 60, cy + 20};
    EXPECT_GT(CountInk(Window(), centre, colours::kWhite, colours::kBlack), 50);
}

TEST_P(PlayingScreenTest, TheStopButtonComesFromItsOwnBufferBelowTheBoard) {
    m_field.Paint(&Window(), "");
    const RECT& stop = m_field.m_rcStop;
    EXPECT_EQ(Window().GetPixel(stop.left, stop.top), colours::kDarkGrey);
    EXPECT_EQ(Window().GetPixel(stop.right - 1, stop.bottom - 1), colours::kDarkGrey);
    EXPECT_GT(CountInk(Window(), stop, colours::kYellow, colours::kDarkGrey), 20);
    EXPECT_EQ(m_field.m_bmpStop.GetSize().cx, stop.right);
    EXPECT_EQ(m_field.m_bmpStop.GetSize().cy, stop.bottom);

    // Back on the title screen the Stop area is left alone, so what was there stays until
    // the whole window is erased.
    m_field.m_nMode = CFieldView::kModeTitle;
    const RECT all{0, 0, testing_layout::ClientSize().cx, testing_layout::ClientSize().cy};
    Window().FillSolidRect(&all, kFace);
    m_field.Paint(&Window(), "");
    EXPECT_EQ(CountColour(Window(), stop, kFace),
              (stop.right - stop.left) * (stop.bottom - stop.top));
}

TEST_P(PlayingScreenTest, OnlyTheBoardRectangleOfTheBoardBufferReachesTheWindow) {
    m_field.ResetJumper();  // partly left of the board, as at the start of a game
    m_field.Paint(&Window(), "");
    const RECT& board = m_field.m_rcBoard;
    const RECT jumper = m_field.ToScreenRect(m_field.GetJumperRect(), Flip());
    ASSERT_LT(jumper.left, board.left);
    // Drawn into the buffer ...
    EXPECT_EQ(m_field.m_dcBoard.GetPixel(jumper.left, jumper.top), colours::kRed);
    // ... but the window outside the board keeps its face colour all round.
    EXPECT_EQ(Window().GetPixel(jumper.left, jumper.top), kFace);
    EXPECT_EQ(Window().GetPixel(board.left, jumper.top), colours::kRed);
    const SIZE client = testing_layout::ClientSize();
    int nOutside = 0;
    int nFace = 0;
    for (int y = 0; y < client.cy; ++y) {
        for (int x = 0; x < client.cx; ++x) {
            const POINT pt{x, y};
            if (!PtInRect(&board, pt) && !PtInRect(&m_field.m_rcStop, pt)) {
                ++nOutside;
                nFace += Window().GetPixel(x, y) == kFace ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(nFace, nOutside);
}

INSTANTIATE_TEST_SUITE_P(Dpi, FieldPaintTest, ::testing::Values(96, 192));
INSTANTIATE_TEST_SUITE_P(Dpi, PlayingScreenTest, ::testing::Values(96, 192));

TEST(FieldPaintAtTwiceTheDpi, LabelsAreRenderedLargerWithSharpEdgesNotMagnified) {
    // Per label, how much solid ink the text has, and how much anti-aliased fringe per solid
    // pixel. Rendered at twice the size the fringe stays a pixel wide round twice as thick
    // strokes, so it shrinks against the solid ink; a magnified small text keeps or widens it.
    struct Ink {
        int nSolid;
        double dFringe;
    };
    const auto measure = [](int nDpi) {
        CDpiScope dpi(nDpi);
        CGameField field;
        testing_layout::LayOut(field);
        CClientSurface client(testing_layout::ClientSize());
        field.Paint(&client.DC(), "");
        std::vector<Ink> inks;
        for (const auto& [rc, crInk] : {std::make_pair(field.m_rcTitle, colours::kRed),
                                        std::make_pair(field.m_rcStart, colours::kYellow)}) {
            const RECT rcInside = Inset(rc, 1);
            const int nSolid = CountColour(client.DC(), rcInside, crInk);
            const int nAny = CountPixels(client.DC(), rcInside,
                                         [](COLORREF px) { return px != colours::kDarkGrey; });
            inks.push_back(Ink{nSolid, static_cast<double>(nAny - nSolid) / nSolid});
        }
        return inks;
    };
    const std::vector<Ink> small = measure(96);
    const std::vector<Ink> large = measure(192);
    for (size_t i = 0; i < small.size(); ++i) {
        EXPECT_GE(large[i].nSolid, 3 * small[i].nSolid) << "label " << i;
        EXPECT_LT(large[i].dFringe, 0.75 * small[i].dFringe) << "label " << i;
    }
}

TEST(FieldPaintWorkedExample, TheStartingJumperIsCutAtTheBoardsLeftEdge) {
    CGameField field;
    const RECT board{10, 10, 510, 210};
    testing_board::SetUpBoard(field, board);
    field.m_rcStop = RECT{440, 215, 510, 240};
    field.ResetJumper();
    field.m_nMode = CFieldView::kModePlaying;
    CClientSurface client(SIZE{560, 250});
    field.Paint(&client.DC(), "");

    // In the buffer the jumper covers (5, 190) to (14, 209).
    EXPECT_EQ(CountColour(field.m_dcBoard, RECT{5, 190, 15, 210}, colours::kRed), 200);
    EXPECT_EQ(field.m_dcBoard.GetPixel(4, 195), CLR_INVALID == 0 ? 0 : colours::kBlack);
    EXPECT_EQ(field.m_dcBoard.GetPixel(15, 195), colours::kBlack);
    EXPECT_EQ(field.m_dcBoard.GetPixel(10, 189), colours::kBlack);
    // In the window only x 10 ... 14 of it.
    EXPECT_EQ(CountColour(client.DC(), RECT{10, 190, 15, 210}, colours::kRed), 100);
    EXPECT_EQ(CountColour(client.DC(), RECT{5, 190, 10, 210}, kFace), 100);
    EXPECT_EQ(CountColour(client.DC(), RECT{0, 0, 560, 250}, colours::kRed), 100);
}

TEST(FieldPaintBuffers, EachBufferIsMadeOnceByTheFirstPaintThatNeedsIt) {
    CGameField field;
    testing_board::SetUpBoard(field, RECT{0, 0, 100, 50});
    field.m_rcStop = RECT{50, 55, 100, 70};
    CClientSurface client(SIZE{120, 80});
    field.Paint(&client.DC(), "");
    EXPECT_EQ(field.m_bmpBoard.GetSize().cx, 100);
    EXPECT_EQ(field.m_bmpBoard.GetSize().cy, 50);
    EXPECT_FALSE(field.m_bRebuildBoard);
    // The title screen draws no Stop button, so it holds no buffer for one.
    EXPECT_TRUE(field.m_bRebuildStop);
    EXPECT_EQ(field.m_bmpStop.GetSize().cx, 0);

    field.SetBoardRect(RECT{0, 0, 110, 60});
    field.m_nMode = CFieldView::kModePlaying;
    field.Paint(&client.DC(), "");
    EXPECT_EQ(field.m_bmpBoard.GetSize().cx, 100);
    EXPECT_EQ(field.m_bmpStop.GetSize().cx, 100);
    EXPECT_FALSE(field.m_bRebuildStop);
}

TEST(FieldPaintBuffers, AnEmptyRectangleAtTheFirstPaintLeavesItsBufferUnusableButHarmless) {
    CGameField field;
    testing_board::SetUpBoard(field, RECT{0, 0, 100, 50});
    CClientSurface client(SIZE{120, 80});
    field.m_nMode = CFieldView::kModePlaying;
    field.Paint(&client.DC(), "");  // the Stop area is still empty
    EXPECT_EQ(field.m_bmpStop.GetSize().cx, 0);
    field.m_rcStop = RECT{50, 55, 100, 70};
    field.Paint(&client.DC(), "");
    EXPECT_EQ(field.m_bmpStop.GetSize().cx, 0);
    EXPECT_EQ(CountColour(client.DC(), field.m_rcStop, colours::kDarkGrey), 0);
}

}  // namespace
