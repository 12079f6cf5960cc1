#include <gtest/gtest.h>

#include <vector>

#include "model/jumper.h"

namespace {

std::vector<POINT> AdvanceTimes(CJumper& j, int n) {
    std::vector<POINT> centres;
    for (int i = 0; i < n; ++i) {
        j.Advance();
        centres.push_back(j.GetPos());
    }
    return centres;
}

TEST(Jumper, ResetLeavesTheBodyOnTheGroundLineAndRunningOnlyMovesX) {
    CJumper j;
    j.SetPos(70, 33);
    j.Jump();
    j.Reset();
    EXPECT_EQ(j.GetPos(), (POINT{0, 0}));
    EXPECT_FALSE(j.IsJumping());
    EXPECT_EQ(j.GetTick(), 0);
    j.Advance();
    EXPECT_EQ(j.GetPos(), (POINT{10, 0}));

    j.SetY(5);
    const auto centres = AdvanceTimes(j, 100);
    for (const POINT& pt : centres) {
        EXPECT_EQ(pt.y, 5);
    }
    EXPECT_EQ(centres.back().x, 1010);
}

TEST(Jumper, AJumpFollowsItsArcForSixTicksAndLandsAtRestingHeight) {
    CJumper j;
    j.SetY(5);
    j.Jump();
    const std::vector<POINT> expected = {{10, 0}, {20, 15}, {30, 20}, {40, 15}, {50, 1}, {60, 5}};
    const auto centres = AdvanceTimes(j, 6);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(centres[i], expected[i]) << "call " << i + 1;
    }
    EXPECT_FALSE(j.IsJumping());
    EXPECT_EQ(j.GetTick(), 6);  // the count stays after landing
}

TEST(Jumper, IsJumpingUntilTheLandingTick) {
    CJumper j;
    j.SetY(5);
    j.Jump();
    for (int i = 1; i <= 5; ++i) {
        j.Advance();
        EXPECT_TRUE(j.IsJumping()) << "call " << i;
    }
    j.Advance();
    EXPECT_FALSE(j.IsJumping());
    EXPECT_EQ(j.GetPos().y, 5);
}

TEST(Jumper, AJumpAtTheTopOfAnArcRestartsItFromTheBeginning) {
    CJumper j;
    j.SetY(5);
    j.Jump();
    AdvanceTimes(j, 3);
    EXPECT_EQ(j.GetPos().y, 20);
    j.Jump();
    const auto centres = AdvanceTimes(j, 6);
    const int heights[] = {0, 15, 20, 15, 1, 5};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(centres[i].y, heights[i]) << "call " << i + 1;
    }
    EXPECT_FALSE(j.IsJumping());
}

TEST(Jumper, TheNextResetClearsAJumpRequestedWhileIdle) {
    CJumper j;
    j.Jump();
    j.Reset();
    j.SetY(5);
    AdvanceTimes(j, 3);
    EXPECT_EQ(j.GetPos(), (POINT{30, 5}));
}

}  // namespace
