#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "app/game_app.h"
#include "app/game_dlg.h"
#include "app/resource.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/window/accessibility.h"
#include "platform/window/top_windows.h"
#include "platform/window/wnd_system.h"
#include "render/colours.h"
#include "shell_fixture.h"
#include "test_game_dlg.h"

using testing_shell::CFastSleep;
using testing_shell::CTestGameDlg;
using testing_shell::PumpFor;
using testing_shell::PumpUntil;

namespace {

using namespace std::chrono_literals;

// Fewer pixels of a colour than this are stray edges, not a label.
constexpr int kMinInkPixels = 20;

// How many pixels of rc have the colour on the window's screen surface.
int CountOnScreen(const CWnd& wnd, const RECT& rc, COLORREF cr) {
    SDL_Surface* pSurface = SDL_GetWindowSurface(testing_shell::SdlWindowOf(wnd));
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        const auto* pRow = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(pSurface->pixels) + y * pSurface->pitch);
        for (int x = rc.left; x < rc.right; ++x) {
            Uint8 r, g, b;
            SDL_GetRGB(pRow[x], pSurface->format, &r, &g, &b);
            n += RGB(r, g, b) == cr ? 1 : 0;
        }
    }
    return n;
}

class GameDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dlg.Create());
        PumpFor(20ms);
    }

    void Release(POINT pt) { m_dlg.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y)); }
    int Mode() { return m_dlg.Field().m_nMode; }

    // Leaves the dialog with no worker, so that each test ends promptly.
    void StopAndWait() {
        m_dlg.Task().Abort();
        m_dlg.Task().Wait();
    }

    CTestGameDlg m_dlg;
};

TEST_F(GameDlgTest, TheLayoutComesFromTheTemplatesControls) {
    CGameField& field = m_dlg.Field();
    EXPECT_FALSE(IsRectEmpty(&field.m_rcBoard));
    EXPECT_EQ(field.m_rcStart, GetControlRect(&m_dlg, IDCANCEL));
    EXPECT_EQ(field.m_rcExit, GetControlRect(&m_dlg, IDOK));
    EXPECT_EQ(field.m_rcStop, GetControlRect(&m_dlg, IDC_STOP));
    EXPECT_EQ(field.m_rcTitle, GetControlRect(&m_dlg, IDC_TITLE));
    EXPECT_TRUE(IsRectEmpty(&field.m_rcRead));
    EXPECT_EQ(field.m_screen.xFrom, field.m_rcBoard.left);
    EXPECT_EQ(field.m_screen.yTo, field.m_rcBoard.bottom);
    EXPECT_EQ(field.m_world.xTo, 500);
    EXPECT_EQ(field.m_world.yTo, 100);
    EXPECT_EQ(field.m_nGoal, 500);
    EXPECT_EQ(field.m_strTitle, "ぽよるん");
    EXPECT_TRUE(GetControlRect(&m_dlg, 4242).IsRectEmpty());
    for (int nID : {IDC_TITLE, IDCANCEL, IDOK, IDC_STOP, IDC_BOARD}) {
        const CWnd* pControl = m_dlg.GetDlgItem(nID);
        ASSERT_NE(pControl, nullptr);
        EXPECT_FALSE(pControl->IsWindowEnabled());
        EXPECT_EQ(pControl->GetStyle() & WS_VISIBLE, 0u);
    }
}

TEST_F(GameDlgTest, OnTheTitleScreenOnlyTheStartAndExitAreasAct) {
    const CGameField& field = m_dlg.Field();
    const RECT& start = field.m_rcStart;
    const RECT& exit = field.m_rcExit;
    const RECT& stop = field.m_rcStop;
    // The right and bottom edges, the Stop area and the board elsewhere do nothing.
    for (POINT pt :
         {POINT{start.right, start.top}, POINT{start.left, start.bottom},
          POINT{exit.right, exit.top}, POINT{exit.left, exit.bottom}, POINT{stop.left, stop.top},
          POINT{field.m_rcBoard.left, field.m_rcBoard.top}}) {
        Release(pt);
        EXPECT_EQ(Mode(), CFieldView::kModeTitle) << pt.x << "," << pt.y;
        EXPECT_FALSE(m_dlg.Task().IsBusy());
        EXPECT_FALSE(m_dlg.IsEnded());
    }
    // The bottom-right pixel of Exit is inside it.
    Release(POINT{exit.right - 1, exit.bottom - 1});
    EXPECT_TRUE(m_dlg.IsEnded());
    EXPECT_EQ(m_dlg.GetResult(), IDOK);
    EXPECT_EQ(m_dlg.GetSafeHwnd(), nullptr);
}

TEST_F(GameDlgTest, TheStartAreasTopLeftCornerStartsARun) {
    CFastSleep fast;
    const RECT& start = m_dlg.Field().m_rcStart;
    Release(POINT{start.left, start.top});
    EXPECT_EQ(Mode(), CFieldView::kModePlaying);
    EXPECT_TRUE(m_dlg.Task().IsBusy());
    EXPECT_TRUE(m_dlg.HasUpdate());  // the whole window, for the playing screen
    StopAndWait();
}

TEST_F(GameDlgTest, WhilePlayingOnlyTheStopAreaActs) {
    CFastSleep fast(0.2);
    const CGameField& field = m_dlg.Field();
    Release(POINT{field.m_rcStart.left, field.m_rcStart.top});
    ASSERT_EQ(Mode(), CFieldView::kModePlaying);
    const RECT& stop = field.m_rcStop;
    for (POINT pt : {POINT{field.m_rcStart.left, field.m_rcStart.top},
                     POINT{field.m_rcExit.left, field.m_rcExit.top}, POINT{stop.right, stop.top},
                     POINT{stop.left, stop.bottom}}) {
        Release(pt);
        EXPECT_EQ(Mode(), CFieldView::kModePlaying) << pt.x << "," << pt.y;
        EXPECT_FALSE(m_dlg.IsEnded());
    }
    Release(POINT{stop.right - 1, stop.bottom - 1});
    EXPECT_EQ(Mode(), CFieldView::kModeTitle);
    EXPECT_TRUE(m_dlg.HasUpdate());
    m_dlg.Task().Wait();
    EXPECT_EQ(m_dlg.Task().GetStatus(), "");  // stopped, not finished
}

TEST_F(GameDlgTest, ADoubleClickOnStartStartsARunAndTheSecondReleaseIsJudgedAgainstStop) {
    CFastSleep fast(0.2);
    const RECT& start = m_dlg.Field().m_rcStart;
    const LPARAM lParam = MAKELPARAM(start.left + 2, start.top + 2);
    m_dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    m_dlg.SendMessage(WM_LBUTTONUP, 0, lParam);
    m_dlg.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, lParam);
    m_dlg.SendMessage(WM_LBUTTONUP, 0, lParam);
    EXPECT_EQ(Mode(), CFieldView::kModePlaying);
    EXPECT_TRUE(m_dlg.Task().IsBusy());
    EXPECT_EQ(m_dlg.m_defaults[WM_LBUTTONDBLCLK], 1);
    StopAndWait();
}

TEST_F(GameDlgTest, ADoubleClickAnywhereAsksForAJump) {
    m_dlg.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 1));
    EXPECT_TRUE(m_dlg.Field().m_jumper.IsJumping());
    EXPECT_EQ(Mode(), CFieldView::kModeTitle);
    EXPECT_EQ(m_dlg.m_defaults[WM_LBUTTONDBLCLK], 1);
}

TEST_F(GameDlgTest, TimerZeroUpdatesControlsTimerOneTakesTheFocusAndOthersOnlyGetDefaults) {
    *m_dlg.Task().m_listIdleIDs.AddNew() = IDC_STOP;
    CWnd* pStop = m_dlg.GetDlgItem(IDC_STOP);
    CWnd* pOther = m_dlg.GetDlgItem(IDC_BOARD);
    pOther->SetFocus();

    m_dlg.SendMessage(WM_TIMER, 7, 0);
    EXPECT_FALSE(pStop->IsWindowEnabled());
    EXPECT_EQ(CWnd::GetFocus(), pOther);
    EXPECT_EQ(m_dlg.m_defaults[WM_TIMER], 1);

    m_dlg.SendMessage(WM_TIMER, CGameDlg::kControlsTimer, 0);
    EXPECT_TRUE(pStop->IsWindowEnabled());  // idle: the idle list is enabled
    EXPECT_EQ(CWnd::GetFocus(), pOther);

    m_dlg.SendMessage(WM_TIMER, CGameDlg::kFocusTimer, 0);
    EXPECT_EQ(CWnd::GetFocus(), &m_dlg);
    EXPECT_EQ(m_dlg.m_defaults[WM_TIMER], 3);
}

TEST_F(GameDlgTest, TheTimersRunOnTheirOwn) {
    m_dlg.GetDlgItem(IDC_BOARD)->SetFocus();
    EXPECT_TRUE(PumpUntil([this] { return CWnd::GetFocus() == &m_dlg; }, 3s));
    EXPECT_GE(m_dlg.m_defaults[WM_TIMER], 5);  // five 200 ms ticks per focus tick
}

TEST_F(GameDlgTest, AWaitingLoopWakesForTimersAndAKilledTimerIsSilent) {
    ASSERT_TRUE(m_dlg.KillTimer(CGameDlg::kControlsTimer));
    ASSERT_TRUE(m_dlg.KillTimer(CGameDlg::kFocusTimer));
    EXPECT_FALSE(m_dlg.KillTimer(CGameDlg::kFocusTimer));
    const int nBefore = m_dlg.m_defaults[WM_TIMER];
    PumpFor(std::chrono::milliseconds(CGameDlg::kControlsTimerMs * 2));
    EXPECT_EQ(m_dlg.m_defaults[WM_TIMER], nBefore);

    // Nothing but the timer can end these waits: without it the loop would block for good.
    constexpr UINT kQuickTimer = 9;
    constexpr UINT kQuickTimerMs = 20;
    ASSERT_EQ(m_dlg.SetTimer(kQuickTimer, kQuickTimerMs, nullptr), kQuickTimer);
    while (m_dlg.m_defaults[WM_TIMER] < nBefore + 3) {
        AfxPumpMessages(TRUE);
    }
    EXPECT_TRUE(m_dlg.KillTimer(kQuickTimer));
}

TEST_F(GameDlgTest, CommandTwoStartsARunOnTheTitleScreenAndCommandThreeAbortsIt) {
    CFastSleep fast(0.2);
    m_dlg.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(m_dlg.Task().IsBusy());
    EXPECT_EQ(Mode(), CFieldView::kModeTitle);
    EXPECT_FALSE(m_dlg.IsEnded());
    // The command alone asks for no repaint; only the worker's ticks repaint the board.
    RECT rcUpdate;
    BOOL bErase = FALSE;
    if (m_dlg.TakeUpdate(&rcUpdate, &bErase)) {
        EXPECT_EQ(rcUpdate, m_dlg.Field().m_rcBoard);
        EXPECT_FALSE(bErase);
    }
    m_dlg.SendMessage(WM_COMMAND, IDC_STOP, 0);
    m_dlg.Task().Wait();
    EXPECT_EQ(m_dlg.Task().GetStatus(), "");
    EXPECT_EQ(Mode(), CFieldView::kModeTitle);
}

TEST_F(GameDlgTest, AStartWhileTheStoppedWorkerEndsIsCarriedOutOnceItHasEnded) {
    CFastSleep fast(0.5);
    CGameField& field = m_dlg.Field();
    const POINT ptStart{field.m_rcStart.left + 1, field.m_rcStart.top + 1};
    const POINT ptStop{field.m_rcStop.left + 1, field.m_rcStop.top + 1};
    // Runs fn while the worker is held in a tick's repaint request, through the window's
    // wake-up: a Stop then leaves the worker still ending.
    const auto whileTheWorkerIsHeld = [&](const std::function<void()>& fn) {
        // Shared with the hook, which the worker may still be leaving when this returns.
        struct Hold {
            std::mutex mutex;
            std::condition_variable cv;
            bool bHeld = false;
            bool bReleased = false;
        };
        const auto pHold = std::make_shared<Hold>();
        const std::thread::id uiThread = std::this_thread::get_id();
        m_dlg.SetWakeHook([pHold, uiThread] {
            if (std::this_thread::get_id() == uiThread) {
                return;
            }
            std::unique_lock<std::mutex> lock(pHold->mutex);
            pHold->bHeld = true;
            pHold->cv.wait(lock, [&] { return pHold->bReleased; });
        });
        // Painting keeps the update area empty, so that the next tick wakes the window.
        const bool bHeld = PumpUntil([&] {
            std::lock_guard<std::mutex> lock(pHold->mutex);
            return pHold->bHeld;
        });
        if (bHeld) {
            fn();
        }
        {
            std::lock_guard<std::mutex> lock(pHold->mutex);
            pHold->bReleased = true;
        }
        pHold->cv.notify_all();
        m_dlg.SetWakeHook(nullptr);
        ASSERT_TRUE(bHeld);
    };

    Release(ptStart);
    whileTheWorkerIsHeld([&] {
        Release(ptStop);
        EXPECT_TRUE(m_dlg.Task().IsBusy());
        Release(ptStart);
        Release(ptStart);  // a second Start adds nothing
        EXPECT_TRUE(m_dlg.IsStartPending());
        EXPECT_EQ(Mode(), CFieldView::kModeTitle);  // the whole action waits
    });
    ASSERT_TRUE(PumpUntil([this] { return !m_dlg.IsStartPending(); }));
    EXPECT_EQ(Mode(), CFieldView::kModePlaying);
    EXPECT_TRUE(m_dlg.Task().IsBusy());

    // A Stop cancels a held-back Start.
    whileTheWorkerIsHeld([&] {
        Release(ptStop);
        Release(ptStart);
        EXPECT_TRUE(m_dlg.IsStartPending());
        m_dlg.SendMessage(WM_COMMAND, IDC_STOP, 0);
        EXPECT_FALSE(m_dlg.IsStartPending());
    });
    m_dlg.Task().Wait();
    PumpFor(50ms);
    EXPECT_FALSE(m_dlg.Task().IsBusy());
    EXPECT_EQ(Mode(), CFieldView::kModeTitle);
}

TEST_F(GameDlgTest, SpaceUpAndAStartARunFromTheTitleAndJumpDuringItAndNoOtherKeyActs) {
    struct KeyCase {
        UINT nKey;
        UINT nFlags;
        bool bActs;
    };
    // Esc would reach the template's Cancel button, which is disabled.
    const KeyCase kCases[] = {{VK_SPACE, 0, true},     {VK_UP, 0, true},
                              {VK_GAMEPAD_A, 0, true}, {VK_SPACE, KF_REPEAT, false},
                              {VK_ESCAPE, 0, false},   {VK_DOWN, 0, false},
                              {VK_GAMEPAD_B, 0, false}};
    for (const KeyCase& c : kCases) {
        m_dlg.SendMessage(WM_KEYDOWN, c.nKey, MAKELPARAM(1, c.nFlags));
        EXPECT_EQ(Mode() == CFieldView::kModePlaying, c.bActs) << c.nKey;
        EXPECT_EQ(m_dlg.Task().IsBusy() != FALSE, c.bActs) << c.nKey;
        StopAndWait();
        m_dlg.Field().m_nMode = CFieldView::kModeTitle;
    }
    m_dlg.SendMessage(WM_KEYDOWN, VK_SPACE, MAKELPARAM(1, 0));
    // A run stands the jumper at the start before its first step; a jump asked for after
    // that lasts.
    ASSERT_TRUE(PumpUntil([this] { return m_dlg.Field().m_jumper.GetPos().x > 0; }));
    for (const KeyCase& c : kCases) {
        m_dlg.Field().ResetJumper();
        m_dlg.SendMessage(WM_KEYDOWN, c.nKey, MAKELPARAM(1, c.nFlags));
        EXPECT_EQ(m_dlg.Field().m_jumper.IsJumping() != FALSE, c.bActs) << c.nKey;
        EXPECT_EQ(Mode(), CFieldView::kModePlaying) << c.nKey;
    }
    EXPECT_FALSE(m_dlg.IsEnded());
    StopAndWait();
}

TEST_F(GameDlgTest, AGamepadsStartButtonIsTheDrawnStartOnTheTitleAndTheDrawnStopDuringARun) {
    m_dlg.SendMessage(WM_KEYDOWN, VK_GAMEPAD_MENU, MAKELPARAM(1, 0));
    EXPECT_EQ(Mode(), CFieldView::kModePlaying);
    EXPECT_TRUE(m_dlg.Task().IsBusy());
    m_dlg.SendMessage(WM_KEYDOWN, VK_GAMEPAD_MENU, MAKELPARAM(1, 0));
    EXPECT_EQ(Mode(), CFieldView::kModeTitle);
    m_dlg.Task().Wait();
    EXPECT_FALSE(m_dlg.Task().IsBusy());
}

TEST_F(GameDlgTest, TheCloseButtonEndsTheDialogInsteadOfStartingARun) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID(testing_shell::SdlWindowOf(m_dlg));
    SDL_PushEvent(&event);
    ASSERT_TRUE(PumpUntil([this] { return m_dlg.IsEnded() == TRUE; }));
    EXPECT_EQ(m_dlg.GetResult(), IDOK);
    EXPECT_FALSE(m_dlg.Task().IsBusy());
}

TEST_F(GameDlgTest, AltF4EndsTheDialog) {
    m_dlg.SendMessage(WM_SYSKEYDOWN, VK_F4, 0);
    EXPECT_TRUE(m_dlg.IsEnded());
    EXPECT_EQ(m_dlg.GetResult(), IDOK);
}

TEST_F(GameDlgTest, AFinishedGameRepaintsTheBoardAndReturnsToTheTitle) {
    CFastSleep fast;
    const RECT& start = m_dlg.Field().m_rcStart;
    Release(POINT{start.left, start.top});
    ASSERT_TRUE(PumpUntil([this] { return m_dlg.Task().GetStatus() == "FAIL!!"; }));
    ASSERT_TRUE(PumpUntil([this] { return Mode() == CFieldView::kModeTitle; }));
    EXPECT_TRUE(PumpUntil([this] { return m_dlg.m_defaults[WM_PAINT] > 3; }));
    m_dlg.Task().Wait();
}

TEST_F(GameDlgTest, AnInvalidationDuringTheDefaultPaintLeadsToAnotherPaint) {
    m_dlg.Field().m_nMode = CFieldView::kModePlaying;
    // The run's outcome arrives from the worker while the paint's default processing runs.
    m_dlg.m_fnDuringDefaultPaint = [this] {
        std::thread([this] {
            m_dlg.Task().SetStatus(CString(CGameTask::kFailText));
            const RECT rcBoard = m_dlg.Field().m_rcBoard;
            m_dlg.InvalidateRect(&rcBoard, TRUE);
        }).join();
    };
    m_dlg.Invalidate(TRUE);
    PumpFor(50ms);
    EXPECT_GT(CountOnScreen(m_dlg, m_dlg.Field().m_rcBoard, colours::kWhite), kMinInkPixels);
}

TEST_F(GameDlgTest, ARunThatEndedWhileMinimisedGivesWayToTheTitleOnRestoreAndOnExpose) {
    CFastSleep fast;
    for (const Uint8 nEvent : {SDL_WINDOWEVENT_RESTORED, SDL_WINDOWEVENT_EXPOSED}) {
        m_dlg.m_bIconic = TRUE;
        Release(POINT{m_dlg.Field().m_rcStart.left, m_dlg.Field().m_rcStart.top});
        ASSERT_TRUE(PumpUntil([this] { return !m_dlg.Task().IsBusy(); }));
        PumpFor(20ms);  // the run's last repaints, all while minimised
        m_dlg.m_bIconic = FALSE;
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = nEvent;
        event.window.windowID = SDL_GetWindowID(testing_shell::SdlWindowOf(m_dlg));
        SDL_PushEvent(&event);
        PumpFor(20ms);
        EXPECT_GT(CountOnScreen(m_dlg, m_dlg.Field().m_rcTitle, colours::kRed), kMinInkPixels)
            << static_cast<int>(nEvent);
    }
}

TEST_F(GameDlgTest, TheMinimisedIconIsCentredWithTruncationTowardZero) {
    SDL_SetWindowSize(testing_shell::SdlWindowOf(m_dlg), 28, 40);
    ASSERT_TRUE(PumpUntil([this] {
        RECT rc;
        m_dlg.GetClientRect(&rc);
        return rc.right == 28;
    }));
    PumpFor(20ms);
    m_dlg.m_defaults.clear();
    m_dlg.m_bIconic = TRUE;
    m_dlg.Invalidate(TRUE);
    PumpFor(20ms);

    // x = (28 - 32 + 1) / 2 = -1, y = (40 - 32 + 1) / 2 = 4.
    SDL_Surface* pSurface = SDL_GetWindowSurface(testing_shell::SdlWindowOf(m_dlg));
    ASSERT_NE(pSurface, nullptr);
    ASSERT_EQ(pSurface->w, 28);
    const ICONIMAGE* pImage = AfxFindIconImage(m_dlg.Icon(), 32);
    ASSERT_NE(pImage, nullptr);
    int nMismatches = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 28; ++x) {
            const auto* pRow =
                static_cast<const Uint8*>(pSurface->pixels) + (y + 4) * pSurface->pitch;
            Uint8 r, g, b;
            SDL_GetRGB(reinterpret_cast<const Uint32*>(pRow)[x], pSurface->format, &r, &g, &b);
            // Round the pictured bodies the erased face shows through.
            const COLORREF crExpected = AfxIsIconPixelTransparent(*pImage, x + 1, y)
                                            ? GetSysColor(COLOR_BTNFACE)
                                            : AfxGetIconPixel(m_dlg.Icon(), *pImage, x + 1, y);
            nMismatches += RGB(r, g, b) == crExpected ? 0 : 1;
        }
    }
    EXPECT_EQ(nMismatches, 0);
    EXPECT_EQ(m_dlg.m_defaults[WM_PAINT], 0);  // the minimised path gets no default processing
}

TEST_F(GameDlgTest, LeavingDuringARunClosesTheWindowAtOnceAndEndsCleanly) {
    CFastSleep fast(0.5);
    const RECT& start = m_dlg.Field().m_rcStart;
    Release(POINT{start.left, start.top});
    m_dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(m_dlg.IsEnded());
    EXPECT_EQ(m_dlg.GetSafeHwnd(), nullptr);
    EXPECT_EQ(m_dlg.System(), nullptr);
    EXPECT_TRUE(m_dlg.Task().IsBusy());  // the worker ends later; the fixture waits for it
}

TEST(GameDlgTeardown, LeavingDuringTheOutcomePauseClosesAtOnceAndWaitsForTheWorker) {
    CFastSleep fast(0.05);
    auto pDlg = std::make_unique<CTestGameDlg>();
    ASSERT_TRUE(pDlg->Create());
    const RECT start = pDlg->Field().m_rcStart;
    pDlg->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(start.left, start.top));
    ASSERT_TRUE(PumpUntil([&] { return pDlg->Task().GetStatus() == "FAIL!!"; }));
    pDlg->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(pDlg->GetSafeHwnd(), nullptr);
    EXPECT_TRUE(pDlg->Task().IsBusy());
    pDlg.reset();  // waits out the rest of the 100 ms pause
}

// The application, with its help handler's last step observed.
class CHelpProbeApp : public CGameApp {
public:
    void WinHelp(DWORD /*dwData*/, UINT /*nCmd*/) override { ++m_nHelpCalls; }
    int m_nHelpCalls = 0;
};

TEST(GameApp, TheHelpCommandGoesToTheFrameworksHelpHandler) {
    CHelpProbeApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_TRUE(app.OnCmdMsg(ID_HELP));
    EXPECT_EQ(app.m_nHelpCalls, 1);
    EXPECT_FALSE(app.OnCmdMsg(IDOK));
    EXPECT_EQ(app.m_nHelpCalls, 1);
}

}  // namespace

namespace {

UINT Focus(const CWnd& dlg) {
    return AfxGetAccessibleFocus(&dlg);
}

}  // namespace

TEST_F(GameDlgTest, TabShiftTabAndTheArrowsMoveTheFocusRoundTheScreensButtonsAndEnterPressesIt) {
    EXPECT_EQ(Focus(m_dlg), static_cast<UINT>(IDCANCEL));
    EXPECT_TRUE(IsRectEmpty(&m_dlg.Field().m_rcFocus));  // no frame until the keys are used
    const struct {
        UINT nKey;
        bool bShift;
        UINT nFocus;
    } kMoves[] = {{VK_TAB, false, IDOK},
                  {VK_TAB, false, IDCANCEL},
                  {VK_TAB, true, IDOK},
                  {VK_LEFT, false, IDCANCEL},
                  {VK_RIGHT, false, IDOK}};
    for (const auto& move : kMoves) {
        AfxSetShiftDown(move.bShift);
        m_dlg.SendMessage(WM_KEYDOWN, move.nKey, MAKELPARAM(1, 0));
        EXPECT_EQ(Focus(m_dlg), move.nFocus) << move.nKey;
    }
    AfxSetShiftDown(false);
    PumpFor(20ms);
    EXPECT_EQ(m_dlg.Field().m_rcFocus, m_dlg.Field().m_rcExit);
    m_dlg.SendMessage(WM_KEYDOWN, VK_LEFT, MAKELPARAM(1, 0));
    m_dlg.SendMessage(WM_KEYDOWN, VK_RETURN, MAKELPARAM(1, 0));
    EXPECT_EQ(Mode(), CFieldView::kModePlaying);
    // The run's screen has Stop alone, and the focus on it, whatever started the run.
    PumpFor(20ms);
    EXPECT_EQ(Focus(m_dlg), static_cast<UINT>(IDC_STOP));
    m_dlg.SendMessage(WM_KEYDOWN, VK_TAB, MAKELPARAM(1, 0));
    EXPECT_EQ(Focus(m_dlg), static_cast<UINT>(IDC_STOP));
    m_dlg.SendMessage(WM_KEYDOWN, VK_RETURN, MAKELPARAM(1, 0));
    EXPECT_EQ(Mode(), CFieldView::kModeTitle);
    StopAndWait();
    PumpFor(20ms);
    EXPECT_EQ(Focus(m_dlg), static_cast<UINT>(IDCANCEL));
    m_dlg.SendMessage(WM_KEYDOWN, VK_RIGHT, MAKELPARAM(1, 0));
    m_dlg.SendMessage(WM_KEYDOWN, VK_RETURN, MAKELPARAM(1, 0));
    EXPECT_TRUE(m_dlg.IsEnded());
}

// A voice of the user's language speaks the title: in Japanese as it is written, in any other
// language, and in the C locale, as it reads.
TEST(GameDlgTitle, TheTitlesAccessibleNameIsItsReadingOutsideJapanese) {
    const struct {
        const char* pszLocale;
        const char* pszName;
    } kCases[] = {{HOPLIN_TEST_JA_LOCALE, "ぽよるん"},
                  {"C", CBoardScreen::kTitleReading},
                  {HOPLIN_TEST_EN_LOCALE, CBoardScreen::kTitleReading}};
    for (const auto& c : kCases) {
        setenv("LC_ALL", c.pszLocale, 1);
        CTestGameDlg dlg;
        ASSERT_TRUE(dlg.Create());
        const std::vector<AccessibleItem>& items = dlg.System()->accessibleItems;
        const auto it = std::find_if(items.begin(), items.end(), [](const AccessibleItem& item) {
            return item.nID == static_cast<UINT>(IDC_TITLE);
        });
        ASSERT_NE(it, items.end());
        EXPECT_EQ(it->strName, c.pszName) << c.pszLocale;
    }
    setenv("LC_ALL", "C", 1);
}
