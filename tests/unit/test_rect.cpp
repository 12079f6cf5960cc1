#include <gtest/gtest.h>

#include "platform/base/win_types.h"

namespace {

TEST(Rect, PointsOnTheLeftAndTopEdgesAreInsideAndOnTheRightAndBottomOutside) {
    const RECT rc{10, 20, 30, 40};
    EXPECT_TRUE(PtInRect(&rc, POINT{10, 20}));
    EXPECT_TRUE(PtInRect(&rc, POINT{29, 39}));
    EXPECT_FALSE(PtInRect(&rc, POINT{30, 25}));
    EXPECT_FALSE(PtInRect(&rc, POINT{15, 40}));
    EXPECT_FALSE(PtInRect(&rc, POINT{9, 25}));
    EXPECT_FALSE(PtInRect(&rc, POINT{15, 19}));
}

TEST(Rect, EmptyRectanglesContainNoPoint) {
    RECT rc{5, 5, 9, 9};
    SetRectEmpty(&rc);
    EXPECT_EQ(rc, (RECT{0, 0, 0, 0}));
    EXPECT_TRUE(IsRectEmpty(&rc));
    EXPECT_FALSE(PtInRect(&rc, POINT{0, 0}));
    const RECT rcFlat{0, 0, 10, 0};
    const RECT rcInverted{10, 0, 0, 10};
    EXPECT_TRUE(IsRectEmpty(&rcFlat));
    EXPECT_TRUE(IsRectEmpty(&rcInverted));
}

TEST(Rect, RectanglesThatShareOnlyAnEdgeOrCornerDoNotIntersect) {
    const RECT a{0, 0, 10, 10};
    const RECT right{10, 0, 20, 10};
    const RECT corner{10, 10, 20, 20};
    RECT rc{1, 2, 3, 4};
    EXPECT_FALSE(IntersectRect(&rc, &a, &right));
    EXPECT_TRUE(IsRectEmpty(&rc));
    EXPECT_EQ(rc, (RECT{0, 0, 0, 0}));
    EXPECT_FALSE(IntersectRect(&rc, &a, &corner));

    const RECT overlapping{9, 9, 20, 20};
    EXPECT_TRUE(IntersectRect(&rc, &a, &overlapping));
    EXPECT_EQ(rc, (RECT{9, 9, 10, 10}));
}

TEST(Rect, UnionIgnoresEmptyRectangles) {
    const RECT empty{0, 0, 0, 0};
    const RECT a{10, 10, 20, 20};
    const RECT b{-5, 15, 12, 30};
    RECT rc;
    EXPECT_TRUE(UnionRect(&rc, &empty, &a));
    EXPECT_EQ(rc, a);
    EXPECT_TRUE(UnionRect(&rc, &a, &b));
    EXPECT_EQ(rc, (RECT{-5, 10, 20, 30}));
    EXPECT_FALSE(UnionRect(&rc, &empty, &empty));
}

}  // namespace
