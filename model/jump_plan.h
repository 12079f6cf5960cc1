// CJumpPlan: when to jump to win a run, for a player who plays by ear.
#pragma once

#include <vector>

#include "model/obstacle_course.h"

// Worked out once a run's obstacles stand, by playing the run ahead on a copy of their
// rectangles, tick by tick as the run plays (model/tick.h): a jump asked for between two
// ticks begins on the later one. Each obstacle in the way gets one jump, begun as early as
// still clears it, so that a press that comes a tick late often still clears it too; where
// that start leaves no way past the obstacles after it, later starts are tried, looking
// ahead over the whole run.
class CJumpPlan {
public:
    // A jump is asked for between ticks, and the first tick follows the set-up at once.
    static constexpr int kFirstJumpTick = 2;

    // The plan for course's obstacles and goal, with the jumper on the start line; empty
    // when no jump can bring the run to the goal.
    explicit CJumpPlan(CObstacleCourse& course);

    // Whether a jump must begin on tick nTick, the nTick-th step of the run.
    bool IsJumpTick(int nTick) const;

private:
    // How a run with the jumps begun on the given ticks ends: the tick, and the x of the
    // obstacle hit, if it is a hit.
    struct Outcome {
        bool bGoal;
        int nTick;
        int nObstacleX;
    };
    Outcome Play(const std::vector<int>& jumps);
    // Whether jumps, each clearing one obstacle up to the one at nClearedX, can be extended
    // to a winning run.
    bool Extend(std::vector<int>& jumps, int nClearedX);
    // The obstacle that rcJumper touches, or null.
    const RECT* HitBy(const RECT& rcJumper) const;

    std::vector<RECT> m_obstacles;
    int m_nGoal;
    CJumper m_jumper;
    int m_nJumpTicks;
    std::vector<int> m_ticks;
};
