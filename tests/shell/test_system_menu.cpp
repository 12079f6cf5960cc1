#include <SDL.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <thread>

#include "app/about_dlg.h"
#include "app/game_app.h"
#include "app/resource.h"
#include "platform/base/translate.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/window/menu.h"
#include "platform/window/message_loop.h"
#include "platform/window/screen.h"
#include "platform/window/top_windows.h"
#include "shell_fixture.h"
#include "test_game_dlg.h"

using testing_shell::CFastSleep;
using testing_shell::CTestGameDlg;
using testing_shell::PumpFor;
using testing_shell::PumpUntil;

namespace {

using namespace std::chrono_literals;

constexpr const char* kAboutEntry = "Hoplin のﾊﾞｰｼﾞｮﾝ情報(&A)...";

// The About box opened over the main window, once it is there.
bool IsAboutOpen(const CWnd& main) {
    const CWnd* pTop = AfxGetTopWindow();
    return pTop != nullptr && pTop != &main;
}

class SystemMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dlg.Create());
        // The About box has no parent: the application's main window owns it.
        m_app.m_pMainWnd = &m_dlg;
        PumpFor(20ms);
    }

    // Sends an SDL event to the main window, as the screen would.
    void PushKey(SDL_Keycode key, Uint16 mod = KMOD_NONE) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.windowID = SDL_GetWindowID(testing_shell::SdlWindowOf(m_dlg));
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
        PumpFor(10ms);
    }
    void PushButton(Uint32 type, Uint8 button, POINT pt) {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = SDL_GetWindowID(testing_shell::SdlWindowOf(m_dlg));
        event.button.button = button;
        event.button.clicks = 1;
        event.button.x = pt.x;
        event.button.y = pt.y;
        SDL_PushEvent(&event);
        PumpFor(10ms);
    }
    void PushMotion(POINT pt) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = SDL_GetWindowID(testing_shell::SdlWindowOf(m_dlg));
        event.motion.x = pt.x;
        event.motion.y = pt.y;
        SDL_PushEvent(&event);
        PumpFor(10ms);
    }
    void RightClick(POINT pt) {
        PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, pt);
        PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, pt);
    }
    bool IsMenuOpen() const {
        const RECT rc = m_dlg.GetSystemMenuRect();
        return !IsRectEmpty(&rc);
    }
    COLORREF SurfacePixel(POINT pt) {
        SDL_Surface* pSurface = SDL_GetWindowSurface(testing_shell::SdlWindowOf(m_dlg));
        const auto* pRow = static_cast<const Uint8*>(pSurface->pixels) + pt.y * pSurface->pitch;
        Uint8 r, g, b;
        SDL_GetRGB(reinterpret_cast<const Uint32*>(pRow)[pt.x], pSurface->format, &r, &g, &b);
        return RGB(r, g, b);
    }

    CGameApp m_app;
    CTestGameDlg m_dlg;
};

TEST_F(SystemMenuTest, TheMenuStartsWithCloseAndEndsWithASeparatorAndTheAboutEntry) {
    CMenu* pMenu = m_dlg.GetSystemMenu(FALSE);
    ASSERT_NE(pMenu, nullptr);
    ASSERT_EQ(pMenu->GetMenuItemCount(), 5);
    EXPECT_EQ(pMenu->GetMenuItemID(0), SC_CLOSE);
    EXPECT_EQ(pMenu->GetMenuString(0), "&Close\tAlt+F4");
    // Sound is on, and the audio cues off, by default.
    EXPECT_EQ(pMenu->GetMenuItemID(1), static_cast<UINT>(IDM_SOUND));
    EXPECT_EQ(pMenu->Items()[1].nFlags, MF_STRING | MF_CHECKED);
    EXPECT_EQ(pMenu->GetMenuItemID(2), static_cast<UINT>(IDM_AUDIOCUES));
    EXPECT_EQ(pMenu->Items()[2].nFlags, MF_STRING | MF_UNCHECKED);
    EXPECT_EQ(pMenu->Items()[3].nFlags, MF_SEPARATOR);
    EXPECT_EQ(pMenu->GetMenuItemID(4), static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_EQ(pMenu->GetMenuString(4), kAboutEntry);
    // Reverting puts the menu back as the platform made it.
    EXPECT_EQ(m_dlg.GetSystemMenu(TRUE), nullptr);
    EXPECT_EQ(m_dlg.GetSystemMenu(FALSE)->GetMenuItemCount(), 1);
}

TEST(SystemMenuWithoutString, AnEmptyAboutStringAppendsNothing) {
    static const STRINGRESOURCE kEmpty[] = {{IDS_ABOUTBOX, ""}};
    AfxSetStringTable(kEmpty, 1);
    CTestGameDlg dlg;
    ASSERT_TRUE(dlg.Create());
    CMenu* pMenu = dlg.GetSystemMenu(FALSE);
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(pMenu->GetMenuItemCount(), 3);
    EXPECT_EQ(pMenu->GetMenuItemID(2), static_cast<UINT>(IDM_AUDIOCUES));
    RegisterResources();
}

// The platform's entries and the sound's speak the user's language; the About entry and box
// come in the resources' language that is the user's, English for a user of another language,
// and in the C locale, which has none, as the resources are.
TEST(SystemMenuLanguage, TheEntriesFollowTheLocaleAndTheAboutEntryAndBoxTheResourcesLanguage) {
    struct Case {
        const char* pszLocale;
        const char* pszClose;
        const char* pszSound;
        const char* pszAudioCues;
        const char* pszAbout;
        const char* pszAboutCaption;
    };
    const Case kCases[] = {
        {HOPLIN_TEST_JA_LOCALE, "閉じる(&C)\tAlt+F4", "サウンド(&S)", "音の合図(&U)", kAboutEntry,
         "Hoplinのﾊﾞｰｼﾞｮﾝ情報"},
        {"C", "&Close\tAlt+F4", "&Sound", "A&udio cues", kAboutEntry, "Hoplinのﾊﾞｰｼﾞｮﾝ情報"},
        {HOPLIN_TEST_EN_LOCALE, "&Close\tAlt+F4", "&Sound", "A&udio cues", "&About Hoplin...",
         "About Hoplin"}};
    AfxSetTranslationsDir(HOPLIN_BUILD_LOCALEDIR);
    setenv("LOCPATH", HOPLIN_TEST_LOCPATH, 1);
    for (const Case& c : kCases) {
        setenv("LC_ALL", c.pszLocale, 1);
        ASSERT_NE(std::setlocale(LC_MESSAGES, ""), nullptr) << c.pszLocale;
        CTestGameDlg dlg;
        ASSERT_TRUE(dlg.Create());
        CMenu* pMenu = dlg.GetSystemMenu(FALSE);
        ASSERT_NE(pMenu, nullptr);
        EXPECT_EQ(pMenu->GetMenuString(0), c.pszClose) << c.pszLocale;
        EXPECT_EQ(pMenu->GetMenuString(1), c.pszSound) << c.pszLocale;
        EXPECT_EQ(pMenu->GetMenuString(2), c.pszAudioCues) << c.pszLocale;
        EXPECT_EQ(pMenu->GetMenuString(4), c.pszAbout) << c.pszLocale;
        EXPECT_STREQ(AfxFindDialogTemplate(IDD_ABOUTBOX)->pszCaption, c.pszAboutCaption);
    }
}

TEST_F(SystemMenuTest, ARightClickOpensTheMenuAtThePointerAndEscapeClosesIt) {
    const POINT pt{30, 40};
    RightClick(pt);
    ASSERT_TRUE(IsMenuOpen());
    const RECT rcMenu = m_dlg.GetSystemMenuRect();
    EXPECT_EQ(rcMenu.left, pt.x);
    EXPECT_EQ(rcMenu.top, pt.y);
    // Drawn over the window: its border and its face.
    EXPECT_NE(SurfacePixel(POINT{rcMenu.left, rcMenu.top}),
              SurfacePixel(POINT{rcMenu.left - 1, rcMenu.top}));
    PushKey(SDLK_ESCAPE);
    EXPECT_FALSE(IsMenuOpen());
    EXPECT_FALSE(m_dlg.IsEnded());
    EXPECT_EQ(m_dlg.m_defaults[WM_SYSCOMMAND], 0);
}

TEST_F(SystemMenuTest, AltSpaceOpensTheMenuAtTheClientsTopLeft) {
    PushKey(SDLK_SPACE, KMOD_LALT);
    ASSERT_TRUE(IsMenuOpen());
    EXPECT_EQ(m_dlg.GetSystemMenuRect().left, 0);
    EXPECT_EQ(m_dlg.GetSystemMenuRect().top, 0);
    PushKey(SDLK_ESCAPE);
    EXPECT_FALSE(IsMenuOpen());
    EXPECT_FALSE(m_dlg.IsEnded());
}

TEST_F(SystemMenuTest, ClicksWhileTheMenuIsOpenAreTheMenusNotTheDialogs) {
    CFastSleep fast;
    RightClick(POINT{0, 0});
    ASSERT_TRUE(IsMenuOpen());
    const RECT& start = m_dlg.Field().m_rcStart;
    const POINT ptStart{start.left + 1, start.top + 1};
    const RECT rcMenu = m_dlg.GetSystemMenuRect();
    ASSERT_FALSE(PtInRect(&rcMenu, ptStart));
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, ptStart);  // outside: closes the menu
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, ptStart);
    EXPECT_FALSE(IsMenuOpen());
    EXPECT_EQ(m_dlg.Field().m_nMode, CFieldView::kModeTitle);
    EXPECT_FALSE(m_dlg.Task().IsBusy());
}

TEST_F(SystemMenuTest, TheKeysMoveTheHighlightAndEnterChoosesClose) {
    RightClick(POINT{5, 5});
    PushKey(SDLK_DOWN);  // Close
    PushKey(SDLK_UP);    // the About entry, round the top
    PushKey(SDLK_UP);    // Audio cues, past the separator
    PushKey(SDLK_DOWN);  // About again
    PushKey(SDLK_DOWN);  // Close, round the bottom
    PushKey(SDLK_RETURN);
    EXPECT_FALSE(IsMenuOpen());
    EXPECT_TRUE(m_dlg.IsEnded());
    EXPECT_EQ(m_dlg.GetResult(), IDOK);
}

TEST_F(SystemMenuTest, ShiftF10AndTheMenuKeyOpenTheMenuAsAContextMenu) {
    for (const Uint16 mod : {KMOD_LSHIFT, KMOD_NONE}) {
        PushKey(mod == KMOD_NONE ? SDLK_APPLICATION : SDLK_F10, mod);
        EXPECT_TRUE(IsMenuOpen()) << mod;
        PushKey(SDLK_ESCAPE);
        EXPECT_FALSE(IsMenuOpen());
    }
    PushKey(SDLK_F10);  // alone, nothing
    EXPECT_FALSE(IsMenuOpen());
}

TEST_F(SystemMenuTest, AltF4ClosesTheOpenMenuAndThenTheWindow) {
    RightClick(POINT{20, 20});
    ASSERT_TRUE(IsMenuOpen());
    PushKey(SDLK_F4);
    EXPECT_TRUE(IsMenuOpen());  // F4 alone is nothing to the menu
    PushKey(SDLK_F4, KMOD_LALT);
    EXPECT_FALSE(IsMenuOpen());
    EXPECT_TRUE(m_dlg.IsEnded());
}

TEST_F(SystemMenuTest, TheMouseHighlightsAnEntryAndAClickOnItChoosesIt) {
    RightClick(POINT{5, 5});
    const RECT rcMenu = m_dlg.GetSystemMenuRect();
    const POINT ptClose{rcMenu.left + 20, rcMenu.top + 8};
    const COLORREF crBefore = SurfacePixel(POINT{rcMenu.left + 3, ptClose.y});
    PushMotion(ptClose);
    EXPECT_NE(SurfacePixel(POINT{rcMenu.left + 3, ptClose.y}), crBefore);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, ptClose);
    EXPECT_TRUE(IsMenuOpen());
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, ptClose);
    EXPECT_TRUE(m_dlg.IsEnded());
}

TEST_F(SystemMenuTest, TheMnemonicChoosesTheAboutEntryWhichOpensTheAboutBox) {
    CDialog* pAbout = nullptr;
    CString strCaption;
    BOOL bOwnerEnabled = TRUE;
    m_dlg.PostAction([&] { return IsAboutOpen(m_dlg); },
                     [&] {
                         pAbout = dynamic_cast<CDialog*>(AfxGetTopWindow());
                         ASSERT_NE(pAbout, nullptr);
                         strCaption = SDL_GetWindowTitle(testing_shell::SdlWindowOf(*pAbout));
                         bOwnerEnabled = m_dlg.IsWindowEnabled();
                         pAbout->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
                     });
    RightClick(POINT{5, 5});
    PushKey(SDLK_a);
    ASSERT_NE(pAbout, nullptr);
    EXPECT_EQ(strCaption, "Hoplinのﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_FALSE(bOwnerEnabled);
    EXPECT_TRUE(m_dlg.IsWindowEnabled());
    EXPECT_FALSE(IsMenuOpen());
    EXPECT_FALSE(m_dlg.IsEnded());
}

// Opens the About box with the system command and, inside its modal loop, runs fnInside on
// it; answers the box's result.
int RunAboutBox(CTestGameDlg& dlg, const std::function<void(CDialog&)>& fnInside) {
    int nResult = -2;
    dlg.PostAction([&] { return IsAboutOpen(dlg); },
                   [&] {
                       auto* pAbout = dynamic_cast<CDialog*>(AfxGetTopWindow());
                       ASSERT_NE(pAbout, nullptr);
                       ASSERT_NE(pAbout, &dlg);
                       fnInside(*pAbout);
                       nResult = pAbout->IsEnded() ? pAbout->GetResult() : -1;
                   });
    dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    return nResult;
}

TEST_F(SystemMenuTest, TheAboutBoxShowsTheIconTheVersionAndOkCentredOnItsOwner) {
    RunAboutBox(m_dlg, [&](CDialog& about) {
        RECT rcAbout, rcOwner;
        about.GetWindowRect(&rcAbout);
        m_dlg.GetWindowRect(&rcOwner);
        EXPECT_NEAR(rcAbout.left + rcAbout.right, rcOwner.left + rcOwner.right, 2);
        EXPECT_NEAR(rcAbout.top + rcAbout.bottom, rcOwner.top + rcOwner.bottom, 2);
        int nIcons = 0, nTexts = 0;
        for (const auto& pControl : about.GetControls()) {
            if ((pControl->GetStyle() & 0x1F) == SS_ICON && pControl->GetClassName() == "static") {
                ++nIcons;
            } else if (pControl->GetWindowText() == "Hoplin Version 1.0") {
                ++nTexts;
            }
        }
        EXPECT_EQ(nIcons, 1);
        EXPECT_EQ(nTexts, 1);
        const CWnd* pOk = about.GetDlgItem(IDOK);
        ASSERT_NE(pOk, nullptr);
        EXPECT_EQ(pOk->GetWindowText(), "OK");
        about.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    });
}

TEST_F(SystemMenuTest, OkEnterEscapeAndTheCloseButtonEachCloseTheAboutBox) {
    const int nByButton = RunAboutBox(m_dlg, [](CDialog& about) {
        RECT rcOk = GetControlRect(&about, IDOK);
        const LPARAM lParam =
            MAKELPARAM((rcOk.left + rcOk.right) / 2, (rcOk.top + rcOk.bottom) / 2);
        about.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
        EXPECT_FALSE(about.IsEnded());  // pressed, not yet released
        about.SendMessage(WM_LBUTTONUP, 0, lParam);
    });
    EXPECT_EQ(nByButton, IDOK);
    EXPECT_EQ(
        RunAboutBox(m_dlg, [](CDialog& about) { about.SendMessage(WM_KEYDOWN, VK_RETURN, 0); }),
        IDOK);
    EXPECT_EQ(
        RunAboutBox(m_dlg, [](CDialog& about) { about.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0); }),
        IDCANCEL);
    EXPECT_EQ(
        RunAboutBox(m_dlg, [](CDialog& about) { about.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }),
        IDCANCEL);
    EXPECT_FALSE(m_dlg.IsEnded());
    EXPECT_TRUE(m_dlg.IsWindowEnabled());
}

TEST_F(SystemMenuTest, ARunKeepsTickingAndTheOwnerRefusesInputWhileTheBoxIsOpen) {
    CFastSleep fast(0.1);
    const RECT& start = m_dlg.Field().m_rcStart;
    m_dlg.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(start.left, start.top));
    ASSERT_TRUE(m_dlg.Task().IsBusy());
    RunAboutBox(m_dlg, [&](CDialog& about) {
        const int x0 = m_dlg.Field().m_jumper.GetPos().x;
        EXPECT_TRUE(PumpUntil([&] { return m_dlg.Field().m_jumper.GetPos().x >= x0 + 30; }));
        // A click on the owner's Stop area goes nowhere.
        const RECT& stop = m_dlg.Field().m_rcStop;
        PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, POINT{stop.left + 1, stop.top + 1});
        PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, POINT{stop.left + 1, stop.top + 1});
        EXPECT_EQ(m_dlg.Field().m_nMode, CFieldView::kModePlaying);
        const int nPaints = m_dlg.m_defaults[WM_PAINT];
        EXPECT_TRUE(PumpUntil([&] { return m_dlg.m_defaults[WM_PAINT] > nPaints; }));
        about.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    });
    m_dlg.Task().Abort();
    m_dlg.Task().Wait();
}

// The platform's screen, but for an Open that lasts until the run's worker has ticked twice:
// the worker then wakes the UI thread while a window opens, as it may at any time.
class CSlowOpenScreen : public CScreenDriver {
public:
    explicit CSlowOpenScreen(CJumper& jumper) : m_jumper(jumper) {}

    HSCREEN Open(const ScreenWindowSpec& wanted, RECT* prcClient) override {
        const HSCREEN hScreen = m_real.Open(wanted, prcClient);
        const int x0 = m_jumper.GetPos().x;
        while (m_jumper.GetPos().x < x0 + 2 * CJumper::kRunPace) {
            std::this_thread::sleep_for(1ms);
        }
        return hScreen;
    }
    void Show(HSCREEN h) override { m_real.Show(h); }
    void Activate(HSCREEN h) override { m_real.Activate(h); }
    void Minimize(HSCREEN h) override { m_real.Minimize(h); }
    bool IsMinimized(HSCREEN h) const override { return m_real.IsMinimized(h); }
    void Close(HSCREEN h) override { m_real.Close(h); }
    const char* LastError() const override { return m_real.LastError(); }
    HSURFACE Surface(HSCREEN h) override { return m_real.Surface(h); }
    void Present(HSCREEN h, const RECT* prc) override { m_real.Present(h, prc); }
    void SetIcon(HSCREEN h, HICON hIcon, bool bBig) override { m_real.SetIcon(h, hIcon, bBig); }
    bool OpenSystemMenu(HSCREEN h) override { return m_real.OpenSystemMenu(h); }
    void Gather(int nTimeoutMs, CWaitList* pWaits) override { m_real.Gather(nTimeoutMs, pWaits); }
    bool NextEvent(ScreenEvent* pEvent) override { return m_real.NextEvent(pEvent); }
    void Wake() override { m_real.Wake(); }

private:
    CScreenDriver& m_real = AfxSdlScreen();
    CJumper& m_jumper;
};

// Opening a window writes nothing that the worker reads as it wakes the UI thread: under
// ThreadSanitizer a race there fails the test.
TEST_F(SystemMenuTest, TheAboutBoxOpensWhileARunsWorkerWakesTheWindow) {
    CFastSleep fast(0.1);
    CSlowOpenScreen screen(m_dlg.Field().m_jumper);
    AfxSetScreenDriver(&screen);
    m_dlg.SendMessage(WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(m_dlg.Task().IsBusy());
    EXPECT_EQ(
        RunAboutBox(m_dlg, [](CDialog& about) { about.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0); }),
        IDCANCEL);
    m_dlg.Task().Abort();
    m_dlg.Task().Wait();
    AfxSetScreenDriver(&AfxSdlScreen());
}

TEST_F(SystemMenuTest, OtherSystemCommandsGetDefaultProcessing) {
    constexpr UINT SC_RESTORE = 0xF120;
    m_dlg.SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(m_dlg.m_defaults[WM_SYSCOMMAND], 1);
    EXPECT_FALSE(m_dlg.IsEnded());
    m_dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(m_dlg.m_defaults[WM_SYSCOMMAND], 2);
    EXPECT_TRUE(m_dlg.IsEnded());
}

}  // namespace
