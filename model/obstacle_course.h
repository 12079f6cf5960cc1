// CObstacleCourse: the rules of a run, the model half of the game field.
#pragma once

#include "model/jumper.h"
#include "model/locked_list.h"
#include "model/sprite.h"
#include "model/tick.h"

// The worker clears, places, steps and tests; the UI thread jumps and reads rectangles for
// painting. The obstacle list guards itself, and the jumper's fields are atomic.
class CObstacleCourse {
public:
    static constexpr int kInitialGoal = 100;
    static constexpr int kFirstObstacleX = 100;  // obstacles stand from here up to the goal
    static constexpr int kMinObstacleDistance = 50;

    CObstacleCourse() = default;
    virtual ~CObstacleCourse();
    CObstacleCourse(const CObstacleCourse&) = delete;
    CObstacleCourse& operator=(const CObstacleCourse&) = delete;

    void ClearObstacles();
    // Seeds the C library's generator from the clock, then scatters n obstacles.
    void PlaceObstacles(int n);
    // Places n obstacles at random positions drawn with rand(), on the ground and at least
    // kMinObstacleDistance apart. Places nothing while the goal leaves no room, and stops
    // early rather than loop for ever when the course is full.
    void ScatterObstacles(int n);
    int GetObstacleCount() const;
    // The obstacle's world rectangle, or the empty rectangle when there is no obstacle at
    // nIndex (any more). Safe while another thread clears the list.
    RECT GetObstacleRect(int nIndex);
    RECT GetJumperRect();
    void StepJumper();
    // One tick of the run, as every run plays it (model/tick.h): bJump asks for a jump first.
    TickOutcome Tick(bool bJump);
    void Jump();
    void ResetJumper();
    BOOL IsGoal();
    BOOL IsHit();
    // The index of the first obstacle that the jumper's rectangle overlaps, or -1: the hit
    // test that IsHit answers.
    int HitObstacle();

    CLockedList<CObstacle> m_obstacles;
    CJumper m_jumper;
    int m_nGoal = kInitialGoal;

private:
    BOOL HasFreePosition();
};
