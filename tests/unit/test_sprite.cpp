#include <gtest/gtest.h>

#include "model/sprite.h"

namespace {

TEST(Sprite, ANewObstacleIsATenByTenBodyAtTheOrigin) {
    CObstacle o;
    EXPECT_EQ(o.GetPos(), (POINT{0, 0}));
    EXPECT_EQ(o.GetRect(), (RECT{-5, -5, 5, 5}));
    EXPECT_EQ(o.GetWidth(), 10);
    EXPECT_EQ(o.GetHeight(), 10);
}

TEST(Sprite, OddSizesLoseAUnitBecauseTheHalfSizeTruncates) {
    CObstacle o;
    o.SetWidth(11);
    EXPECT_EQ(o.GetRect().left, -5);
    EXPECT_EQ(o.GetRect().right, 5);
    o.SetPos(-20, 7);
    o.SetHeight(3);
    EXPECT_EQ(o.GetRect(), (RECT{-25, 6, -15, 8}));
}

TEST(Sprite, StepsMoveByTheUnitStep) {
    CObstacle o;
    o.StepUpRight();
    EXPECT_EQ(o.GetPos(), (POINT{1, 1}));
    o.StepLeft();
    o.StepDown();
    EXPECT_EQ(o.GetPos(), (POINT{0, 0}));
    o.StepRight();
    o.StepUp();
    o.Move(-4, 9);
    EXPECT_EQ(o.GetPos(), (POINT{-3, 10}));
    o.SetX(8);
    o.SetY(-2);
    EXPECT_EQ(o.GetPos(), (POINT{8, -2}));
}

TEST(Sprite, BothFormsOfSetPosLeaveTheSameState) {
    CObstacle a, b;
    a.SetPos(123, -45);
    b.SetPos(POINT{123, -45});
    EXPECT_EQ(a.GetPos(), b.GetPos());
    EXPECT_EQ(a.GetRect(), b.GetRect());
}

struct DistanceCase {
    POINT a, b;
    int nDistance;
};

TEST(Sprite, DistanceIsTheTruncatedEuclideanDistance) {
    const DistanceCase cases[] = {
        {{100, 5}, {149, 5}, 49}, {{100, 5}, {150, 5}, 50}, {{0, 0}, {3, 4}, 5},
        {{0, 0}, {1, 1}, 1},      {{7, 7}, {7, 7}, 0},      {{0, 0}, {-2, -2}, 2},
    };
    for (const auto& c : cases) {
        CObstacle a, b;
        a.SetPos(c.a);
        b.SetPos(c.b);
        EXPECT_EQ(a.DistanceTo(&b), c.nDistance) << c.a.x << "," << c.a.y;
        EXPECT_EQ(b.DistanceTo(&a), c.nDistance);
    }
    CObstacle self;
    EXPECT_EQ(self.DistanceTo(&self), 0);
}

TEST(Sprite, DistanceBetweenFarBodiesDoesNotOverflow) {
    CObstacle a, b;
    a.SetPos(-2000000000, 0);
    b.SetPos(2000000000, 0);
    EXPECT_EQ(a.DistanceTo(&b), 2147483647);
    b.SetPos(-1999900000, 0);
    EXPECT_EQ(a.DistanceTo(&b), 100000);
}

// A body whose position is reported through the virtual slot, not its fields.
class CShiftedSprite : public CSprite {
public:
    POINT GetPos() override { return POINT{30, 40}; }
};

TEST(Sprite, DistanceAsksTheOtherBodyForItsPosition) {
    CObstacle origin;
    CShiftedSprite shifted;
    EXPECT_EQ(origin.DistanceTo(&shifted), 50);
}

}  // namespace
