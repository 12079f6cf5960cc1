// Many quick Start/Abort cycles against a game that is also being jumped and read from
// another thread. Under the sanitizers this proves the task's hand-over free of races.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "game_harness.h"

namespace {

constexpr int kCycles = 500;

// Counts the workers that are inside Run at once.
class CCountingGameTask : public CGameTask {
public:
    ~CCountingGameTask() override { EndWorker(); }

    void Run() override {
        const int nActive = ++m_nActive;
        int nMax = m_nMaxActive;
        while (nActive > nMax && !m_nMaxActive.compare_exchange_weak(nMax, nActive)) {
        }
        ++m_nStarted;
        struct Leave {
            std::atomic<int>& nActive;
            ~Leave() { --nActive; }
        } leave{m_nActive};
        CGameTask::Run();
    }

    std::atomic<int> m_nActive{0};
    std::atomic<int> m_nMaxActive{0};
    std::atomic<int> m_nStarted{0};
};

TEST(TaskStress, StartAndAbortCyclesNeverPutTwoWorkersOnOneTask) {
    AfxSetSleepScaleForTesting(0.01);
    testing_window::CRecordingWnd wnd(testing_game::kClient);
    CGameField field;
    CCountingGameTask task;
    field.SetBoardRect(testing_game::kBoard);
    field.m_nGoal = testing_game::kGoal;
    task.SetOwner(&wnd);
    task.m_pField = &field;

    std::atomic<bool> bDone{false};
    std::thread player([&] {
        int nReads = 0;
        while (!bDone) {
            field.Jump();
            for (int i = 0; i < field.GetObstacleCount(); ++i) {
                field.GetObstacleRect(i);
            }
            field.GetJumperRect();
            nReads += field.m_nMode;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });

    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delay(0, 4000);
    for (int i = 0; i < kCycles; ++i) {
        field.m_nMode = CFieldView::kModePlaying;
        task.Start();
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        field.m_nMode = CFieldView::kModeTitle;
        task.Abort();
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random) / 2));
    }
    task.Wait();
    bDone = true;
    player.join();
    AfxSetSleepScaleForTesting(1.0);

    EXPECT_EQ(task.m_nMaxActive, 1);
    EXPECT_EQ(task.m_nActive, 0);
    EXPECT_GT(task.m_nStarted, kCycles / 10);
}

}  // namespace
