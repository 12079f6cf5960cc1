#include "platform/x11_window.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <vector>

#include "platform/translate.h"

namespace {

// The Motif hints that window managers read for decorations and actions.
struct MotifWmHints {
    unsigned long flags;
    unsigned long functions;
    unsigned long decorations;
    long inputMode;
    unsigned long status;
};
constexpr unsigned long kMwmHintsFunctions = 1UL << 0;
constexpr unsigned long kMwmHintsDecorations = 1UL << 1;
constexpr unsigned long kMwmFuncMove = 1UL << 2;
constexpr unsigned long kMwmFuncMinimize = 1UL << 3;
constexpr unsigned long kMwmFuncClose = 1UL << 5;
constexpr unsigned long kMwmDecorBorder = 1UL << 1;
constexpr unsigned long kMwmDecorTitle = 1UL << 3;
constexpr unsigned long kMwmDecorMenu = 1UL << 4;
constexpr unsigned long kMwmDecorMinimize = 1UL << 5;
constexpr int kMotifHintsFields = sizeof(MotifWmHints) / sizeof(long);
constexpr int kPropertyFormat32 = 32;

const char* g_pszAppName = "";
XErrorHandler g_pfnNextHandler = nullptr;

// Every window the program has made, including those already destroyed: the X server may
// still report errors for them. Guarded, since Xlib calls the error handler on whichever
// thread's request failed.
std::mutex g_mutexWindows;
std::vector<XID> g_windows;

bool IsOwnWindow(XID id) {
    std::lock_guard<std::mutex> lock(g_mutexWindows);
    return std::find(g_windows.begin(), g_windows.end(), id) != g_windows.end();
}

int OnXError(Display* pDisplay, XErrorEvent* pError) {
    const bool bGoneWindow =
        (pError->error_code == BadWindow || pError->error_code == BadDrawable) &&
        IsOwnWindow(pError->resourceid);
    // Focus requests race with the window manager's mapping; the request simply lapses.
    const bool bLapsedFocus =
        pError->error_code == BadMatch && pError->request_code == X_SetInputFocus;
    if (bGoneWindow || bLapsedFocus) {
        return 0;
    }
    return g_pfnNextHandler != nullptr ? g_pfnNextHandler(pDisplay, pError) : 0;
}

// Xlib ends the program when this returns, so it does not.
[[noreturn]] int OnXIOError(Display* /*pDisplay*/) {
    std::fprintf(stderr, "%s: %s\n", g_pszAppName,
                 AfxTranslate("lost the connection to the display"));
    _exit(1);
}

bool GetX11Info(SDL_Window* pWindow, SDL_SysWMinfo* pInfo) {
    SDL_VERSION(&pInfo->version);
    return SDL_GetWindowWMInfo(pWindow, pInfo) == SDL_TRUE && pInfo->subsystem == SDL_SYSWM_X11;
}

}  // namespace

void AfxInstallX11Handlers(const char* pszAppName) {
    g_pszAppName = pszAppName;
    const XErrorHandler pfnPrevious = XSetErrorHandler(OnXError);
    if (pfnPrevious != OnXError) {
        g_pfnNextHandler = pfnPrevious;
    }
    XSetIOErrorHandler(OnXIOError);
}

void AfxPrepareX11Window(SDL_Window* pWindow) {
    SDL_SysWMinfo info;
    if (!GetX11Info(pWindow, &info)) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(g_mutexWindows);
        g_windows.push_back(info.info.x11.window);
    }
    Display* pDisplay = info.info.x11.display;
    MotifWmHints hints{};
    hints.flags = kMwmHintsFunctions | kMwmHintsDecorations;
    hints.functions = kMwmFuncMove | kMwmFuncMinimize | kMwmFuncClose;
    hints.decorations = kMwmDecorBorder | kMwmDecorTitle | kMwmDecorMenu | kMwmDecorMinimize;
    const Atom atomHints = XInternAtom(pDisplay, "_MOTIF_WM_HINTS", False);
    XChangeProperty(pDisplay, info.info.x11.window, atomHints, atomHints, kPropertyFormat32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&hints), kMotifHintsFields);
}

bool AfxIsX11WindowDestroyed(const SDL_SysWMmsg& msg, SDL_Window* pWindow) {
    SDL_SysWMinfo info;
    return msg.subsystem == SDL_SYSWM_X11 && msg.msg.x11.event.type == DestroyNotify &&
           GetX11Info(pWindow, &info) &&
           msg.msg.x11.event.xdestroywindow.window == info.info.x11.window;
}

void AfxQueueX11Unmapped(SDL_Window* pWindow) {
    SDL_SysWMinfo info;
    if (!GetX11Info(pWindow, &info)) {
        return;
    }
    XEvent event{};
    event.xunmap.type = UnmapNotify;
    event.xunmap.display = info.info.x11.display;
    event.xunmap.event = info.info.x11.window;
    event.xunmap.window = info.info.x11.window;
    XPutBackEvent(info.info.x11.display, &event);
}

bool AfxIsX11MessageWanted(const SDL_SysWMmsg& msg) {
    return msg.subsystem == SDL_SYSWM_X11 && msg.msg.x11.event.type == DestroyNotify;
}
