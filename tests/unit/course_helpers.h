// Helpers that play runs through the rules in the order the game loop uses.
#pragma once

#include <set>

#include "model/obstacle_course.h"

namespace testing_course {

struct RunResult {
    int nTick = 0;  // the tick that ended the run, or 0 if it ran out of ticks
    bool bGoal = false;
    bool bHit = false;
};

// Puts an obstacle on the ground at x.
inline void AddObstacleAt(CObstacleCourse& course, int x) {
    CObstacle* p = course.m_obstacles.AddNew();
    p->SetPos(x, 5);
}

// Plays ticks from the start line: before tick k a jump is requested when k is in jumpTicks;
// then the jumper steps, and the goal is tested before the hit.
inline RunResult PlayRun(CObstacleCourse& course, const std::set<int>& jumpTicks,
                         int nMaxTicks = 1000) {
    course.ResetJumper();
    for (int k = 1; k <= nMaxTicks; ++k) {
        if (jumpTicks.count(k) != 0) {
            course.Jump();
        }
        course.StepJumper();
        if (course.IsGoal()) {
            return RunResult{k, true, false};
        }
        if (course.IsHit()) {
            return RunResult{k, false, true};
        }
    }
    return RunResult{};
}

}  // namespace testing_course
