// The worker rebuilds and steps the course while the UI thread reads it for painting and
// asks for jumps. Run under ThreadSanitizer, this proves the sharing race-free.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "model/obstacle_course.h"

namespace {

constexpr int kRounds = 300;
constexpr int kMinReads = 2000;

// What a reader may see of an obstacle: nothing (it has gone), a new one not yet placed, one
// whose x is drawn but whose y is not yet set, or one standing on the ground.
bool IsObstacleRect(const RECT& rc) {
    const bool bGone = rc == RECT{0, 0, 0, 0};
    const bool bNew = rc == RECT{-5, -5, 5, 5};
    const bool bPlacing = rc.top == -5 && rc.bottom == 5 && rc.left >= 95;
    const bool bOnGround = rc.top == 0 && rc.bottom == 10 && rc.left >= 95;
    return bGone || bNew || ((bPlacing || bOnGround) && rc.right - rc.left == 10);
}

TEST(ModelConcurrency, AReaderSeesWholeObstaclesAndJumperWhileTheWorkerRebuildsTheCourse) {
    CObstacleCourse course;
    course.m_nGoal = 500;
    std::atomic<bool> bDone{false};
    std::atomic<int> nReads{0};

    std::thread worker([&] {
        std::srand(42);
        // Keeps going until the reader has overlapped with it for a while.
        for (int round = 0; round < kRounds || nReads < kMinReads; ++round) {
            course.ClearObstacles();
            course.ScatterObstacles(5);
            course.ResetJumper();
            for (int tick = 0; tick < 20 && !course.IsHit(); ++tick) {
                course.StepJumper();
                course.IsGoal();
            }
        }
        bDone = true;
    });

    int nBadObstacles = 0;
    int nBadJumpers = 0;
    while (!bDone) {
        for (int i = 0; i < course.GetObstacleCount(); ++i) {
            nBadObstacles += IsObstacleRect(course.GetObstacleRect(i)) ? 0 : 1;
        }
        const RECT rcJumper = course.GetJumperRect();
        nBadJumpers += (rcJumper.right - rcJumper.left == 10 && rcJumper.top >= -5) ? 0 : 1;
        if (++nReads % 7 == 0) {
            course.Jump();
        }
    }
    worker.join();
    EXPECT_GE(nReads, kMinReads);
    EXPECT_EQ(nBadObstacles, 0);
    EXPECT_EQ(nBadJumpers, 0);
}

}  // namespace
