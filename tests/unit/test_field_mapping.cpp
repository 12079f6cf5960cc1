#include <gtest/gtest.h>

#include "render/game_field.h"
#include "render/world_map.h"
#include "tests/support/board_setup.h"

namespace {

CFlipY FlipFor(const RECT& rcBoard) {
    CFlipY flip;
    flip.SetCentre((rcBoard.left + rcBoard.right) / 2, (rcBoard.top + rcBoard.bottom) / 2);
    return flip;
}

TEST(WorldMap, TheWorkedExampleMapsTheJumperAndAnObstacle) {
    CGameField field;
    const RECT rcBoard{10, 10, 510, 210};
    testing_board::SetUpBoard(field, rcBoard);
    const CFlipY flip = FlipFor(rcBoard);
    EXPECT_EQ(flip.m_ptCentre.y, 110.0);
    EXPECT_EQ(field.ToScreenRect(RECT{-5, 0, 5, 10}, flip), (RECT{5, 190, 15, 210}));
    EXPECT_EQ(field.ToScreenRect(RECT{245, 0, 255, 10}, flip), (RECT{255, 190, 265, 210}));
    // The ends of the world land on the board's edges: y = 100 at the top, x = 500 right.
    EXPECT_EQ(field.ToScreenRect(RECT{0, 0, 500, 100}, flip), rcBoard);
}

TEST(WorldMap, ValuesBelowTheRangeTruncateTowardZero) {
    CWorldMap map;
    map.m_world.xTo = 500;
    map.m_screen.xFrom = 20;
    map.m_screen.xTo = 353;            // width 333
    EXPECT_EQ(map.ToScreenX(-3), 19);  // -999 / 500 is -1.998, truncated to -1
    EXPECT_EQ(map.ToScreenX(3), 21);   // 999 / 500 = 1.998 -> 1
    EXPECT_EQ(map.ToScreenX(500), 353);
}

TEST(WorldMap, AnOddCentreSumRoundsTheFlipTowardZero) {
    CGameField field;
    const RECT rcBoard{0, 0, 500, 101};
    testing_board::SetUpBoard(field, rcBoard);
    const CFlipY flip = FlipFor(rcBoard);
    EXPECT_EQ(flip.m_ptCentre.y, 50.0);
    const RECT rc = field.ToScreenRect(RECT{0, 0, 10, 10}, flip);
    EXPECT_EQ(rc.bottom, 100);  // one pixel above the board's bottom edge
    EXPECT_EQ(rc.top, 90);      // (10 * 101) / 100 = 10
}

TEST(WorldMap, AReversedRangeDoesNotMirror) {
    CWorldMap map;
    map.m_world.xFrom = 500;
    map.m_world.xTo = 0;
    map.m_world.yFrom = 0;
    map.m_world.yTo = 100;
    map.m_screen.xFrom = 10;
    map.m_screen.xTo = 510;
    map.m_screen.yFrom = 200;
    map.m_screen.yTo = 0;
    EXPECT_EQ(map.m_world.Width(), 500);
    EXPECT_EQ(map.ToScreenX(500), 10);
    EXPECT_EQ(map.ToScreenX(600), 110);
    EXPECT_EQ(map.ToScreenY(0), 200);
    EXPECT_EQ(map.ToScreenY(50), 300);
}

TEST(WorldMap, AnEmptyWorldRectangleMapsToAnEmptyRectangleAtTheBottomLeft) {
    CGameField field;
    const RECT rcBoard{10, 10, 510, 210};
    testing_board::SetUpBoard(field, rcBoard);
    const RECT rc = field.ToScreenRect(RECT{0, 0, 0, 0}, FlipFor(rcBoard));
    EXPECT_EQ(rc, (RECT{10, 210, 10, 210}));
    EXPECT_TRUE(IsRectEmpty(&rc));
}

TEST(FieldView, ANewFieldHasGoalOneHundredTitleModeAndNoAreas) {
    CGameField field;
    EXPECT_EQ(field.m_nGoal, 100);
    EXPECT_EQ(field.m_nMode, CFieldView::kModeTitle);
    EXPECT_EQ(field.m_strTitle, "");
    for (const RECT* prc : {&field.m_rcBoard, &field.m_rcTitle, &field.m_rcStart, &field.m_rcStop,
                            &field.m_rcExit, &field.m_rcRead}) {
        EXPECT_EQ(*prc, (RECT{0, 0, 0, 0}));
    }
    for (const POINT pt : {POINT{0, 0}, POINT{-1, -1}, POINT{5, 5}}) {
        EXPECT_FALSE(field.HitStart(pt));
        EXPECT_FALSE(field.HitExit(pt));
        EXPECT_FALSE(field.HitStop(pt));
    }
}

TEST(FieldView, HitTestsIncludeTheLeftAndTopEdgesOnly) {
    CGameField field;
    field.m_rcStart = RECT{93, 161, 168, 195};
    field.m_rcExit = RECT{207, 161, 282, 195};
    field.m_rcStop = RECT{321, 221, 396, 255};
    struct Area {
        const RECT& rc;
        BOOL (CFieldView::*pfnHit)(POINT) const;
    };
    const Area areas[] = {{field.m_rcStart, &CFieldView::HitStart},
                          {field.m_rcExit, &CFieldView::HitExit},
                          {field.m_rcStop, &CFieldView::HitStop}};
    for (const Area& area : areas) {
        const RECT& rc = area.rc;
        auto hit = [&](LONG x, LONG y) { return (field.*area.pfnHit)(POINT{x, y}); };
        EXPECT_TRUE(hit(rc.left, rc.top));
        EXPECT_TRUE(hit(rc.right - 1, rc.bottom - 1));
        EXPECT_FALSE(hit(rc.right, rc.top));
        EXPECT_FALSE(hit(rc.left, rc.bottom));
        EXPECT_FALSE(hit(rc.left - 1, rc.top));
        EXPECT_FALSE(hit(rc.left, rc.top - 1));
    }
    // The areas do not answer for each other.
    EXPECT_FALSE(field.HitExit(POINT{93, 161}));
    EXPECT_FALSE(field.HitStart(POINT{321, 221}));
}

TEST(FieldView, ResetViewEmptiesTheLayoutAndReturnsToTheTitle) {
    CGameField field;
    field.SetBoardRect(RECT{1, 2, 3, 4});
    field.m_rcStop = RECT{5, 6, 7, 8};
    field.SetTitle("ぽよるん");
    field.m_nMode = CFieldView::kModePlaying;
    field.ResetView();
    EXPECT_EQ(field.m_rcBoard, (RECT{0, 0, 0, 0}));
    EXPECT_EQ(field.m_rcStop, (RECT{0, 0, 0, 0}));
    EXPECT_EQ(field.m_strTitle, "");
    EXPECT_EQ(field.m_nMode, CFieldView::kModeTitle);
    EXPECT_TRUE(IsRectEmpty(&field.m_rcRead));
}

}  // namespace
