#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "platform/base/win_thread.h"

namespace {

struct Gate {
    std::atomic<bool> bOpen{false};
    std::atomic<int> nRuns{0};
};

UINT WaitForGate(LPVOID pParam) {
    auto* pGate = static_cast<Gate*>(pParam);
    while (!pGate->bOpen) {
        std::this_thread::yield();
    }
    ++pGate->nRuns;
    return 0;
}

TEST(WinThread, RunsTheProcedureAtOnceAndReportsItsEnd) {
    Gate gate;
    auto pThread = AfxBeginThread(WaitForGate, &gate);
    ASSERT_NE(pThread, nullptr);
    EXPECT_FALSE(pThread->HasEnded());
    gate.bOpen = true;
    pThread->Join();
    EXPECT_TRUE(pThread->HasEnded());
    EXPECT_EQ(gate.nRuns, 1);
}

TEST(WinThread, DeletingTheThreadObjectWaitsForTheProcedure) {
    Gate gate;
    {
        auto pThread = AfxBeginThread(WaitForGate, &gate);
        gate.bOpen = true;
    }
    EXPECT_EQ(gate.nRuns, 1);
}

TEST(Sleep, TheTestScaleShortensPauses) {
    AfxSetSleepScaleForTesting(0.001);
    const auto start = std::chrono::steady_clock::now();
    Sleep(2000);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    AfxSetSleepScaleForTesting(1.0);
    EXPECT_GE(elapsed, std::chrono::milliseconds(2));
    EXPECT_LT(elapsed, std::chrono::milliseconds(1000));
}

}  // namespace
