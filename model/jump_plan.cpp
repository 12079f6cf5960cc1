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

CJumpPlan::CJumpPlan(CObstacleCourse& course) : m_nGoal(course.m_nGoal), m_nJumpTicks(JumpTicks()) {
    for (int i = 0; i < course.GetObstacleCount(); ++i) {
        const RECT rc = course.GetObstacleRect(i);
        if (!IsRectEmpty(&rc)) {
            m_obstacles.push_back(rc);
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

const RECT* CJumpPlan::HitBy(const RECT& rcJumper) const {
    for (const RECT& rc : m_obstacles) {
        if (Overlaps(rc, rcJumper)) {
            return &rc;
        }
    }
    return nullptr;
}

CJumpPlan::Outcome CJumpPlan::Play(const std::vector<int>& jumps) {
    StandOnStartLine(m_jumper);
    auto next = jumps.begin();
    for (int nTick = 1;; ++nTick) {
        const bool bJump = next != jumps.end() && *next == nTick;
        next += bJump ? 1 : 0;
        const RECT* pHit = nullptr;
        const TickOutcome outcome = PlayTick(m_jumper, bJump, m_nGoal, [&](const RECT& rc) {
            pHit = HitBy(rc);
            return pHit != nullptr;
        });
        if (outcome != TickOutcome::kRunning) {
            return Outcome{outcome == TickOutcome::kGoal, nTick, pHit ? CentreX(*pHit) : 0};
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
