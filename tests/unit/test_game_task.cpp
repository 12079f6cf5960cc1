#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "course_helpers.h"
#include "game_harness.h"

namespace {

using namespace std::chrono_literals;
using testing_game::CGameHarness;
using testing_game::kBoard;
using testing_game::kClient;
using testing_window::Repaint;

constexpr double kFastScale = 0.01;

class GameLoopTest : public ::testing::Test {
protected:
    void SetUp() override { AfxSetSleepScaleForTesting(kFastScale); }
    void TearDown() override { AfxSetSleepScaleForTesting(1.0); }

    // Records the screen mode at each repaint request, as the painter would see it.
    void RecordModes() {
        m_h.m_wnd.SetOnRepaint([this](const Repaint&) {
            std::lock_guard<std::mutex> lock(m_mutexModes);
            m_modes.push_back(m_h.m_field.m_nMode);
        });
    }

    static bool IsTick(const Repaint& r) { return r.rc == kBoard && !r.bErase; }
    static bool IsOutcome(const Repaint& r) { return r.rc == kBoard && r.bErase; }
    static bool IsFinal(const Repaint& r) { return r.rc == kClient && r.bErase; }

    CGameHarness m_h;
    std::mutex m_mutexModes;
    std::vector<int> m_modes;
};

TEST_F(GameLoopTest, AGameThatHitsShowsFailPausesAndReturnsToTheTitle) {
    RecordModes();
    m_h.StartFromTitle();
    m_h.m_task.Wait();

    EXPECT_EQ(m_h.m_task.GetStatus(), "FAIL!!");
    const auto repaints = m_h.m_wnd.Repaints();
    const size_t n = repaints.size();
    ASSERT_GE(n, 3u);
    for (size_t i = 0; i + 2 < n; ++i) {
        EXPECT_TRUE(IsTick(repaints[i])) << "repaint " << i;
    }
    EXPECT_TRUE(IsOutcome(repaints[n - 2]));
    EXPECT_TRUE(IsFinal(repaints[n - 1]));
    EXPECT_GE(repaints[n - 1].when - repaints[n - 2].when, 20ms);  // 2000 ms at this scale
    EXPECT_EQ(m_modes[n - 2], CFieldView::kModePlaying);
    EXPECT_EQ(m_modes[n - 1], CFieldView::kModeTitle);
    EXPECT_EQ(m_h.m_field.m_nMode, CFieldView::kModeTitle);

    // One tick per board repaint, and the run ended on the tick of the hit.
    const int nTicks = static_cast<int>(n - 2);
    EXPECT_EQ(m_h.m_field.m_jumper.GetPos().x, 10 * nTicks);
    EXPECT_TRUE(m_h.m_field.IsHit());
    EXPECT_EQ(m_h.m_field.GetObstacleCount(), 5);
}

// Hands each tick from the worker to a player thread and waits for its answer, so the
// player's jumps land on exactly the ticks it chooses.
class CTickChannel {
public:
    // Worker side: announce tick k, then wait until the player has dealt with it.
    void Announce(int k) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_nAnnounced = k;
        m_cv.notify_all();
        m_cv.wait(lock, [this, k] { return m_nAnswered == k || m_bClosed; });
    }
    // Player side: the next announced tick, or 0 once the game is over.
    int Next() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [this] { return m_nAnnounced != m_nAnswered || m_bClosed; });
        return m_bClosed ? 0 : m_nAnnounced;
    }
    void Answer(int k) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_nAnswered = k;
        m_cv.notify_all();
    }
    void Close() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bClosed = true;
        m_cv.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_nAnnounced = 0;
    int m_nAnswered = 0;
    bool m_bClosed = false;
};

TEST_F(GameLoopTest, APlayerWithAWinningScheduleReachesTheGoalOnTickFiftyOne) {
    CTickChannel channel;
    int nTicks = 0;  // worker only
    m_h.m_wnd.SetOnRepaint([&](const Repaint& r) {
        if (IsTick(r)) {
            channel.Announce(++nTicks);
        }
    });

    std::thread player([&] {
        std::set<int> jumps;
        for (int k = channel.Next(); k != 0; k = channel.Next()) {
            if (k == 1) {
                // Copy the layout into a scratch course and search it.
                CObstacleCourse scratch;
                scratch.m_nGoal = testing_game::kGoal;
                for (int i = 0; i < m_h.m_field.GetObstacleCount(); ++i) {
                    const RECT rc = m_h.m_field.GetObstacleRect(i);
                    testing_course::AddObstacleAt(scratch, rc.left + 5);
                }
                jumps = testing_course::CScheduleSearch(scratch).Find().value_or(jumps);
                EXPECT_FALSE(jumps.empty());
                EXPECT_EQ(jumps.count(1), 0u);  // nobody can jump before the first tick
            }
            if (jumps.count(k + 1) != 0) {
                m_h.m_field.Jump();
            }
            channel.Answer(k);
        }
    });

    m_h.StartFromTitle();
    m_h.m_task.Wait();
    channel.Close();
    player.join();

    EXPECT_EQ(m_h.m_task.GetStatus(), "GOAL!!");
    EXPECT_EQ(nTicks, 51);
    EXPECT_EQ(m_h.m_field.m_jumper.GetPos().x, 510);
    EXPECT_EQ(m_h.m_field.m_nMode, CFieldView::kModeTitle);
}

TEST_F(GameLoopTest, AGoalOnTheFirstStepEndsTheGameAfterOneTick) {
    m_h.m_field.m_nGoal = 5;  // no room for obstacles, and x 10 is past it
    m_h.StartFromTitle();
    m_h.m_task.Wait();
    EXPECT_EQ(m_h.m_task.GetStatus(), "GOAL!!");
    const auto repaints = m_h.m_wnd.Repaints();
    ASSERT_EQ(repaints.size(), 3u);
    EXPECT_TRUE(IsTick(repaints[0]));
    EXPECT_TRUE(IsOutcome(repaints[1]));
    EXPECT_TRUE(IsFinal(repaints[2]));
}

TEST_F(GameLoopTest, AStopDuringATicksPauseEndsTheGameWithoutAnOutcome) {
    // Real pauses, so that the stop lands inside a 300 ms tick pause and a 2000 ms outcome
    // pause, had there been one, would show.
    AfxSetSleepScaleForTesting(1.0);
    m_h.StartFromTitle();
    m_h.m_wnd.WaitForRepaints(2);
    std::this_thread::sleep_for(100ms);
    const auto stopTime = std::chrono::steady_clock::now();
    m_h.m_task.Abort();
    m_h.m_task.Wait();
    const auto elapsed = std::chrono::steady_clock::now() - stopTime;

    EXPECT_LT(elapsed, 1500ms);
    EXPECT_EQ(m_h.m_task.GetStatus(), "");
    EXPECT_EQ(m_h.m_task.m_nAborts, 1);
    EXPECT_FALSE(m_h.m_task.IsAbortPending());
    EXPECT_EQ(m_h.m_field.m_nMode, CFieldView::kModePlaying);
    for (const Repaint& r : m_h.m_wnd.Repaints()) {
        EXPECT_TRUE(IsTick(r));
    }
}

TEST_F(GameLoopTest, AStopDuringTheOutcomePauseEndsThePauseAndLetsTheGameFinish) {
    std::atomic<bool> bOutcomeShown{false};
    m_h.m_wnd.SetOnRepaint([&](const Repaint& r) {
        if (IsOutcome(r)) {
            // Fast ticks to the outcome, then the real 2 s pause.
            AfxSetSleepScaleForTesting(1.0);
            bOutcomeShown = true;
        }
    });
    m_h.StartFromTitle();
    while (!bOutcomeShown) {
        std::this_thread::sleep_for(1ms);
    }
    // What the dialog does on a Stop click.
    m_h.m_field.m_nMode = CFieldView::kModeTitle;
    const auto stopTime = std::chrono::steady_clock::now();
    m_h.m_task.Abort();
    m_h.m_task.Wait();
    // The pause would have lasted 2 s.
    EXPECT_LT(std::chrono::steady_clock::now() - stopTime, 1s);

    const auto repaints = m_h.m_wnd.Repaints();
    EXPECT_TRUE(IsFinal(repaints.back()));
    EXPECT_EQ(m_h.m_field.m_nMode, CFieldView::kModeTitle);
    EXPECT_EQ(m_h.m_task.GetStatus(), "FAIL!!");
    EXPECT_EQ(m_h.m_task.m_nAborts, 0);
    EXPECT_TRUE(m_h.m_task.IsAbortPending());

    // The next Start clears both the status and the stale abort request.
    m_h.StartFromTitle();
    EXPECT_EQ(m_h.m_task.GetStatus(), "");
    EXPECT_FALSE(m_h.m_task.IsAbortPending());
    m_h.m_task.Abort();
    m_h.m_task.Wait();
}

TEST_F(GameLoopTest, DestroyingTheTaskMidGameWaitsForTheWorker) {
    std::atomic<int> nRepaints{0};
    {
        CGameHarness h;
        h.m_wnd.SetOnRepaint([&nRepaints](const Repaint&) { ++nRepaints; });
        h.StartFromTitle();
        h.m_wnd.WaitForRepaints(3);
    }
    const int nAtEnd = nRepaints;
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(nRepaints, nAtEnd);
}

TEST_F(GameLoopTest, DestroyingTheTaskDuringTheOutcomePauseWaitsForTheGameToEnd) {
    std::atomic<bool> bOutcomeShown{false};
    std::atomic<bool> bFinal{false};
    {
        CGameHarness h;
        h.m_wnd.SetOnRepaint([&](const Repaint& r) {
            bOutcomeShown = bOutcomeShown || IsOutcome(r);
            bFinal = bFinal || IsFinal(r);
        });
        h.StartFromTitle();
        while (!bOutcomeShown) {
            std::this_thread::sleep_for(1ms);
        }
    }
    // No check point follows the outcome, so the game ran to its end before it was destroyed.
    EXPECT_TRUE(bFinal);
}

}  // namespace
