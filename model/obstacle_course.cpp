#include "model/obstacle_course.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <vector>

CObstacleCourse::~CObstacleCourse() {
    ClearObstacles();
}

void CObstacleCourse::ClearObstacles() {
    m_obstacles.RemoveAll();
}

void CObstacleCourse::PlaceObstacles(int n) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    ScatterObstacles(n);
}

void CObstacleCourse::ScatterObstacles(int n) {
    if (m_nGoal <= kFirstObstacleX) {
        return;
    }
    const int nRange = m_nGoal - kFirstObstacleX;
    for (int i = 0; i < n; ++i) {
        if (!HasFreePosition()) {
            return;
        }
        CObstacle* p = m_obstacles.AddNew();
        const int y = RestingHeight(p->GetRect());
        bool bPlaced = false;
        while (!bPlaced) {
            p->SetPos(std::rand() % nRange + kFirstObstacleX, y);
            bPlaced = true;
            for (int j = 0; j < i && bPlaced; ++j) {
                bPlaced = p->DistanceTo(m_obstacles.GetAt(j)) >= kMinObstacleDistance;
            }
        }
    }
}

// Whether some x in kFirstObstacleX ... m_nGoal - 1 lies at least kMinObstacleDistance from
// every obstacle placed so far. All obstacles stand on the ground at one height, so the
// distance is the difference in x. Checking this first keeps the draw loop from spinning
// for ever on a full course, and leaves the draws of every call that fits untouched.
BOOL CObstacleCourse::HasFreePosition() {
    std::vector<std::int64_t> xs;
    for (int i = 0; i < m_obstacles.GetCount(); ++i) {
        m_obstacles.ReadAt(i, [&xs](CObstacle& o) { xs.push_back(o.GetPos().x); });
    }
    std::sort(xs.begin(), xs.end());
    std::int64_t nLowestFree = kFirstObstacleX;
    for (const std::int64_t x : xs) {
        if (nLowestFree <= x - kMinObstacleDistance) {
            return TRUE;
        }
        nLowestFree = std::max(nLowestFree, x + kMinObstacleDistance);
    }
    return nLowestFree < m_nGoal;
}

int CObstacleCourse::GetObstacleCount() const {
    return m_obstacles.GetCount();
}

RECT CObstacleCourse::GetObstacleRect(int nIndex) {
    RECT rc{0, 0, 0, 0};
    m_obstacles.ReadAt(nIndex, [&rc](CObstacle& o) { rc = o.GetRect(); });
    return rc;
}

RECT CObstacleCourse::GetJumperRect() {
    return m_jumper.GetRect();
}

void CObstacleCourse::StepJumper() {
    m_jumper.Advance();
}

TickOutcome CObstacleCourse::Tick(bool bJump) {
    return PlayTick(m_jumper, bJump, m_nGoal, [this](const RECT& /*rcJumper*/) { return IsHit(); });
}

void CObstacleCourse::Jump() {
    m_jumper.Jump();
}

void CObstacleCourse::ResetJumper() {
    StandOnStartLine(m_jumper);
}

BOOL CObstacleCourse::IsGoal() {
    return IsPastGoal(m_jumper, m_nGoal);
}

BOOL CObstacleCourse::IsHit() {
    return HitObstacle() >= 0;
}

int CObstacleCourse::HitObstacle() {
    for (int i = 0; i < GetObstacleCount(); ++i) {
        CObstacle* p = m_obstacles.GetAt(i);
        if (p == nullptr) {
            continue;
        }
        if (Overlaps(p->GetRect(), m_jumper.GetRect())) {
            return i;
        }
    }
    return -1;
}
