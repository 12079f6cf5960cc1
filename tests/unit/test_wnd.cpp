#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/window/wnd.h"

namespace {

class WndTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_wnd.CreateTopLevel(0, RECT{100, 50, 400, 250});
        m_wnd.SetWakeHook([this] { ++m_nWakes; });
    }
    CWnd m_wnd;
    std::atomic<int> m_nWakes{0};
};

TEST_F(WndTest, InvalidationsCollectIntoOneAreaAndWakeOnlyWhenItWasEmpty) {
    const RECT a{10, 10, 20, 20};
    const RECT b{50, 5, 60, 15};
    m_wnd.InvalidateRect(&a, FALSE);
    m_wnd.InvalidateRect(&b, FALSE);
    EXPECT_EQ(m_nWakes, 1);

    RECT rc;
    BOOL bErase = TRUE;
    EXPECT_TRUE(m_wnd.TakeUpdate(&rc, &bErase));
    EXPECT_EQ(rc, (RECT{10, 5, 60, 20}));
    EXPECT_FALSE(bErase);
    EXPECT_FALSE(m_wnd.TakeUpdate(&rc, &bErase));

    m_wnd.InvalidateRect(&a, FALSE);
    m_wnd.InvalidateRect(&b, TRUE);
    EXPECT_EQ(m_nWakes, 2);
    EXPECT_TRUE(m_wnd.TakeUpdate(&rc, &bErase));
    EXPECT_TRUE(bErase);
}

TEST_F(WndTest, TheWholeClientAreaIsTheDefaultAndRequestsAreClippedToIt) {
    m_wnd.Invalidate(TRUE);
    RECT rc;
    BOOL bErase;
    m_wnd.TakeUpdate(&rc, &bErase);
    EXPECT_EQ(rc, (RECT{0, 0, 300, 200}));

    const RECT rcPartlyOutside{-10, 190, 50, 260};
    m_wnd.InvalidateRect(&rcPartlyOutside, FALSE);
    m_wnd.TakeUpdate(&rc, &bErase);
    EXPECT_EQ(rc, (RECT{0, 190, 50, 200}));

    const RECT rcOutside{300, 0, 310, 10};
    m_wnd.InvalidateRect(&rcOutside, FALSE);
    EXPECT_FALSE(m_wnd.TakeUpdate(&rc, &bErase));
}

TEST_F(WndTest, ADestroyedWindowIgnoresInvalidations) {
    m_wnd.DestroyWindow();
    EXPECT_EQ(m_wnd.GetSafeHwnd(), nullptr);
    m_wnd.Invalidate(TRUE);
    RECT rc;
    BOOL bErase;
    EXPECT_FALSE(m_wnd.TakeUpdate(&rc, &bErase));
    EXPECT_EQ(m_nWakes, 0);
}

TEST_F(WndTest, InvalidationsFromManyThreadsAllLandInTheArea) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < 500; ++i) {
                const RECT rc{t * 10, i % 100, t * 10 + 5, i % 100 + 1};
                m_wnd.InvalidateRect(&rc, FALSE);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    RECT rc;
    BOOL bErase;
    EXPECT_TRUE(m_wnd.TakeUpdate(&rc, &bErase));
    EXPECT_EQ(rc, (RECT{0, 0, 35, 100}));
    EXPECT_EQ(m_nWakes, 1);
}

TEST_F(WndTest, ControlsAreFoundByIdAndEnabledOrDisabled) {
    CWnd* pStart = m_wnd.CreateControl(2, WS_DISABLED, RECT{10, 20, 60, 40});
    ASSERT_NE(pStart, nullptr);
    EXPECT_EQ(m_wnd.GetDlgItem(2), pStart);
    EXPECT_EQ(m_wnd.GetDlgItem(3), nullptr);
    EXPECT_EQ(pStart->GetDlgCtrlID(), 2u);
    EXPECT_EQ(pStart->GetParent(), &m_wnd);
    EXPECT_FALSE(pStart->IsWindowEnabled());
    EXPECT_TRUE(pStart->EnableWindow(TRUE));  // it was disabled
    EXPECT_TRUE(pStart->IsWindowEnabled());
    EXPECT_FALSE(pStart->EnableWindow(FALSE));
    EXPECT_FALSE(pStart->IsWindowEnabled());
}

TEST_F(WndTest, AControlsWindowRectangleConvertsBackToClientCoordinates) {
    CWnd* pBoard = m_wnd.CreateControl(1000, 0, RECT{7, 9, 257, 137});
    RECT rc;
    pBoard->GetWindowRect(&rc);
    EXPECT_EQ(rc, (RECT{107, 59, 357, 187}));
    m_wnd.ScreenToClient(&rc);
    EXPECT_EQ(rc, (RECT{7, 9, 257, 137}));
    POINT pt{100, 50};
    m_wnd.ScreenToClient(&pt);
    EXPECT_EQ(pt, (POINT{0, 0}));
}

}  // namespace
