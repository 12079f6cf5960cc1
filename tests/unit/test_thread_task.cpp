#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "worker/thread_task.h"

namespace {

using namespace std::chrono_literals;

void SpinUntil(const std::function<bool()>& fnDone) {
    while (!fnDone()) {
        std::this_thread::sleep_for(1ms);
    }
}

// A task whose work is a test's function, with its flags open to the test.
class CProbeTask : public CDialogTask {
public:
    ~CProbeTask() override { EndWorker(); }

    void Run() override {
        ++m_nRuns;
        if (m_fnWork) {
            m_fnWork(*this);
        }
    }
    void OnAbort() override { ++m_nAborts; }

    BOOL IsAbortPending() const { return m_bAbort; }
    BOOL IsRunning() const { return m_bRunning; }
    BOOL IsWaiting() const { return m_bWaiting; }
    CString GetPromptText() {
        CSingleLock lock(&m_csPrompt, TRUE);
        return m_strPrompt;
    }

    std::function<void(CProbeTask&)> m_fnWork;
    std::atomic<int> m_nRuns{0};
    std::atomic<int> m_nAborts{0};
};

// Lets a test hold the work at a point of its choosing.
struct Gate {
    std::atomic<bool> bReached{false};
    std::atomic<bool> bOpen{false};
    void Pass() {
        bReached = true;
        SpinUntil([this] { return bOpen.load(); });
    }
    void WaitReached() {
        SpinUntil([this] { return bReached.load(); });
    }
};

TEST(ThreadTask, AnAbortBeforeStartIsClearedByStart) {
    CProbeTask task;
    task.m_fnWork = [](CProbeTask& t) {
        t.CheckPoint();
        t.SetStatus(CString("done"));
    };
    task.Abort();
    task.Start();
    task.Wait();
    EXPECT_EQ(task.GetStatus(), "done");
    EXPECT_EQ(task.m_nAborts, 0);
}

TEST(ThreadTask, AnAbortEndsTheWorkAtItsNextCheckPointAndKeepsTheStatus) {
    CProbeTask task;
    Gate gate;
    std::atomic<bool> bPastCheckPoint{false};
    task.m_fnWork = [&](CProbeTask& t) {
        t.SetStatus(CString("working"));
        gate.Pass();
        t.CheckPoint();
        bPastCheckPoint = true;
        t.SetStatus(CString("not reached"));
    };
    task.Start();
    gate.WaitReached();
    EXPECT_TRUE(task.IsRunning());
    task.Abort();
    gate.bOpen = true;
    task.Wait();
    EXPECT_FALSE(bPastCheckPoint);
    EXPECT_EQ(task.m_nAborts, 1);
    EXPECT_FALSE(task.IsAbortPending());
    EXPECT_FALSE(task.IsRunning());
    EXPECT_EQ(task.GetStatus(), "working");
}

TEST(ThreadTask, APromptHoldsTheWorkerUntilAnAbortEndsTheHold) {
    CProbeTask task;
    std::atomic<bool> bPastPrompt{false};
    task.m_fnWork = [&](CProbeTask& t) {
        t.Prompt(CString("Continue?"));
        bPastPrompt = true;
    };
    task.Start();
    SpinUntil([&] { return task.IsWaiting() == TRUE; });
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(task.IsBusy());
    EXPECT_TRUE(task.IsRunning());
    EXPECT_EQ(task.GetPromptText(), "Continue?");

    const auto abortTime = std::chrono::steady_clock::now();
    task.Abort();
    task.Wait();
    const auto elapsed = std::chrono::steady_clock::now() - abortTime;
    EXPECT_FALSE(bPastPrompt);
    EXPECT_EQ(task.m_nAborts, 1);
    EXPECT_FALSE(task.IsRunning());
    // The hold polls every 10 ms; a generous bound tells a working poll from none at all.
    EXPECT_LT(elapsed, 1s);
}

TEST(ThreadTask, AnAbortThatNoCheckPointSeesStaysPendingUntilTheNextStart) {
    CProbeTask task;
    Gate gate;
    task.m_fnWork = [&](CProbeTask&) { gate.Pass(); };
    task.Start();
    gate.WaitReached();
    task.Abort();
    gate.bOpen = true;
    task.Wait();
    EXPECT_TRUE(task.IsAbortPending());
    EXPECT_EQ(task.m_nAborts, 0);

    task.m_fnWork = [](CProbeTask& t) {
        t.CheckPoint();
        t.SetStatus(CString("second game"));
    };
    task.Start();
    task.Wait();
    EXPECT_FALSE(task.IsAbortPending());
    EXPECT_EQ(task.GetStatus(), "second game");
}

TEST(ThreadTask, TheStatusIsEmptyFromStartUntilTheWorkSetsItAndStaysAfterwards) {
    CProbeTask task;
    task.m_fnWork = [](CProbeTask& t) { t.SetStatus(CString("FAIL!!")); };
    task.Start();
    task.Wait();
    EXPECT_EQ(task.GetStatus(), "FAIL!!");

    Gate gate;
    task.m_fnWork = [&](CProbeTask& t) {
        gate.Pass();
        t.SetStatus(CString("GOAL!!"));
    };
    task.Start();
    EXPECT_EQ(task.GetStatus(), "");
    gate.WaitReached();
    EXPECT_EQ(task.GetStatus(), "");
    gate.bOpen = true;
    task.Wait();
    EXPECT_EQ(task.GetStatus(), "GOAL!!");
}

TEST(ThreadTask, StatusAndPromptLoadFromTheStringTable) {
    static const STRINGRESOURCE kStrings[] = {{500, "from the table"}, {501, "question"}};
    AfxSetStringTable(kStrings, 2);
    CProbeTask task;
    task.m_fnWork = [](CProbeTask& t) {
        t.SetStatus(500u);
        t.Prompt(501u);
    };
    task.Start();
    SpinUntil([&] { return task.IsWaiting() == TRUE; });
    EXPECT_EQ(task.GetStatus(), "from the table");
    EXPECT_EQ(task.GetPromptText(), "question");
    task.Abort();
    task.Wait();
    AfxSetStringTable(nullptr, 0);
}

TEST(ThreadTask, AnExceptionFromTheWorkIsSwallowedAndEndsTheRun) {
    CProbeTask task;
    task.m_fnWork = [](CProbeTask& t) {
        t.SetStatus(CString("before"));
        throw std::runtime_error("lost");
    };
    task.Start();
    task.Wait();
    EXPECT_FALSE(task.IsRunning());
    EXPECT_EQ(task.GetStatus(), "before");
}

TEST(ThreadTask, StartWhileAWorkerIsBusyBeginsNoSecondWorker) {
    CProbeTask task;
    Gate gate;
    task.m_fnWork = [&](CProbeTask&) { gate.Pass(); };
    task.Start();
    gate.WaitReached();
    task.Start();
    task.Start();
    EXPECT_TRUE(task.IsBusy());
    gate.bOpen = true;
    task.Wait();
    EXPECT_FALSE(task.IsBusy());
    EXPECT_EQ(task.m_nRuns, 1);
}

TEST(ThreadTask, DestroyingATaskWithAHeldWorkerAbortsAndWaitsForIt) {
    std::atomic<bool> bResumed{false};
    {
        CProbeTask task;
        task.m_fnWork = [&bResumed](CProbeTask& t) {
            t.Prompt(CString("held"));
            bResumed = true;
        };
        task.Start();
        SpinUntil([&] { return task.IsWaiting() == TRUE; });
    }
    EXPECT_FALSE(bResumed);
}

class DialogTaskTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_owner.CreateTopLevel(0, RECT{0, 0, 200, 200});
        m_pRun = m_owner.CreateControl(10, WS_DISABLED, RECT{0, 0, 10, 10});
        m_pIdle = m_owner.CreateControl(11, 0, RECT{0, 20, 10, 30});
        m_pUnlisted = m_owner.CreateControl(12, WS_DISABLED, RECT{0, 40, 10, 50});
        m_task.SetOwner(&m_owner);
    }

    CWnd m_owner;
    CWnd* m_pRun = nullptr;
    CWnd* m_pIdle = nullptr;
    CWnd* m_pUnlisted = nullptr;
    CProbeTask m_task;
};

TEST_F(DialogTaskTest, EmptyListsChangeNoControl) {
    m_task.UpdateControls();
    EXPECT_FALSE(m_pRun->IsWindowEnabled());
    EXPECT_TRUE(m_pIdle->IsWindowEnabled());
    EXPECT_FALSE(m_pUnlisted->IsWindowEnabled());
}

TEST_F(DialogTaskTest, ListedControlsFollowTheRunningStateAndMissingOnesAreSkipped) {
    *m_task.m_listRunIDs.AddNew() = 10;
    *m_task.m_listIdleIDs.AddNew() = 99;  // no such control
    *m_task.m_listIdleIDs.AddNew() = 11;

    Gate gate;
    m_task.m_fnWork = [&](CProbeTask&) { gate.Pass(); };
    m_task.Start();
    gate.WaitReached();
    m_task.UpdateControls();
    EXPECT_TRUE(m_pRun->IsWindowEnabled());
    EXPECT_FALSE(m_pIdle->IsWindowEnabled());

    gate.bOpen = true;
    m_task.Wait();
    m_task.UpdateControls();
    EXPECT_FALSE(m_pRun->IsWindowEnabled());
    EXPECT_TRUE(m_pIdle->IsWindowEnabled());
    EXPECT_FALSE(m_pUnlisted->IsWindowEnabled());
}

}  // namespace
