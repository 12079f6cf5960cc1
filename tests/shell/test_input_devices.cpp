// Playing without a mouse: gamepads, through SDL's virtual joysticks, and a touch screen's
// taps, as SDL hands them over.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>

#include "app/game_app.h"
#include "app/resource.h"
#include "platform/sdl/gamepads.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/window/message_loop.h"
#include "platform/window/top_windows.h"
#include "shell_fixture.h"
#include "test_game_dlg.h"

using testing_shell::CTestGameDlg;
using testing_shell::PumpFor;
using testing_shell::PumpUntil;

namespace {

using namespace std::chrono_literals;

// A gamepad plugged in as SDL's virtual joystick, which the test holds open to press its
// buttons; unplugged when it goes.
class CVirtualPad {
public:
    CVirtualPad() {
        // The game starts SDL's game controllers only when the system has a joystick, which
        // a virtual one is not; the test starts them, and the game hears of the pad as of any.
        SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        const int nIndex = SDL_JoystickAttachVirtualEx(&desc);
        m_pJoystick = nIndex >= 0 ? SDL_JoystickOpen(nIndex) : nullptr;
        m_id = m_pJoystick != nullptr ? SDL_JoystickInstanceID(m_pJoystick) : -1;
    }
    ~CVirtualPad() { Unplug(); }
    CVirtualPad(const CVirtualPad&) = delete;
    CVirtualPad& operator=(const CVirtualPad&) = delete;

    bool IsPluggedIn() const { return m_pJoystick != nullptr; }
    // Whether the program has the pad open as a game controller.
    bool IsOpenedByTheGame() const { return SDL_GameControllerFromInstanceID(m_id) != nullptr; }
    // Presses and releases the button. The pass of the message loop that takes in a change of
    // the pad's state also delivers what it means.
    void Press(SDL_GameControllerButton button) {
        for (const Uint8 state : {SDL_PRESSED, SDL_RELEASED}) {
            SDL_JoystickSetVirtualButton(m_pJoystick, button, state);
            EXPECT_TRUE(PumpUntil([this, button, state] {
                return SDL_JoystickGetButton(m_pJoystick, button) == state;
            }));
        }
    }
    // Unplugs the pad, and waits for the program to let it go.
    void Unplug() {
        if (m_pJoystick != nullptr) {
            const int nIndex = IndexOf(m_id);
            SDL_JoystickClose(m_pJoystick);
            m_pJoystick = nullptr;
            SDL_JoystickDetachVirtual(nIndex);
            EXPECT_TRUE(PumpUntil([this] { return !IsOpenedByTheGame(); }));
        }
    }

private:
    static int IndexOf(SDL_JoystickID id) {
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id) {
                return i;
            }
        }
        return -1;
    }

    SDL_Joystick* m_pJoystick = nullptr;
    SDL_JoystickID m_id = -1;
};

class InputDeviceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // SDL hands a pad's input only to a program that has the keyboard focus, and on the
        // dummy display no window ever has it.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    }
    static void TearDownTestSuite() { SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "0"); }

    void SetUp() override {
        ASSERT_TRUE(m_dlg.Create());
        // The About box has no parent: the application's main window owns it.
        m_app.m_pMainWnd = &m_dlg;
        PumpFor(20ms);
    }
    void TearDown() override {
        m_dlg.Task().Abort();
        m_dlg.Task().Wait();
    }

    // A pad that the game has taken in.
    static void PlugIn(CVirtualPad& pad) {
        ASSERT_TRUE(pad.IsPluggedIn()) << SDL_GetError();
        ASSERT_TRUE(PumpUntil([&pad] { return pad.IsOpenedByTheGame(); }));
    }
    int Mode() { return m_dlg.Field().m_nMode; }
    bool IsJumping() { return m_dlg.Field().m_jumper.IsJumping() != FALSE; }
    // Waits for a run's first step: it stands the jumper at the start before it.
    bool FirstStep() {
        return PumpUntil([this] { return m_dlg.Field().m_jumper.GetPos().x > 0; });
    }

    CGameApp m_app;
    CTestGameDlg m_dlg;
};

TEST_F(InputDeviceTest, APadsSouthButtonStartsARunAndThenJumps) {
    CVirtualPad pad;
    PlugIn(pad);
    pad.Press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(Mode(), CFieldView::kModePlaying);
    ASSERT_TRUE(m_dlg.Task().IsBusy());
    ASSERT_TRUE(FirstStep());
    EXPECT_FALSE(IsJumping());
    pad.Press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_TRUE(IsJumping());
}

TEST_F(InputDeviceTest, APadsStartButtonStartsARunAndThenStopsItAndNoOtherButtonActs) {
    CVirtualPad pad;
    PlugIn(pad);
    for (const auto button :
         {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y,
          SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_DPAD_UP}) {
        pad.Press(button);
        EXPECT_EQ(Mode(), CFieldView::kModeTitle) << button;
        EXPECT_FALSE(m_dlg.Task().IsBusy()) << button;
    }
    pad.Press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(Mode(), CFieldView::kModePlaying);
    EXPECT_TRUE(m_dlg.Task().IsBusy());
    pad.Press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(Mode(), CFieldView::kModeTitle);
    EXPECT_TRUE(PumpUntil([this] { return !m_dlg.Task().IsBusy(); }));
}

TEST_F(InputDeviceTest, APadsAOrBClosesTheAboutBoxAsOkDoes) {
    CVirtualPad pad;
    PlugIn(pad);
    for (const auto button : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B}) {
        int nResult = -2;
        m_dlg.PostAction([this] { return AfxGetTopWindow() != &m_dlg; },
                         [&] {
                             auto* pAbout = dynamic_cast<CDialog*>(AfxGetTopWindow());
                             ASSERT_NE(pAbout, nullptr);
                             pad.Press(button);
                             nResult = pAbout->IsEnded() ? pAbout->GetResult() : -1;
                         });
        m_dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        EXPECT_EQ(nResult, IDOK) << button;
    }
    // The main window saw none of it.
    EXPECT_EQ(Mode(), CFieldView::kModeTitle);
    EXPECT_FALSE(m_dlg.Task().IsBusy());
}

TEST_F(InputDeviceTest, ARunGoesOnWhenItsPadIsUnplugged) {
    CVirtualPad pad;
    PlugIn(pad);
    pad.Press(SDL_CONTROLLER_BUTTON_A);
    ASSERT_TRUE(FirstStep());
    pad.Unplug();
    const int x = m_dlg.Field().m_jumper.GetPos().x;
    EXPECT_TRUE(PumpUntil([&] { return m_dlg.Field().m_jumper.GetPos().x > x; }));
    EXPECT_EQ(Mode(), CFieldView::kModePlaying);
}

TEST_F(InputDeviceTest, TwoPadsBothPlay) {
    CVirtualPad first;
    CVirtualPad second;
    PlugIn(first);
    PlugIn(second);
    second.Press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(Mode(), CFieldView::kModePlaying);
    ASSERT_TRUE(FirstStep());
    first.Press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_TRUE(IsJumping());
}

// Two presses of the left button, as SDL reports them: its own count of clicks is a
// mouse's, within a 4 px box, so it counts these two apart as single clicks.
void PushTwoPresses(const CWnd& wnd, Uint32 which, POINT pt, int dx) {
    for (const int x : {pt.x, pt.x + dx}) {
        for (const Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            SDL_Event event{};
            event.type = type;
            event.button.windowID = SDL_GetWindowID(testing_shell::SdlWindowOf(wnd));
            event.button.which = which;
            event.button.button = SDL_BUTTON_LEFT;
            event.button.clicks = 1;
            event.button.x = x;
            event.button.y = pt.y;
            event.button.timestamp = SDL_GetTicks();
            SDL_PushEvent(&event);
        }
    }
    // One pass of the message loop takes in and delivers all four.
    AfxPumpMessages(FALSE);
}

TEST_F(InputDeviceTest, TwoTapsAFingerApartAreADoubleClickAndTwoClicksAsFarApartAreNot) {
    // Taps a finger apart, and clicks farther apart than the mouse's box.
    constexpr int kTapsApart = 15;
    constexpr int kClicksApart = 8;
    const RECT& title = m_dlg.Field().m_rcTitle;
    const POINT pt{(title.left + title.right) / 2, (title.top + title.bottom) / 2};
    PushTwoPresses(m_dlg, 0, pt, kClicksApart);
    EXPECT_FALSE(IsJumping());
    PushTwoPresses(m_dlg, SDL_TOUCH_MOUSEID, pt, kTapsApart);
    EXPECT_TRUE(IsJumping());
}

}  // namespace

namespace {

TEST(GamepadDevices, TheKernelsJoystickNodesAndUdevsJoystickNamesAreJoysticksAndNothingElse) {
    const struct {
        const char* pszName;
        bool bJoystick;
    } kNames[] = {
        {"js0", true},
        {"usb-Sony_Interactive_Entertainment_Wireless_Controller-event-joystick", true},
        {"pci-0000:00:14.0-usb-0:2:1.0-joystick", true},
        {"js", false},
        {"event3", false},
        {"mouse0", false},
        {"platform-i8042-serio-0-event-kbd", false},
        {"usb-Logitech_USB_Receiver-event-mouse", false},
    };
    for (const auto& name : kNames) {
        EXPECT_EQ(CGamepads::IsJoystickName(name.pszName), name.bJoystick) << name.pszName;
    }
}

}  // namespace
