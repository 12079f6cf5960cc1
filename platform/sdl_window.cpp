// Screen windows on SDL2: creation, the message loop, timers and the window's default
// message processing.
#include "platform/sdl_window.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <time.h>
#include <unistd.h>

#include "platform/dc.h"
#include "platform/dialog_template.h"
#include "platform/dpi.h"
#include "platform/gdi_impl.h"
#include "platform/icon.h"
#include "platform/message_loop.h"
#include "platform/messages.h"
#include "platform/paint_dc.h"
#include "platform/translate.h"
#include "platform/x11_window.h"

namespace {

// The displays a window can open on, in the order they are tried.
struct DisplayKind {
    const char* pszVariable;
    const char* pszDriver;
};
constexpr DisplayKind kDisplays[] = {{"DISPLAY", "x11"}, {"WAYLAND_DISPLAY", "wayland"}};
// The OpenGL ES that SDL's renderer shows Wayland windows with.
constexpr int kGlesMajorVersion = 2;
constexpr double kMicrosecondsPerSecond = 1e6;
constexpr double kNanosecondsPerMicrosecond = 1e3;

bool IsSet(const char* pszVariable) {
    const char* pszValue = std::getenv(pszVariable);
    return pszValue != nullptr && *pszValue != '\0';
}

// Where D-Bus finds the session bus when no address is set (the user's bus of systemd), and
// the address that tells it there is none.
constexpr const char* kSessionBusAddress = "DBUS_SESSION_BUS_ADDRESS";
constexpr const char* kUserBusInRuntimeDir = "/bus";
constexpr const char* kNoBus = "disabled:";

// Without a session bus, D-Bus would start one for the display (dbus-launch's autolaunch),
// which outlives the game. SDL's bus features, the screensaver inhibit and the input-method
// bridge, are then simply absent.
void NeverStartASessionBus() {
    if (IsSet(kSessionBusAddress)) {
        return;
    }
    const char* pszRuntime = std::getenv("XDG_RUNTIME_DIR");
    if (pszRuntime != nullptr &&
        access((std::string(pszRuntime) + kUserBusInRuntimeDir).c_str(), F_OK) == 0) {
        return;
    }
    setenv(kSessionBusAddress, kNoBus, 1);
}

// Wakes SDL_WaitEvent when a window gets work from another thread.
Uint32 g_nWakeEvent = static_cast<Uint32>(-1);
// On X11 the loop waits on its own, and other threads wake it without SDL.
bool g_bOwnWait = false;
// The thread that runs the windows. Its own invalidations and posts need no wake: it
// delivers them before it next waits.
std::thread::id g_uiThread;
// SDL sends its wake-up to one of the windows; held while waking and while a window is
// closed, so that the wake-up never names a window that is being destroyed.
std::mutex g_mutexWake;

// Top-level windows with a screen window, the UI thread's, in creation order.
std::vector<CWnd*> g_windows;

// How windows are made on the display that SDL opened.
Uint32 g_nWindowFlags = SDL_WINDOW_HIDDEN;
// Whether windows show through renderers of their own (see WndSystem), as on Wayland. There
// a window's title bar is a part of it that the compositor takes over only together with the
// window's own next frame; a window that paints only when something changes shows its frame
// again after every change of the window's state, so that the title bar follows at once.
bool g_bOwnRenderers = false;

CWnd* FindByWindowID(Uint32 nWindowID) {
    for (CWnd* pWnd : g_windows) {
        if (pWnd->System()->nWindowID == nWindowID) {
            return pWnd;
        }
    }
    return nullptr;
}

bool IsAlive(CWnd* pWnd) {
    for (CWnd* pLive : g_windows) {
        if (pLive == pWnd) {
            return true;
        }
    }
    return false;
}

// Closes pWnd and every window opened after it, newest first, so that its dialogs go
// before it.
void CloseFrom(CWnd* pWnd) {
    const auto it = std::find(g_windows.begin(), g_windows.end(), pWnd);
    const std::vector<CWnd*> windows(g_windows.rbegin(), std::make_reverse_iterator(it));
    for (CWnd* pClose : windows) {
        if (IsAlive(pClose)) {
            pClose->SendMessage(WM_CLOSE, 0, 0);
        }
    }
}

// Restores, raises and focuses the window: on X11 through the window manager, or without one
// by the program itself; elsewhere as far as SDL can.
void ActivateWindow(WndSystem* pSystem) {
    if (!AfxActivateX11Window(pSystem->pWindow)) {
        SDL_RaiseWindow(pSystem->pWindow);
    }
}

// A window that a modal dialog has disabled hands a click or the focus on to the newest
// window opened after it, as Windows activates the dialog, so that the dialog is never
// buried under its owner, nor left minimised.
void ActivateModalAbove(CWnd* pWnd) {
    if (!g_windows.empty() && g_windows.back() != pWnd && IsAlive(pWnd)) {
        ActivateWindow(g_windows.back()->System());
    }
}

// The surface that the window's painting goes to, of its full size in pixels; null when
// there is none.
SDL_Surface* WindowSurface(WndSystem* pSystem) {
    if (pSystem->pRenderer == nullptr) {
        return SDL_GetWindowSurface(pSystem->pWindow);
    }
    int cx = 0, cy = 0;
    SDL_GetRendererOutputSize(pSystem->pRenderer, &cx, &cy);
    SDL_Surface*& pPixels = pSystem->pPixels;
    if (pPixels == nullptr || pPixels->w != cx || pPixels->h != cy) {
        SDL_FreeSurface(pPixels);
        SDL_DestroyTexture(pSystem->pTexture);
        pPixels = SDL_CreateRGBSurfaceWithFormat(0, cx, cy, 32, SDL_PIXELFORMAT_XRGB8888);
        pSystem->pTexture = SDL_CreateTexture(pSystem->pRenderer, SDL_PIXELFORMAT_XRGB8888,
                                              SDL_TEXTUREACCESS_STREAMING, cx, cy);
        // The texture starts as the new surface is, so that a paint only sends what it changed.
        if (pPixels != nullptr && pSystem->pTexture != nullptr) {
            SDL_UpdateTexture(pSystem->pTexture, nullptr, pPixels->pixels, pPixels->pitch);
        }
    }
    return pSystem->pTexture != nullptr ? pPixels : nullptr;
}

// Up to this many pixels go to an X11 window inside the request, more through SDL's shared
// memory and its round trip.
constexpr long kMaxImagePixels = 4096;

// Puts the part pRect of the window's surface on the screen; all of it for null.
void ShowWindowSurface(WndSystem* pSystem, const SDL_Rect* pRect) {
    if (pSystem->pRenderer == nullptr) {
        SDL_Surface* pSurface = SDL_GetWindowSurface(pSystem->pWindow);
        if (pRect != nullptr && pSurface != nullptr &&
            static_cast<long>(pRect->w) * pRect->h <= kMaxImagePixels) {
            const SDL_Rect rcSurface{0, 0, pSurface->w, pSurface->h};
            SDL_Rect rc;
            if (SDL_IntersectRect(pRect, &rcSurface, &rc) == SDL_FALSE ||
                AfxPutX11Image(pSystem->pWindow, pSurface, rc)) {
                return;
            }
        }
        if (pRect != nullptr) {
            SDL_UpdateWindowSurfaceRects(pSystem->pWindow, pRect, 1);
        } else {
            SDL_UpdateWindowSurface(pSystem->pWindow);
        }
        return;
    }
    const SDL_Surface* pPixels = pSystem->pPixels;
    SDL_Rect rc{0, 0, pPixels != nullptr ? pPixels->w : 0, pPixels != nullptr ? pPixels->h : 0};
    if (pSystem->pTexture == nullptr || (pRect != nullptr && !SDL_IntersectRect(pRect, &rc, &rc))) {
        return;
    }
    const auto* pFirst = static_cast<const Uint8*>(pPixels->pixels) + rc.y * pPixels->pitch +
                         rc.x * pPixels->format->BytesPerPixel;
    SDL_UpdateTexture(pSystem->pTexture, &rc, pFirst, pPixels->pitch);
    // The texture holds the whole frame, so the renderer's buffers never show a stale one.
    SDL_RenderCopy(pSystem->pRenderer, pSystem->pTexture, nullptr, nullptr);
    SDL_RenderPresent(pSystem->pRenderer);
}

// A mouse position in the window's pixels.
POINT MousePoint(const WndSystem* pSystem, Sint32 x, Sint32 y) {
    return POINT{x * pSystem->nPixelScale, y * pSystem->nPixelScale};
}

// The surface still holds the last frame, and showing it again is enough, unless that
// frame is the minimised picture: then the window repaints.
void ShowSurfaceAgain(CWnd* pWnd) {
    WndSystem* pSystem = pWnd->System();
    if (pSystem->bMinimisedPicture) {
        pWnd->Invalidate(TRUE);
    } else {
        ShowWindowSurface(pSystem, nullptr);
    }
}

// Keeps the queue free of the window-manager messages that the program does not act on.
int SDLCALL KeepEvent(void* /*pUserData*/, SDL_Event* pEvent) {
    return pEvent->type != SDL_SYSWMEVENT || AfxIsX11MessageWanted(*pEvent->syswm.msg) ? 1 : 0;
}

void PushWake() {
    if (std::this_thread::get_id() == g_uiThread) {
        return;
    }
    if (g_bOwnWait) {
        AfxGiveX11Wake();
        return;
    }
    std::lock_guard<std::mutex> lock(g_mutexWake);
    SDL_Event event{};
    event.type = g_nWakeEvent;
    SDL_PushEvent(&event);
}

// The milliseconds until the next timer is due, 0 when one is, or -1 when no timer runs:
// the timeout of the loop's wait.
int TimeToNextTimer() {
    const Uint64 nNow = SDL_GetTicks64();
    int nTimeout = -1;
    for (CWnd* pWnd : g_windows) {
        for (const auto& entry : pWnd->System()->timers) {
            const Uint64 nDue = entry.second.nDue;
            const int nUntil = nDue > nNow ? static_cast<int>(nDue - nNow) : 0;
            nTimeout = nTimeout < 0 ? nUntil : std::min(nTimeout, nUntil);
        }
    }
    return nTimeout;
}

// Posts WM_TIMER for every timer that is due. A timer that fell behind fires once and
// starts afresh, as Windows' timers coalesce.
void PostDueTimers() {
    const Uint64 nNow = SDL_GetTicks64();
    for (CWnd* pWnd : g_windows) {
        for (auto& [nIDEvent, timer] : pWnd->System()->timers) {
            if (timer.nDue <= nNow) {
                pWnd->PostMessage(WM_TIMER, nIDEvent, 0);
                timer.nDue += timer.nPeriod;
                if (timer.nDue <= nNow) {
                    timer.nDue = nNow + timer.nPeriod;
                }
            }
        }
    }
}

bool HasPending() {
    for (CWnd* pWnd : g_windows) {
        if (pWnd->GetPostedCount() > 0 || pWnd->HasUpdate()) {
            return true;
        }
    }
    return false;
}

// The image enlarged by nScale, transparent where its mask says so.
SDL_Surface* MakeIconSurface(HICON hIcon, const ICONIMAGE& image, int nScale) {
    SDL_Surface* pSurface = SDL_CreateRGBSurfaceWithFormat(0, image.cx * nScale, image.cy * nScale,
                                                           32, SDL_PIXELFORMAT_ARGB8888);
    if (pSurface == nullptr) {
        return nullptr;
    }
    for (int y = 0; y < image.cy; ++y) {
        for (int x = 0; x < image.cx; ++x) {
            const COLORREF cr = AfxGetIconPixel(hIcon, image, x, y);
            const Uint8 nAlpha =
                AfxIsIconPixelTransparent(image, x, y) ? SDL_ALPHA_TRANSPARENT : SDL_ALPHA_OPAQUE;
            SDL_Rect pixel{x * nScale, y * nScale, nScale, nScale};
            SDL_FillRect(
                pSurface, &pixel,
                SDL_MapRGBA(pSurface->format, GetRValue(cr), GetGValue(cr), GetBValue(cr), nAlpha));
        }
    }
    return pSurface;
}

// With HOPLIN_TRACE_FRAMES set, every frame put on screen is logged on stderr, for measuring
// the program from outside: "hoplin-trace: frame <seconds> <microseconds>", the monotonic
// clock's time of the frame, and the UI thread's CPU time for the pass of the message loop
// that painted it, from before its wait to its end. A frame painted outside a pass has no
// CPU time. The line is written once the pass is over, so that writing it is not counted.
bool TracingFrames() {
    static const bool s_bTrace = IsSet("HOPLIN_TRACE_FRAMES");
    return s_bTrace;
}

double ThreadCpuMicroseconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * kMicrosecondsPerSecond +
           static_cast<double>(ts.tv_nsec) / kNanosecondsPerMicrosecond;
}

// The time of a frame painted and not yet logged, or a negative value.
double g_fUntracedFrame = -1;

void TraceFrame() {
    if (TracingFrames()) {
        g_fUntracedFrame =
            std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
                .count();
    }
}

// Logs the frame painted since the last line, if there is one; fCpu < 0 when unknown.
void LogTracedFrame(double fCpu) {
    if (g_fUntracedFrame < 0) {
        return;
    }
    if (fCpu < 0) {
        std::fprintf(stderr, "hoplin-trace: frame %.6f\n", g_fUntracedFrame);
    } else {
        std::fprintf(stderr, "hoplin-trace: frame %.6f %.1f\n", g_fUntracedFrame, fCpu);
    }
    g_fUntracedFrame = -1;
}

constexpr const char* kCloseShortcut = "Alt+F4";

// Puts the open system menu back on the window's surface and on the screen.
void ShowPopup(CWnd* pWnd) {
    WndSystem* pSystem = pWnd->System();
    const RECT rc = pSystem->pPopup->Draw(WindowSurface(pSystem));
    const SDL_Rect rcScreen{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
    ShowWindowSurface(pSystem, &rcScreen);
}

void OpenSystemMenu(CWnd* pWnd, POINT ptClient) {
    CMenu* pMenu = pWnd->GetSystemMenu(FALSE);
    WndSystem* pSystem = pWnd->System();
    if (pMenu == nullptr || pSystem->pPopup != nullptr) {
        return;
    }
    pSystem->pPopup = std::make_unique<CMenuPopup>(pWnd, *pMenu, ptClient, pSystem->strFontFace,
                                                   pSystem->nFontPointSize);
    ShowPopup(pWnd);
}

// Acts on what an input event did to the open menu. A chosen entry's command goes to the
// window once the menu is gone, as Windows sends it.
void FollowPopup(CWnd* pWnd, CMenuPopup::Outcome outcome) {
    WndSystem* pSystem = pWnd->System();
    if (outcome == CMenuPopup::Outcome::kStayOpen) {
        ShowPopup(pWnd);
        return;
    }
    const UINT nID = pSystem->pPopup->GetChosenID();
    const RECT rcMenu = pSystem->pPopup->GetRect();
    pSystem->pPopup.reset();
    pWnd->InvalidateRect(&rcMenu, TRUE);
    if (outcome == CMenuPopup::Outcome::kChoose) {
        pWnd->SendMessage(WM_SYSCOMMAND, nID, 0);
    }
}

UINT MouseFlags(Uint32 nButtons) {
    return (nButtons & SDL_BUTTON_LMASK) != 0 ? MK_LBUTTON : 0;
}

void DispatchEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_WINDOWEVENT: {
            CWnd* pWnd = FindByWindowID(event.window.windowID);
            if (pWnd == nullptr) {
                return;
            }
            SDL_Window* pWindow = pWnd->System()->pWindow;
            if (g_bOwnRenderers && event.window.event != SDL_WINDOWEVENT_EXPOSED) {
                ShowSurfaceAgain(pWnd);
            }
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    if (pWnd->IsWindowEnabled()) {
                        pWnd->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
                    }
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                    ShowSurfaceAgain(pWnd);
                    break;
                case SDL_WINDOWEVENT_MINIMIZED:
                    // Some window managers offer to minimise a dialog whatever its hints say.
                    // Its owner, which takes no input meanwhile, goes with it, and activating
                    // the owner brings both back.
                    if (CWnd* pOwner = pWnd->System()->pOwner;
                        pOwner != nullptr && IsAlive(pOwner)) {
                        SDL_MinimizeWindow(pOwner->System()->pWindow);
                    }
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                    // Whatever changed while the window was minimised shows at once.
                    pWnd->Invalidate(TRUE);
                    break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    if (!pWnd->IsWindowEnabled()) {
                        ActivateModalAbove(pWnd);
                    }
                    break;
                case SDL_WINDOWEVENT_MOVED:
                case SDL_WINDOWEVENT_SIZE_CHANGED: {
                    int x = 0, y = 0, cx = 0, cy = 0;
                    SDL_GetWindowPosition(pWindow, &x, &y);
                    SDL_GetWindowSizeInPixels(pWindow, &cx, &cy);
                    pWnd->SetClientRect(RECT{x, y, x + cx, y + cy});
                    // A new size comes with a new, empty surface.
                    if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                        pWnd->Invalidate(TRUE);
                    }
                    break;
                }
                default:
                    break;
            }
            return;
        }
        case SDL_MOUSEMOTION: {
            CWnd* pWnd = FindByWindowID(event.motion.windowID);
            if (pWnd != nullptr && pWnd->System()->pPopup != nullptr) {
                FollowPopup(pWnd, pWnd->System()->pPopup->OnMouseMove(
                                      MousePoint(pWnd->System(), event.motion.x, event.motion.y)));
            }
            return;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            CWnd* pWnd = FindByWindowID(event.button.windowID);
            if (pWnd == nullptr) {
                return;
            }
            if (!pWnd->IsWindowEnabled()) {
                if (event.type == SDL_MOUSEBUTTONDOWN) {
                    ActivateModalAbove(pWnd);
                }
                return;
            }
            WndSystem* pSystem = pWnd->System();
            const POINT pt = MousePoint(pSystem, event.button.x, event.button.y);
            if (CMenuPopup* pPopup = pSystem->pPopup.get()) {
                // While the menu is open, clicks are the menu's.
                const bool bDown = event.type == SDL_MOUSEBUTTONDOWN;
                const CMenuPopup::Outcome outcome =
                    bDown ? pPopup->OnButtonDown(pt) : pPopup->OnButtonUp(pt);
                pSystem->bSwallowButtonUp = bDown && outcome == CMenuPopup::Outcome::kClose;
                FollowPopup(pWnd, outcome);
                return;
            }
            if (pSystem->bSwallowButtonUp && event.type == SDL_MOUSEBUTTONUP) {
                pSystem->bSwallowButtonUp = false;
                return;
            }
            const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
            const UINT nFlags = MouseFlags(SDL_GetMouseState(nullptr, nullptr));
            if (event.button.button == SDL_BUTTON_LEFT) {
                if (event.type == SDL_MOUSEBUTTONUP) {
                    pWnd->SendMessage(WM_LBUTTONUP, nFlags, lParam);
                } else {
                    // An even click count is the second click of a double-click.
                    const bool bDouble = event.button.clicks % 2 == 0;
                    pWnd->SendMessage(bDouble ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, nFlags, lParam);
                }
            } else if (event.button.button == SDL_BUTTON_RIGHT && event.type == SDL_MOUSEBUTTONUP) {
                pWnd->SendMessage(WM_RBUTTONUP, nFlags, lParam);
            }
            return;
        }
        case SDL_KEYDOWN: {
            CWnd* pWnd = FindByWindowID(event.key.windowID);
            if (pWnd == nullptr || !pWnd->IsWindowEnabled()) {
                return;
            }
            const bool bAlt = (event.key.keysym.mod & KMOD_ALT) != 0;
            UINT nKey = 0;
            switch (event.key.keysym.sym) {
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                    nKey = VK_RETURN;
                    break;
                case SDLK_ESCAPE:
                    nKey = VK_ESCAPE;
                    break;
                case SDLK_SPACE:
                    nKey = VK_SPACE;
                    break;
                case SDLK_UP:
                    nKey = VK_UP;
                    break;
                case SDLK_DOWN:
                    nKey = VK_DOWN;
                    break;
                case SDLK_F4:
                    nKey = VK_F4;
                    break;
                default:
                    // Letters and digits carry their own code, as Windows' virtual keys do.
                    if (event.key.keysym.sym >= SDLK_a && event.key.keysym.sym <= SDLK_z) {
                        nKey = static_cast<UINT>('A' + (event.key.keysym.sym - SDLK_a));
                    } else if (event.key.keysym.sym >= SDLK_0 && event.key.keysym.sym <= SDLK_9) {
                        nKey = static_cast<UINT>(event.key.keysym.sym);
                    }
                    break;
            }
            if (nKey == 0) {
                return;
            }
            if (CMenuPopup* pPopup = pWnd->System()->pPopup.get()) {
                FollowPopup(pWnd, pPopup->OnKey(nKey));
                return;
            }
            const UINT nFlags = event.key.repeat != 0 ? KF_REPEAT : 0;
            pWnd->SendMessage(bAlt ? WM_SYSKEYDOWN : WM_KEYDOWN, nKey, MAKELPARAM(1, nFlags));
            return;
        }
        case SDL_QUIT:
            // A request to end the program (a signal, say): close every window.
            if (!g_windows.empty()) {
                CloseFrom(g_windows.front());
            }
            return;
        case SDL_SYSWMEVENT:
            // A window that another client destroyed is closed, with the dialogs it owns,
            // as its close button would close it.
            for (CWnd* pWnd : g_windows) {
                if (AfxIsX11WindowDestroyed(*event.syswm.msg, pWnd->System()->pWindow)) {
                    AfxQueueX11Unmapped(pWnd->System()->pWindow);
                    CloseFrom(pWnd);
                    return;
                }
            }
            return;
        default:
            return;
    }
}

// Posted messages first, then paints, for every window that is still there. Only what was
// posted before this pass is delivered in it, so that a message that posts itself again
// cannot keep the loop from the screen's events.
void DeliverPending() {
    const std::vector<CWnd*> windows = g_windows;
    for (CWnd* pWnd : windows) {
        MSG msg;
        for (int n = pWnd->GetPostedCount();
             n > 0 && IsAlive(pWnd) && pWnd->TakePostedMessage(&msg); --n) {
            pWnd->SendMessage(msg.message, msg.wParam, msg.lParam);
        }
    }
    for (CWnd* pWnd : windows) {
        if (IsAlive(pWnd) && pWnd->HasUpdate()) {
            pWnd->SendMessage(WM_PAINT, 0, 0);
        }
    }
}

}  // namespace

void WndSystemDeleter::operator()(WndSystem* pSystem) const {
    // The window's own pointer to this is already null while it is being deleted.
    for (auto it = g_windows.begin(); it != g_windows.end(); ++it) {
        if (*it == pSystem->pWnd) {
            g_windows.erase(it);
            break;
        }
    }
    // Hidden first, so that the window is gone from the screen at once.
    SDL_HideWindow(pSystem->pWindow);
    AfxReleaseX11Window(pSystem->pWindow);
    SDL_FreeSurface(pSystem->pPixels);
    if (pSystem->pRenderer != nullptr) {
        SDL_DestroyRenderer(pSystem->pRenderer);  // with its texture
    }
    {
        std::lock_guard<std::mutex> lock(g_mutexWake);
        SDL_DestroyWindow(pSystem->pWindow);
    }
    delete pSystem;
}

BOOL AfxInitPlatform(const char* pszAppName, const char* pszWindowClass) {
    AfxInitTranslations();
    if (pszWindowClass != nullptr) {
        // The X11 window class and the Wayland app id, which desktops match to the
        // program's desktop file.
        setenv("SDL_VIDEO_X11_WMCLASS", pszWindowClass, 1);
        setenv("SDL_VIDEO_WAYLAND_WMCLASS", pszWindowClass, 1);
    }
    SDL_SetHint(SDL_HINT_APP_NAME, pszAppName);
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The click that activates a window also acts, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_TIME, std::to_string(GetDoubleClickTime()).c_str());
    std::string strDisplays;
    if (!IsSet("SDL_VIDEODRIVER")) {
        // Only a real display will do. Left to itself SDL would fall back to drivers that
        // show nothing, and a game nobody can see is worse than a clear error.
        std::string strDrivers;
        for (const auto& display : kDisplays) {
            if (IsSet(display.pszVariable)) {
                strDrivers += (strDrivers.empty() ? "" : ",") + std::string(display.pszDriver);
                strDisplays += std::string(strDisplays.empty() ? "" : ", ") + display.pszVariable +
                               "=" + std::getenv(display.pszVariable);
            }
        }
        if (strDrivers.empty()) {
            SDL_SetError("%s",
                         AfxTranslate("no display (neither DISPLAY nor WAYLAND_DISPLAY is set)"));
            AfxReportWindowError(pszAppName);
            return FALSE;
        }
        SDL_SetHint(SDL_HINT_VIDEODRIVER, strDrivers.c_str());
    }
    AfxInstallX11Handlers(pszAppName);
    NeverStartASessionBus();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        if (!strDisplays.empty()) {
            SDL_SetError("%s (%s)", std::string(SDL_GetError()).c_str(), strDisplays.c_str());
        }
        AfxReportWindowError(pszAppName);
        return FALSE;
    }
    AfxTakeDesktopDpi(pszAppName);
    // The double-click box follows the DPI; SDL measures it in the desktop's units.
    SDL_SetHint(
        SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS,
        std::to_string(GetSystemMetrics(SM_CXDOUBLECLK) / 2 / AfxGetPixelDensity()).c_str());
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "wayland") == 0) {
        // Wayland has no software path to the screen: windows show through a renderer. Of
        // SDL's renderers, only OpenGL ES keeps up the frames of a window that paints only
        // when something changes; the window is made for it from the start, so that SDL need
        // not make it anew for the renderer. SDL's own window surface would have the window's
        // size in the desktop's coordinates, which a scaled output blows up, so each window
        // has a renderer of its own that shows a surface of its full pixel size.
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengles2");
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, kGlesMajorVersion);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
        g_nWindowFlags |= SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
        g_bOwnRenderers = true;
    } else {
        // Elsewhere windows are painted in software; an accelerated path would load a GL
        // driver only to copy the same pixels, at several times the memory and start-up time.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    // Tells a window that another client destroyed.
    SDL_SetEventFilter(KeepEvent, nullptr);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    g_nWakeEvent = SDL_RegisterEvents(1);
    g_bOwnWait = AfxOpenX11Wake();
    g_uiThread = std::this_thread::get_id();
    return TRUE;
}

void AfxTermPlatform() {
    SDL_Quit();
}

void AfxReportWindowError(const char* pszAppName) {
    std::fprintf(stderr, "%s: %s: %s\n", pszAppName, AfxTranslate("cannot open a window"),
                 SDL_GetError());
}

CWnd* AfxGetTopWindow() {
    return g_windows.empty() ? nullptr : g_windows.back();
}

void AfxPumpMessages(BOOL bWait) {
    // The display is asked once a pass, by the wait or by the pump; the rest of the pass takes
    // what that brought from SDL's queue. Every question to the display is a system call.
    SDL_Event event;
    LogTracedFrame(-1);
    const double fPassStart = TracingFrames() ? ThreadCpuMicroseconds() : 0;
    if (bWait && !HasPending()) {
        if (g_bOwnWait) {
            if (AfxWaitForX11(TimeToNextTimer())) {
                SDL_PumpEvents();
            }
        } else if (SDL_WaitEventTimeout(&event, TimeToNextTimer()) != 0) {
            DispatchEvent(event);
        }
    } else {
        SDL_PumpEvents();
    }
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        DispatchEvent(event);
    }
    PostDueTimers();
    DeliverPending();
    if (g_fUntracedFrame >= 0) {
        LogTracedFrame(ThreadCpuMicroseconds() - fPassStart);
    }
}

BOOL AfxOpenScreenWindow(CWnd* pWnd, const char* pszCaption, const RECT& rcClient, CWnd* pOwner) {
    // An owned window shows in the taskbar through its owner, as on Windows.
    const Uint32 nFlags = g_nWindowFlags | (pOwner != nullptr ? SDL_WINDOW_SKIP_TASKBAR : 0);
    // The desktop measures a window in units of nDensity pixels; a whole number of them
    // holds the client area.
    const int nDensity = g_bOwnRenderers ? AfxGetPixelDensity() : 1;
    const int cx = (rcClient.right - rcClient.left + nDensity - 1) / nDensity;
    const int cy = (rcClient.bottom - rcClient.top + nDensity - 1) / nDensity;
    SDL_Window* pWindow = SDL_CreateWindow(pszCaption, rcClient.left, rcClient.top, cx, cy, nFlags);
    if (pWindow == nullptr) {
        return FALSE;
    }
    AfxPrepareX11Window(pWindow, pszCaption, pOwner != nullptr);
    std::unique_ptr<WndSystem, WndSystemDeleter> pSystem(new WndSystem);
    pSystem->pWindow = pWindow;
    pSystem->pOwner = pOwner;
    if (g_bOwnRenderers) {
        pSystem->pRenderer = SDL_CreateRenderer(pWindow, -1, SDL_RENDERER_ACCELERATED);
        if (pSystem->pRenderer == nullptr) {
            return FALSE;
        }
        int cxPixels = 0;
        SDL_GetWindowSizeInPixels(pWindow, &cxPixels, nullptr);
        pSystem->nPixelScale = std::max(1, cxPixels / cx);
    }
    pSystem->nWindowID = SDL_GetWindowID(pWindow);
    pSystem->hWnd = pWnd->GetSafeHwnd();
    pSystem->pWnd = pWnd;
    int x = 0, y = 0, cxPixels = 0, cyPixels = 0;
    SDL_GetWindowPosition(pWindow, &x, &y);
    SDL_GetWindowSizeInPixels(pWindow, &cxPixels, &cyPixels);
    pWnd->SetClientRect(RECT{x, y, x + cxPixels, y + cyPixels});
    g_windows.push_back(pWnd);
    pWnd->SetSystem(std::move(pSystem));
    pWnd->SetWakeHook(PushWake);
    return TRUE;
}

void AfxShowScreenWindow(CWnd* pWnd) {
    WndSystem* pSystem = pWnd->System();
    if (pSystem == nullptr) {
        return;
    }
    // An owned window stays above its owner: the window manager learns that before the
    // window appears where it can (X11), and once it has appeared elsewhere (Wayland).
    WndSystem* pOwnerSystem = pSystem->pOwner != nullptr ? pSystem->pOwner->System() : nullptr;
    const bool bOwned = pOwnerSystem == nullptr ||
                        SDL_SetWindowModalFor(pSystem->pWindow, pOwnerSystem->pWindow) == 0;
    SDL_ShowWindow(pSystem->pWindow);
    if (pOwnerSystem != nullptr) {
        if (!bOwned) {
            SDL_SetWindowModalFor(pSystem->pWindow, pOwnerSystem->pWindow);
        }
        // As on Windows, a dialog that opens over its owner takes over the activation.
        ActivateWindow(pSystem);
    }
    pWnd->Invalidate(TRUE);
}

void AfxActivateScreenWindow(CWnd* pWnd) {
    if (pWnd->System() != nullptr) {
        ActivateWindow(pWnd->System());
    }
}

UINT CWnd::SetTimer(UINT nIDEvent, UINT nElapse, void* /*lpfnTimer*/) {
    if (m_pSystem == nullptr || nElapse == 0) {
        return 0;
    }
    m_pSystem->timers[nIDEvent] = WndTimer{nElapse, SDL_GetTicks64() + nElapse};
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT nIDEvent) {
    if (m_pSystem == nullptr) {
        return FALSE;
    }
    return m_pSystem->timers.erase(nIDEvent) != 0;
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) {
    if (m_pSystem == nullptr || (GetStyle() & WS_SYSMENU) == 0) {
        return nullptr;
    }
    if (bRevert || m_pSystem->pSystemMenu == nullptr) {
        m_pSystem->pSystemMenu = std::make_unique<CMenu>();
        const std::string strClose = std::string(AfxTranslate("&Close")) + "\t" + kCloseShortcut;
        m_pSystem->pSystemMenu->AppendMenu(MF_STRING, SC_CLOSE, strClose.c_str());
    }
    return bRevert ? nullptr : m_pSystem->pSystemMenu.get();
}

RECT CWnd::GetSystemMenuRect() const {
    return m_pSystem != nullptr && m_pSystem->pPopup != nullptr ? m_pSystem->pPopup->GetRect()
                                                                : RECT{0, 0, 0, 0};
}

BOOL CWnd::IsIconic() const {
    return m_pSystem != nullptr &&
           (SDL_GetWindowFlags(m_pSystem->pWindow) & SDL_WINDOW_MINIMIZED) != 0;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
        case WM_ICONERASEBKGND: {
            auto* pDC = reinterpret_cast<CDC*>(wParam);
            RECT rcClient;
            GetClientRect(&rcClient);
            pDC->FillSolidRect(&rcClient, GetSysColor(COLOR_BTNFACE));
            return 1;
        }
        case WM_PAINT:
            // Validates the update area, unless a handler's paint context has taken it.
            if (!IsPaintTaken()) {
                CPaintDC dc(this);
            }
            return 0;
        case WM_SETICON: {
            // SDL keeps one icon per window; the big image wins over the small one.
            const auto hIcon = reinterpret_cast<HICON>(lParam);
            const bool bBig = wParam == ICON_BIG;
            if (m_pSystem == nullptr || (m_pSystem->bBigIcon && !bBig)) {
                return 0;
            }
            int nScale = 1;
            const ICONIMAGE* pImage =
                AfxFindIconImage(hIcon, GetSystemMetrics(bBig ? SM_CXICON : SM_CXSMICON), &nScale);
            SDL_Surface* pSurface =
                pImage != nullptr ? MakeIconSurface(hIcon, *pImage, nScale) : nullptr;
            if (pSurface != nullptr) {
                SDL_SetWindowIcon(m_pSystem->pWindow, pSurface);
                SDL_FreeSurface(pSurface);
                m_pSystem->bBigIcon = m_pSystem->bBigIcon || bBig;
            }
            return 0;
        }
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                SendMessage(WM_CLOSE, 0, 0);
            }
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4) {
                SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
            } else if (wParam == VK_SPACE && m_pSystem != nullptr) {
                OpenSystemMenu(this, POINT{0, 0});
            }
            return 0;
        case WM_RBUTTONUP:
            // The window manager's menu is out of SDL's reach, so the client area offers it.
            if (m_pSystem != nullptr) {
                OpenSystemMenu(this, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            }
            return 0;
        case WM_CLOSE:
            DestroyWindow();
            return 0;
        default:
            return 0;
    }
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_pWnd(pWnd), m_bIconic(pWnd->IsIconic()) {
    BOOL bErase = FALSE;
    if (!pWnd->BeginPaint(&m_rcPaint, &bErase) || pWnd->System() == nullptr) {
        SetRectEmpty(&m_rcPaint);
        return;
    }
    AfxAttachSurface(*this, WindowSurface(pWnd->System()));
    SetClipRect(&m_rcPaint);
    if (bErase) {
        pWnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(GetSafeHdc()), 0);
    }
}

CPaintDC::~CPaintDC() {
    WndSystem* pSystem = m_pWnd->System();
    if (IsRectEmpty(&m_rcPaint) || pSystem == nullptr) {
        return;
    }
    // The minimised picture stays off the screen: the window repaints whole when it is
    // restored, and until a whole repaint, an expose repaints rather than shows it.
    if (m_bIconic) {
        pSystem->bMinimisedPicture = true;
        return;
    }
    // The screen shows what the surface held before this paint, unless that was the
    // minimised picture: only what the paint changed needs to go there.
    RECT rcShown = m_rcPaint;
    if (!pSystem->bMinimisedPicture) {
        const SDL_Rect rcChanged = AfxChangedRect(*this);
        const RECT rc{rcChanged.x, rcChanged.y, rcChanged.x + rcChanged.w,
                      rcChanged.y + rcChanged.h};
        IntersectRect(&rcShown, &rcShown, &rc);
    }
    RECT rcClient;
    m_pWnd->GetClientRect(&rcClient);
    if (EqualRect(&m_rcPaint, &rcClient)) {
        pSystem->bMinimisedPicture = false;
    }
    if (pSystem->pPopup != nullptr) {
        // An open menu stays on top of whatever the window has just painted.
        const RECT rcMenu = pSystem->pPopup->Draw(WindowSurface(pSystem));
        UnionRect(&rcShown, &rcShown, &rcMenu);
    }
    const SDL_Rect rc{rcShown.left, rcShown.top, rcShown.right - rcShown.left,
                      rcShown.bottom - rcShown.top};
    ShowWindowSurface(pSystem, &rc);
    TraceFrame();
}
