#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "course_helpers.h"
#include "model/obstacle_course.h"

using testing_course::AddObstacleAt;
using testing_course::PlayRun;

namespace {

class CourseTest : public ::testing::Test {
protected:
    CObstacleCourse m_course;

    void PutJumperAt(int x, int y) { m_course.m_jumper.SetPos(x, y); }

    std::vector<int> ObstacleXs() {
        std::vector<int> xs;
        for (int i = 0; i < m_course.GetObstacleCount(); ++i) {
            const RECT rc = m_course.GetObstacleRect(i);
            EXPECT_EQ(rc.top, 0);
            EXPECT_EQ(rc.bottom, 10);
            xs.push_back(rc.left + 5);
        }
        return xs;
    }
};

TEST_F(CourseTest, ANewCourseIsEmptyWithTheGoalAtOneHundred) {
    EXPECT_EQ(m_course.m_nGoal, 100);
    EXPECT_EQ(m_course.GetObstacleCount(), 0);
    EXPECT_FALSE(m_course.IsHit());
    EXPECT_EQ(m_course.GetObstacleRect(0), (RECT{0, 0, 0, 0}));
}

TEST_F(CourseTest, ResetJumperStandsItOnTheStartLine) {
    m_course.Jump();
    m_course.StepJumper();
    m_course.ResetJumper();
    EXPECT_EQ(m_course.GetJumperRect(), (RECT{-5, 0, 5, 10}));
    EXPECT_FALSE(m_course.m_jumper.IsJumping());
}

TEST_F(CourseTest, FiveObstaclesAreScatteredOnTheGroundAtLeastFiftyApart) {
    m_course.m_nGoal = 500;
    for (unsigned seed = 0; seed < 300; ++seed) {
        m_course.ClearObstacles();
        std::srand(seed);
        m_course.ScatterObstacles(5);
        const std::vector<int> xs = ObstacleXs();
        ASSERT_EQ(xs.size(), 5u) << "seed " << seed;
        for (size_t i = 0; i < xs.size(); ++i) {
            EXPECT_GE(xs[i], 100);
            EXPECT_LE(xs[i], 499);
            for (size_t k = 0; k < i; ++k) {
                EXPECT_GE(std::abs(xs[i] - xs[k]), 50) << "seed " << seed;
            }
        }
    }
}

TEST_F(CourseTest, PlaceObstaclesSeedsFromTheClock) {
    m_course.m_nGoal = 500;
    m_course.PlaceObstacles(5);
    EXPECT_EQ(m_course.GetObstacleCount(), 5);
    m_course.ClearObstacles();
    m_course.PlaceObstacles(0);
    EXPECT_EQ(m_course.GetObstacleCount(), 0);
}

TEST_F(CourseTest, AGoalThatLeavesNoRoomPlacesNothing) {
    for (int nGoal : {100, 0, -50}) {
        m_course.m_nGoal = nGoal;
        m_course.PlaceObstacles(5);
        EXPECT_EQ(m_course.GetObstacleCount(), 0) << "goal " << nGoal;
    }
}

TEST_F(CourseTest, AFullCourseStopsPlacingInsteadOfLoopingForEver) {
    // 100 ... 199 always takes a second obstacle fifty from the first, never a third.
    m_course.m_nGoal = 200;
    for (unsigned seed = 0; seed < 20; ++seed) {
        m_course.ClearObstacles();
        std::srand(seed);
        m_course.ScatterObstacles(5);
        const std::vector<int> xs = ObstacleXs();
        ASSERT_EQ(xs.size(), 2u) << "seed " << seed;
        EXPECT_GE(std::abs(xs[0] - xs[1]), 50);
    }
    // A course with room for exactly one.
    m_course.m_nGoal = 101;
    m_course.ClearObstacles();
    m_course.ScatterObstacles(3);
    EXPECT_EQ(ObstacleXs(), std::vector<int>{100});
}

TEST_F(CourseTest, ACallThatFitsDrawsExactlyAsTheUnguardedRuleWould) {
    // Re-derive the layout from the same seed with the plain rule: draw, reject if closer
    // than 50 to an earlier one, draw again.
    m_course.m_nGoal = 500;
    for (unsigned seed : {3u, 77u, 12345u}) {
        m_course.ClearObstacles();
        std::srand(seed);
        m_course.ScatterObstacles(5);
        std::srand(seed);
        std::vector<int> expected;
        while (expected.size() < 5) {
            const int x = std::rand() % 400 + 100;
            bool bFar = true;
            for (int other : expected) {
                bFar = bFar && std::abs(x - other) >= 50;
            }
            if (bFar) {
                expected.push_back(x);
            }
        }
        EXPECT_EQ(ObstacleXs(), expected) << "seed " << seed;
    }
}

TEST_F(CourseTest, BodiesThatShareOnlyAnEdgeDoNotCollide) {
    AddObstacleAt(m_course, 150);
    PutJumperAt(140, 5);
    EXPECT_FALSE(m_course.IsHit());
    PutJumperAt(141, 5);
    EXPECT_TRUE(m_course.IsHit());
    PutJumperAt(160, 5);
    EXPECT_FALSE(m_course.IsHit());
    PutJumperAt(159, 5);
    EXPECT_TRUE(m_course.IsHit());
    PutJumperAt(150, 15);
    EXPECT_FALSE(m_course.IsHit());
    PutJumperAt(150, 14);
    EXPECT_TRUE(m_course.IsHit());
    PutJumperAt(150, -5);
    EXPECT_FALSE(m_course.IsHit());
}

TEST_F(CourseTest, RunningWithoutJumpingMeetsAnObstacleAtXOneFiftyFive) {
    m_course.m_nGoal = 500;
    AddObstacleAt(m_course, 155);
    const auto result = PlayRun(m_course, {});
    EXPECT_TRUE(result.bHit);
    EXPECT_EQ(result.nTick, 15);
}

// For a jump whose first tick is j, the tick at which the run is hit, or 0 when it passes.
int HitTickForJumpAt(CObstacleCourse& course, int j) {
    const auto result = PlayRun(course, {j}, 40);
    return result.bHit ? result.nTick : 0;
}

TEST_F(CourseTest, OnlyJumpsStartedOnTicksTwelveToFourteenClearAnObstacleAtOneFifty) {
    m_course.m_nGoal = 500;
    AddObstacleAt(m_course, 150);
    for (int j = 1; j <= 20; ++j) {
        const int nExpected = (j >= 12 && j <= 14) ? 0 : 15;
        EXPECT_EQ(HitTickForJumpAt(m_course, j), nExpected) << "jump at tick " << j;
    }
}

TEST_F(CourseTest, OnlyJumpsStartedOnTicksThirteenAndFourteenClearAnObstacleAtOneFiftyFive) {
    m_course.m_nGoal = 500;
    AddObstacleAt(m_course, 155);
    for (int j = 1; j <= 20; ++j) {
        int nExpected = 15;
        if (j == 13 || j == 14) {
            nExpected = 0;
        } else if (j == 12) {
            nExpected = 16;
        }
        EXPECT_EQ(HitTickForJumpAt(m_course, j), nExpected) << "jump at tick " << j;
    }
}

TEST_F(CourseTest, TheGoalIsPassedOnlyBeyondItsDistance) {
    m_course.m_nGoal = 500;
    PutJumperAt(500, 5);
    EXPECT_FALSE(m_course.IsGoal());
    PutJumperAt(501, 5);
    EXPECT_TRUE(m_course.IsGoal());
    PutJumperAt(510, 5);
    EXPECT_TRUE(m_course.IsGoal());
}

TEST_F(CourseTest, ATickThatBothHitsAnObstacleAndPassesTheGoalIsAGoal) {
    m_course.m_nGoal = 505;
    AddObstacleAt(m_course, 510);
    const auto result = PlayRun(m_course, {});
    EXPECT_TRUE(result.bGoal);
    EXPECT_EQ(result.nTick, 51);
    EXPECT_TRUE(m_course.IsHit());
}

TEST_F(CourseTest, ObstacleRectanglesOutsideTheListAreEmpty) {
    AddObstacleAt(m_course, 200);
    EXPECT_EQ(m_course.GetObstacleRect(0), (RECT{195, 0, 205, 10}));
    EXPECT_EQ(m_course.GetObstacleRect(-1), (RECT{0, 0, 0, 0}));
    EXPECT_EQ(m_course.GetObstacleRect(m_course.GetObstacleCount()), (RECT{0, 0, 0, 0}));
    m_course.ClearObstacles();
    EXPECT_EQ(m_course.GetObstacleRect(0), (RECT{0, 0, 0, 0}));
}

}  // namespace
