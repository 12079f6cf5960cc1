// Whole runs played through the rules, in the game loop's order.
#include <gtest/gtest.h>

#include <cstdlib>

#include "course_helpers.h"
#include "model/obstacle_course.h"

using testing_course::CScheduleSearch;
using testing_course::kGoalTick;
using testing_course::PlayRun;
using testing_course::RunResult;

namespace {

constexpr int kGoal = 500;

void SetUpRun(CObstacleCourse& course, unsigned seed) {
    course.m_nGoal = kGoal;
    course.ClearObstacles();
    std::srand(seed);
    course.ScatterObstacles(5);
}

TEST(RunDriver, ARunWithoutJumpsAlwaysEndsInAHitBeforeTheGoal) {
    CObstacleCourse course;
    for (unsigned seed = 0; seed < 200; ++seed) {
        SetUpRun(course, seed);
        const RunResult result = PlayRun(course, {});
        EXPECT_TRUE(result.bHit) << "seed " << seed;
        EXPECT_LT(course.m_jumper.GetPos().x, kGoal);
    }
}

TEST(RunDriver, EveryPlacedLayoutHasAWinningScheduleThatReachesTheGoalAtTickFiftyOne) {
    CObstacleCourse course;
    for (unsigned seed = 0; seed < 200; ++seed) {
        SetUpRun(course, seed);
        const auto jumps = CScheduleSearch(course).Find();
        ASSERT_TRUE(jumps.has_value()) << "no way through the layout of seed " << seed;
        const RunResult result = PlayRun(course, *jumps);
        EXPECT_TRUE(result.bGoal) << "seed " << seed;
        EXPECT_EQ(result.nTick, kGoalTick) << "seed " << seed;
        EXPECT_EQ(course.m_jumper.GetPos().x, 510);
    }
}

TEST(RunDriver, TheSearchFindsAJumpRestartedInTheAirAndKnowsABlockedCourse) {
    CObstacleCourse course;
    course.m_nGoal = kGoal;
    // Obstacles 30 apart: one jump clears the first, a second begun in the air the other.
    testing_course::AddObstacleAt(course, 150);
    testing_course::AddObstacleAt(course, 180);
    const auto jumps = CScheduleSearch(course).Find();
    ASSERT_TRUE(jumps.has_value());
    EXPECT_TRUE(PlayRun(course, *jumps).bGoal);
    // Four blocked ticks in a row cannot be cleared: an arc clears at most three before it
    // comes down or restarts from the ground line. The placement rule keeps runs from this.
    testing_course::AddObstacleAt(course, 165);
    EXPECT_FALSE(CScheduleSearch(course).Find().has_value());
}

}  // namespace
