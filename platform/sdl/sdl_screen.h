// The screen on SDL2: the program's windows as SDL windows, and SDL's events translated for
// the window layer. The sdl layer's own, and its tests'.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/gdi/gdi_impl.h"
#include "platform/sdl/display_wait.h"
#include "platform/sdl/gamepads.h"
#include "platform/window/screen.h"
#include "platform/window/wnd.h"

struct HSCREEN__ {
    SDL_Window* pWindow = nullptr;
    // The window this one is a modal dialog of, or null.
    HSCREEN hOwner = nullptr;
    Uint32 nWindowID = 0;
    // Where SDL's window surface would have the window's size in the desktop's coordinates
    // rather than in pixels (Wayland), the window is shown through a renderer of its own from
    // a surface of its full pixel size.
    SDL_Renderer* pRenderer = nullptr;
    SDL_Texture* pTexture = nullptr;
    SDL_Surface* pPixels = nullptr;
    // Pixels per unit of the window's size on the desktop, each way.
    int nPixelScale = 1;
    bool bBigIcon = false;
    // The pixels the window's paint contexts draw on, as last handed out.
    HSURFACE__ surface;
    // Whether those are the window's own, converted as they are shown, because the shown
    // surface's pixels are of another kind.
    bool bConverted = false;
    std::vector<std::uint32_t> converted;
};

class CSdlScreen : public CScreenDriver {
public:
    // How windows are made and shown on the display that SDL opened; call once SDL's video
    // runs, before any window is opened.
    void ChoosePresentation();
    // How the message loop waits, and how other threads wake it.
    void PrepareWaiting();

    HSCREEN Open(const ScreenWindowSpec& wanted, RECT* prcClient) override;
    void Show(HSCREEN hScreen) override;
    void Activate(HSCREEN hScreen) override;
    void Minimize(HSCREEN hScreen) override;
    bool IsMinimized(HSCREEN hScreen) const override;
    void Close(HSCREEN hScreen) override;
    const char* LastError() const override;
    HSURFACE Surface(HSCREEN hScreen) override;
    void Present(HSCREEN hScreen, const RECT* prc) override;
    void SetIcon(HSCREEN hScreen, HICON hIcon, bool bBig) override;
    // The window manager's menu is out of the program's reach: the window layer draws its own.
    bool OpenSystemMenu(HSCREEN /*hScreen*/) override { return false; }
    void Gather(int nTimeoutMs, CWaitList* pWaits) override;
    bool NextEvent(ScreenEvent* pEvent) override;
    void Wake() override;

private:
    // The program's own wait, on X11 and on Wayland.
    void GatherOwn(int nTimeoutMs, CWaitList* pWaits);
    // Adds what an SDL event means to the window layer to the events to hand out.
    void Translate(const SDL_Event& event);
    void TranslateWindowEvent(const SDL_WindowEvent& event);
    void TranslateMouseButton(const SDL_MouseButtonEvent& event);
    void TranslateKey(const SDL_KeyboardEvent& event);
    void TranslateWindowManagerEvent(const SDL_SysWMmsg& msg);
    void TranslateGamepad(const SDL_Event& event);
    // How many taps in a row a touch's tap at pt makes, counting those before it within the
    // double-click time and a fingertip's width. SDL counts a touch's taps as a
    // mouse's clicks, within the mouse's box, which a finger's two taps often miss.
    int CountTaps(HSCREEN hScreen, POINT pt, Uint32 nTime);
    HSCREEN FindByWindowID(Uint32 nWindowID) const;
    // A mouse position in the window's pixels.
    static POINT MousePoint(HSCREEN hScreen, Sint32 x, Sint32 y);

    std::vector<std::unique_ptr<HSCREEN__>> m_windows;
    CGamepads m_gamepads;
    // The last tap of a touch: where, when, and how many in a row it made.
    struct Tap {
        HSCREEN hScreen = nullptr;
        POINT pt{0, 0};
        Uint32 nTime = 0;
        int nCount = 0;
    } m_lastTap;
    std::deque<ScreenEvent> m_events;
    Uint32 m_nWindowFlags = SDL_WINDOW_HIDDEN;
    // Whether windows show through renderers of their own (see HSCREEN__), as on Wayland.
    bool m_bOwnRenderers = false;
    // On X11 and Wayland the loop waits on its own, and other threads wake it without SDL.
    CDisplayWait m_wait;
    bool m_bOwnWait = false;
    // Whether a frame has been put on the screen yet.
    bool m_bShown = false;
    // Wakes SDL_WaitEventTimeout when a window gets work from another thread.
    Uint32 m_nWakeEvent = static_cast<Uint32>(-1);
    // SDL sends its wake-up to one of the windows; held while waking and while a window is
    // closed, so that the wake-up never names a window that is being destroyed.
    std::mutex m_mutexWake;
};

// Whether SDL's video runs on the driver of that name: "x11" or "wayland".
bool AfxIsVideoDriver(const char* pszName);
// The screen that AfxInitPlatform installs.
CSdlScreen& AfxSdlScreen();
