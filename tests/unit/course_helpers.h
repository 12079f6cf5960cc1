// Helpers that play runs through the rules in the order the game loop uses.
#pragma once

#include <optional>
#include <set>
#include <utility>

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

// Plays ticks from the start line, with a jump asked for before tick k when k is in
// jumpTicks.
inline RunResult PlayRun(CObstacleCourse& course, const std::set<int>& jumpTicks,
                         int nMaxTicks = 1000) {
    course.ResetJumper();
    for (int k = 1; k <= nMaxTicks; ++k) {
        const TickOutcome outcome = course.Tick(jumpTicks.count(k) != 0);
        if (outcome != TickOutcome::kRunning) {
            return RunResult{k, outcome == TickOutcome::kGoal, outcome == TickOutcome::kHit};
        }
    }
    return RunResult{};
}

// With the goal at 500 a run without a hit passes it on tick 51.
constexpr int kGoalTick = 51;

// Searches for jump ticks that carry the jumper to the goal, trying each tick's choice
// (run on, or jump, also in the air) by replaying the run through the real rules. A state
// is the tick with the jumper's arc phase; states known to fail are not tried twice.
class CScheduleSearch {
public:
    explicit CScheduleSearch(CObstacleCourse& course) : m_course(course) {}

    std::optional<std::set<int>> Find() {
        std::set<int> jumps;
        if (Extend(jumps, 1)) {
            return jumps;
        }
        return std::nullopt;
    }

private:
    // Whether some choice of jumps from nTick on reaches the goal, given those before it.
    bool Extend(std::set<int>& jumps, int nTick) {
        const RunResult result = PlayRun(m_course, jumps, nTick - 1);
        if (result.bGoal) {
            return true;
        }
        if (result.bHit || nTick > kGoalTick) {
            return false;
        }
        const CJumper& jumper = m_course.m_jumper;
        const std::pair<int, int> state{nTick, jumper.IsJumping() ? jumper.GetTick() : -1};
        if (m_failed.count(state) != 0) {
            return false;
        }
        if (Extend(jumps, nTick + 1)) {
            return true;
        }
        jumps.insert(nTick);
        if (Extend(jumps, nTick + 1)) {
            return true;
        }
        jumps.erase(nTick);
        m_failed.insert(state);
        return false;
    }

    CObstacleCourse& m_course;
    std::set<std::pair<int, int>> m_failed;
};

}  // namespace testing_course
