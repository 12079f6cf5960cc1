// Waiting for SDL's events, and translating them for the window layer.
#include <SDL_syswm.h>
#include <poll.h>

#include <algorithm>
#include <cstdlib>

#include "platform/base/system_metrics.h"

#include "platform/sdl/accessibility_loader.h"
#include "platform/sdl/key_strokes.h"
#include "platform/sdl/lost_display.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/wayland_display.h"
#include "platform/sdl/x11_window.h"
#include "platform/window/messages.h"

namespace {

// The keys the program acts on, as Windows' virtual keys. Letters and digits carry their own
// codes, as Windows' virtual keys do.
struct KeyName {
    SDL_Keycode key;
    UINT nKey;
};
constexpr KeyName kKeys[] = {
    {SDLK_RETURN, VK_RETURN},
    {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, VK_SPACE},
    {SDLK_UP, VK_UP},
    {SDLK_DOWN, VK_DOWN},
    {SDLK_F4, VK_F4},
    {SDLK_TAB, VK_TAB},
    {SDLK_LEFT, VK_LEFT},
    {SDLK_RIGHT, VK_RIGHT},
    {SDLK_APPLICATION, VK_APPS},
    {SDLK_MENU, VK_APPS},
};

// The virtual key of an SDL key, or 0 for a key the program does not act on.
UINT VirtualKey(SDL_Keycode key) {
    for (const KeyName& name : kKeys) {
        if (name.key == key) {
            return name.nKey;
        }
    }
    if (key >= SDLK_a && key <= SDLK_z) {
        return static_cast<UINT>('A' + (key - SDLK_a));
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return static_cast<UINT>(key);
    }
    return 0;
}

// What each of SDL's window events means, for those the window layer hears of. On a display
// whose windows show through renderers of their own (Wayland), a window's title bar is a
// part of it that the compositor takes over only together with the window's own next frame;
// a window that paints only when something changes shows its frame again after every change
// of the window's state, so that the title bar follows at once.
bool WindowEventKind(Uint8 nEvent, ScreenEventKind* pKind) {
    switch (nEvent) {
        case SDL_WINDOWEVENT_CLOSE:
            *pKind = ScreenEventKind::kClose;
            return true;
        case SDL_WINDOWEVENT_EXPOSED:
            *pKind = ScreenEventKind::kShowAgain;
            return true;
        case SDL_WINDOWEVENT_MINIMIZED:
            *pKind = ScreenEventKind::kMinimized;
            return true;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            *pKind = ScreenEventKind::kRestored;
            return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            *pKind = ScreenEventKind::kActivated;
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            *pKind = ScreenEventKind::kDeactivated;
            return true;
        case SDL_WINDOWEVENT_MOVED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            *pKind = ScreenEventKind::kMoved;
            return true;
        default:
            return false;
    }
}

// Keeps the queue free of the window-manager messages that the program does not act on.
int SDLCALL KeepEvent(void* /*pUserData*/, SDL_Event* pEvent) {
    return pEvent->type != SDL_SYSWMEVENT || AfxIsX11MessageWanted(*pEvent->syswm.msg) ? 1 : 0;
}

}  // namespace

void CSdlScreen::PrepareWaiting() {
    // Tells a window that another client destroyed.
    SDL_SetEventFilter(KeepEvent, nullptr);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    m_nWakeEvent = SDL_RegisterEvents(1);
    m_bOwnWait = m_wait.Open();
}

void CSdlScreen::Gather(int nTimeoutMs, CWaitList* pWaits) {
    // Game controllers, and a screen reader's side, start once a frame is on the screen; the
    // screen reader's needs the program's own wait, which serves its bus.
    if (m_bShown) {
        m_gamepads.StartWhenPlugged();
        if (m_bOwnWait) {
            AfxFollowDesktopAccessibility();
        }
    }
    if (m_bOwnWait) {
        GatherOwn(nTimeoutMs, pWaits);
    } else if (nTimeoutMs == 0) {
        SDL_PumpEvents();
    } else {
        // Leaves the event that ends the wait in the queue.
        SDL_WaitEventTimeout(nullptr, nTimeoutMs);
    }
}

void CSdlScreen::GatherOwn(int nTimeoutMs, CWaitList* pWaits) {
    // Beside the display, the pads and the other drivers' handles, the wait watches for a pad
    // to appear.
    CWaitList waits = *pWaits;
    if (m_gamepads.WatchDescriptor() >= 0) {
        waits.push_back(WaitHandle{m_gamepads.WatchDescriptor(), POLLIN, 0});
    }
    SDL_Window* pWindow = m_windows.empty() ? nullptr : m_windows.front()->pWindow;
    const bool bInput = (nTimeoutMs == 0 && waits.empty()) ||
                        m_wait.Wait(pWindow, nTimeoutMs, m_gamepads.WakeDescriptors(), &waits);
    std::copy_n(waits.begin(), pWaits->size(), pWaits->begin());
    if (bInput || nTimeoutMs == 0) {
        SDL_PumpEvents();
    }
}

bool CSdlScreen::NextEvent(ScreenEvent* pEvent) {
    SDL_Event event;
    while (m_events.empty() &&
           SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        Translate(event);
    }
    if (m_events.empty()) {
        return false;
    }
    *pEvent = m_events.front();
    m_events.pop_front();
    return true;
}

void CSdlScreen::Wake() {
    if (m_bOwnWait) {
        m_wait.Wake();
        return;
    }
    std::lock_guard<std::mutex> lock(m_mutexWake);
    SDL_Event event{};
    event.type = m_nWakeEvent;
    SDL_PushEvent(&event);
}

void CSdlScreen::Translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(event.window);
            return;
        case SDL_MOUSEMOTION:
            if (const HSCREEN hScreen = FindByWindowID(event.motion.windowID)) {
                ScreenEvent moved{ScreenEventKind::kMouseMove, hScreen};
                moved.pt = MousePoint(hScreen, event.motion.x, event.motion.y);
                m_events.push_back(moved);
            }
            return;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            TranslateMouseButton(event.button);
            return;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            TranslateKey(event.key);
            return;
        case SDL_QUIT:
            if (!m_windows.empty() && AfxIsWaylandDisplayLost(m_windows.front()->pWindow)) {
                AfxEndForLostDisplay();
            }
            m_events.push_back(ScreenEvent{ScreenEventKind::kQuit});
            return;
        case SDL_SYSWMEVENT:
            TranslateWindowManagerEvent(*event.syswm.msg);
            return;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
            TranslateGamepad(event);
            return;
        default:
            return;
    }
}

void CSdlScreen::TranslateWindowEvent(const SDL_WindowEvent& event) {
    const HSCREEN hScreen = FindByWindowID(event.windowID);
    if (hScreen == nullptr) {
        return;
    }
    if (m_bOwnRenderers && event.event != SDL_WINDOWEVENT_EXPOSED) {
        m_events.push_back(ScreenEvent{ScreenEventKind::kShowAgain, hScreen});
    }
    ScreenEvent translated{ScreenEventKind::kShowAgain, hScreen};
    if (!WindowEventKind(event.event, &translated.kind)) {
        return;
    }
    if (translated.kind == ScreenEventKind::kMoved) {
        int x = 0, y = 0, cx = 0, cy = 0;
        SDL_GetWindowPosition(hScreen->pWindow, &x, &y);
        SDL_GetWindowSizeInPixels(hScreen->pWindow, &cx, &cy);
        translated.rcClient = RECT{x, y, x + cx, y + cy};
        translated.bResized = event.event == SDL_WINDOWEVENT_SIZE_CHANGED;
    }
    m_events.push_back(translated);
}

void CSdlScreen::TranslateMouseButton(const SDL_MouseButtonEvent& event) {
    const HSCREEN hScreen = FindByWindowID(event.windowID);
    if (hScreen == nullptr) {
        return;
    }
    ScreenEvent translated{event.type == SDL_MOUSEBUTTONDOWN ? ScreenEventKind::kButtonDown
                                                             : ScreenEventKind::kButtonUp,
                           hScreen};
    switch (event.button) {
        case SDL_BUTTON_LEFT:
            translated.button = MouseButton::kLeft;
            break;
        case SDL_BUTTON_MIDDLE:
            translated.button = MouseButton::kMiddle;
            break;
        case SDL_BUTTON_RIGHT:
            translated.button = MouseButton::kRight;
            break;
        default:
            translated.button = MouseButton::kOther;
            break;
    }
    translated.pt = MousePoint(hScreen, event.x, event.y);
    translated.nClicks = event.which == SDL_TOUCH_MOUSEID && event.type == SDL_MOUSEBUTTONDOWN
                             ? CountTaps(hScreen, translated.pt, event.timestamp)
                             : event.clicks;
    translated.bLeftDown = (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) != 0;
    m_events.push_back(translated);
}

void CSdlScreen::TranslateKey(const SDL_KeyboardEvent& event) {
    const HSCREEN hScreen = FindByWindowID(event.windowID);
    // Shift+F10 opens a context menu, as the Menu key does.
    const bool bShift = (event.keysym.mod & KMOD_SHIFT) != 0;
    if (hScreen == nullptr) {
        return;
    }
    ScreenEvent translated{
        event.type == SDL_KEYDOWN ? ScreenEventKind::kKeyDown : ScreenEventKind::kKeyUp, hScreen};
    translated.nKey =
        bShift && event.keysym.sym == SDLK_F10 ? VK_APPS : VirtualKey(event.keysym.sym);
    translated.stroke = AfxKeyStrokeOf(event.keysym, event.timestamp);
    translated.bAlt = (event.keysym.mod & KMOD_ALT) != 0;
    translated.bShift = bShift;
    translated.bRepeat = event.repeat != 0;
    m_events.push_back(translated);
}

void CSdlScreen::TranslateGamepad(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            m_gamepads.Add(event.cdevice.which);
            return;
        case SDL_CONTROLLERDEVICEREMOVED:
            m_gamepads.Remove(event.cdevice.which);
            return;
        default:
            break;
    }
    // A pad belongs to no window: the window layer gives its keys to the newest one, a
    // dialog above its owner.
    ScreenEvent translated{ScreenEventKind::kKeyDown, nullptr};
    translated.nKey = CGamepads::VirtualKey(event.cbutton.button);
    if (translated.nKey != 0) {
        m_events.push_back(translated);
    }
}

int CSdlScreen::CountTaps(HSCREEN hScreen, POINT pt, Uint32 nTime) {
    const int nDistance = AfxDoubleTapDistance();
    const bool bInRow = m_lastTap.nCount > 0 && m_lastTap.hScreen == hScreen &&
                        nTime - m_lastTap.nTime <= GetDoubleClickTime() &&
                        std::abs(pt.x - m_lastTap.pt.x) <= nDistance &&
                        std::abs(pt.y - m_lastTap.pt.y) <= nDistance;
    m_lastTap = Tap{hScreen, pt, nTime, bInRow ? m_lastTap.nCount + 1 : 1};
    return m_lastTap.nCount;
}

void CSdlScreen::TranslateWindowManagerEvent(const SDL_SysWMmsg& msg) {
    for (const auto& pScreen : m_windows) {
        if (AfxIsX11WindowDestroyed(msg, pScreen->pWindow)) {
            AfxQueueX11Unmapped(pScreen->pWindow);
            m_events.push_back(ScreenEvent{ScreenEventKind::kDestroyed, pScreen.get()});
            return;
        }
    }
}
