#include "model/jump_plan.h"

#include <algorithm>
#include <climits>

namespace {

// How many ticks a jump lasts, landing included: only a jump begun within that many ticks
// before a hit can change it. Counted on a jumper of the course's own kind.
int JumpTicks() {
    CJumper jumper;
    jumper.Jump();
    int nTicks = 0;
    do {
        jumper.Advance();
        ++nTicks;
    } while (jumper.IsJumping());
    return nTicks;
}

int CentreX(const RECT& rc) {
    return (rc.left + rc.right) / 2;
}

}  // namespace

CJumpPlan::CJumpPlan(CObstacleCourse& course) : m_nJumpTicks(JumpTicks()) {
    m_course.m_nGoal = course.m_nGoal;
    for (int i = 0; i < course.GetObstacleCount(); ++i) {
        const RECT rc = course.GetObstacleRect(i);
        if (!IsRectEmpty(&rc)) {
            m_course.m_obstacles.AddNew()->SetPos(CentreX(rc), (rc.top + rc.bottom) / 2);
        }
    }
    std::vector<int> jumps;
    if (Extend(jumps, INT_MIN)) {
        m_ticks = jumps;
    }
}

bool CJumpPlan::IsJumpTick(int nTick) const {
    return std::binary_search(m_ticks.begin(), m_ticks.end(), nTick);
}

CJumpPlan::Outcome CJumpPlan::Play(const std::vector<int>& jumps) {
    m_course.ResetJumper();
    auto next = jumps.begin();
    for (int nTick = 1;; ++nTick) {
        if (next != jumps.end() && *next == nTick) {
            m_course.Jump();
            ++next;
        }
        m_course.StepJumper();
        if (m_course.IsGoal()) {
            return Outcome{true, nTick, 0};
        }
        const int nHit = m_course.HitObstacle();
        if (nHit >= 0) {
            return Outcome{false, nTick, CentreX(m_course.GetObstacleRect(nHit))};
        }
    }
}

bool CJumpPlan::Extend(std::vector<int>& jumps, int nClearedX) {
    const Outcome outcome = Play(jumps);
    if (outcome.bGoal) {
        return true;
    }
    // A hit on an obstacle that already has its jump: that jump did not clear it.
    if (outcome.nObstacleX <= nClearedX) {
        return false;
    }
    const int nFirst = std::max(jumps.empty() ? kFirstJumpTick : jumps.back() + 1,
                                outcome.nTick - m_nJumpTicks + 1);
    for (int nStart = nFirst; nStart <= outcome.nTick; ++nStart) {
        jumps.push_back(nStart);
        if (Extend(jumps, outcome.nObstacleX)) {
            return true;
        }
        jumps.pop_back();
    }
    return false;
}
