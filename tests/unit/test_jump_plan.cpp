#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "course_helpers.h"
#include "model/jump_plan.h"

namespace {

using testing_course::AddObstacleAt;
using testing_course::PlayRun;

constexpr int kGoal = 500;
constexpr int kObstacles = 5;
constexpr unsigned kLayouts = 5000;

// Jumps exactly where the plan says, as a player who jumps at every cue and at no other time,
// and checks what the cues promise: a won run, one jump per obstacle, and an obstacle still
// ahead whenever a cue sounds (after the tick before its jump). A player who presses a whole
// tick after each cue, some 300 ms, wins too: the time a person needs to react fits.
void ExpectThePlanWins(CObstacleCourse& course, const char* pszLayout) {
    const CJumpPlan plan(course);
    std::set<int> jumps;
    for (int nTick = 1; nTick <= testing_course::kGoalTick; ++nTick) {
        if (plan.IsJumpTick(nTick)) {
            jumps.insert(nTick);
        }
    }
    EXPECT_TRUE(PlayRun(course, jumps).bGoal) << pszLayout;
    std::set<int> lateJumps;
    for (const int nTick : jumps) {
        lateJumps.insert(nTick + 1);
    }
    EXPECT_TRUE(PlayRun(course, lateJumps).bGoal) << pszLayout << ", a tick late";
    EXPECT_EQ(static_cast<int>(jumps.size()), course.GetObstacleCount()) << pszLayout;
    for (const int nTick : jumps) {
        const int xJumperLeft = (nTick - 1) * CJumper::kRunPace - 5;
        bool bAhead = false;
        for (int i = 0; i < course.GetObstacleCount(); ++i) {
            bAhead = bAhead || course.GetObstacleRect(i).right > xJumperLeft;
        }
        EXPECT_TRUE(bAhead) << pszLayout << ": a cue before tick " << nTick;
        EXPECT_GE(nTick, CJumpPlan::kFirstJumpTick) << pszLayout;
    }
}

TEST(JumpPlan, JumpingAtEveryCueOrATickAfterItWinsEveryLayoutThatTheGameCanPlace) {
    for (unsigned nSeed = 1; nSeed <= kLayouts; ++nSeed) {
        CObstacleCourse course;
        course.m_nGoal = kGoal;
        std::srand(nSeed);
        course.ScatterObstacles(kObstacles);
        ExpectThePlanWins(course, ("seed " + std::to_string(nSeed)).c_str());
        if (HasFailure()) {
            return;
        }
    }
}

TEST(JumpPlan, JumpingAtEveryCueOrATickAfterItWinsTheHardestLayoutsAndNoCueSoundsAlone) {
    const struct {
        const char* pszName;
        std::vector<int> xs;
    } kLayoutsByHand[] = {
        {"none", {}},
        {"the closest the rules allow", {100, 150, 200, 250, 300}},
        {"the closest, between ticks", {105, 155, 205, 255, 305}},
        {"at the first place allowed", {100}},
        {"just before the goal", {449, 499}},
        {"spread out", {120, 230, 330, 410, 499}},
    };
    for (const auto& layout : kLayoutsByHand) {
        CObstacleCourse course;
        course.m_nGoal = kGoal;
        for (const int x : layout.xs) {
            AddObstacleAt(course, x);
        }
        ExpectThePlanWins(course, layout.pszName);
    }
}

}  // namespace
