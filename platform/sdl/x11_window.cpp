#include "platform/sdl/x11_window.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/sdl/lost_display.h"

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
// Who asks a window manager to activate a window. The program asks only as a direct result of
// what the user did, as a pager does: a click on a window that a dialog has disabled, or the
// end of a dialog. An application's request would be weighed against the window manager's
// rules against stealing the focus, and KWin ignores one for the window it last activated,
// such as a dialog that has since been minimised.
constexpr long kSourceUserAction = 2;

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
    AfxEndForLostDisplay();
}

// Sets the window's property to the one atom pszValue, or adds that atom to it.
void SetAtomProperty(Display* pDisplay, XID window, const char* pszProperty, const char* pszValue,
                     int nMode) {
    const Atom atom = XInternAtom(pDisplay, pszValue, False);
    XChangeProperty(pDisplay, window, XInternAtom(pDisplay, pszProperty, False), XA_ATOM,
                    kPropertyFormat32, nMode, reinterpret_cast<const unsigned char*>(&atom), 1);
}

// Whether a window manager that follows EWMH runs: it names its check window on the root.
bool HasWindowManager(Display* pDisplay) {
    Atom type = None;
    int nFormat = 0;
    unsigned long nItems = 0, nAfter = 0;
    unsigned char* pData = nullptr;
    const int nStatus =
        XGetWindowProperty(pDisplay, DefaultRootWindow(pDisplay),
                           XInternAtom(pDisplay, "_NET_SUPPORTING_WM_CHECK", False), 0, 1, False,
                           XA_WINDOW, &type, &nFormat, &nItems, &nAfter, &pData);
    const bool bFound = nStatus == Success && type == XA_WINDOW && nItems == 1;
    if (pData != nullptr) {
        XFree(pData);
    }
    return bFound;
}

bool GetX11Info(SDL_Window* pWindow, SDL_SysWMinfo* pInfo) {
    SDL_VERSION(&pInfo->version);
    return SDL_GetWindowWMInfo(pWindow, pInfo) == SDL_TRUE && pInfo->subsystem == SDL_SYSWM_X11;
}

}  // namespace

void AfxInstallX11Handlers() {
    const XErrorHandler pfnPrevious = XSetErrorHandler(OnXError);
    if (pfnPrevious != OnXError) {
        g_pfnNextHandler = pfnPrevious;
    }
    XSetIOErrorHandler(OnXIOError);
}

void AfxPrepareX11Window(SDL_Window* pWindow, const char* pszTitle, bool bModal) {
    SDL_SysWMinfo info;
    if (!GetX11Info(pWindow, &info)) {
        return;
    }
    const XID window = info.info.x11.window;
    {
        std::lock_guard<std::mutex> lock(g_mutexWindows);
        g_windows.push_back(window);
    }
    Display* pDisplay = info.info.x11.display;
    // SDL marks its windows transient for the root window when no program has named the
    // Motif hints yet, as on a fresh X server; naming them below keeps later windows from
    // that, and this window loses the mark.
    XDeleteProperty(pDisplay, window, XA_WM_TRANSIENT_FOR);
    MotifWmHints hints{};
    hints.flags = kMwmHintsFunctions | kMwmHintsDecorations;
    hints.functions = kMwmFuncMove | kMwmFuncClose | (bModal ? 0 : kMwmFuncMinimize);
    hints.decorations =
        kMwmDecorBorder | kMwmDecorTitle | kMwmDecorMenu | (bModal ? 0 : kMwmDecorMinimize);
    const Atom atomHints = XInternAtom(pDisplay, "_MOTIF_WM_HINTS", False);
    XChangeProperty(pDisplay, window, atomHints, atomHints, kPropertyFormat32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), kMotifHintsFields);
    if (bModal) {
        SetAtomProperty(pDisplay, window, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG",
                        PropModeReplace);
        // Beside the states SDL has set, such as the missing taskbar entry.
        SetAtomProperty(pDisplay, window, "_NET_WM_STATE", "_NET_WM_STATE_MODAL", PropModeAppend);
    }
    Xutf8SetWMProperties(pDisplay, window, pszTitle, pszTitle, nullptr, 0, nullptr, nullptr,
                         nullptr);
}

bool AfxActivateX11Window(SDL_Window* pWindow) {
    SDL_SysWMinfo info;
    if (!GetX11Info(pWindow, &info)) {
        return false;
    }
    Display* pDisplay = info.info.x11.display;
    const XID window = info.info.x11.window;
    const Window root = DefaultRootWindow(pDisplay);
    if (HasWindowManager(pDisplay)) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(pDisplay, "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = kPropertyFormat32;
        event.xclient.data.l[0] = kSourceUserAction;
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(pDisplay, root, False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
    } else {
        XMapRaised(pDisplay, window);
        XSetInputFocus(pDisplay, window, RevertToParent, CurrentTime);
    }
    XFlush(pDisplay);
    return true;
}

int AfxBeginX11Wait(SDL_Window* pWindow) {
    SDL_SysWMinfo info;
    if (!GetX11Info(pWindow, &info)) {
        return -1;
    }
    // Reads what has arrived, too: a reply that Xlib waited for may have brought events.
    Display* pDisplay = info.info.x11.display;
    return XEventsQueued(pDisplay, QueuedAfterFlush) > 0 ? -1 : ConnectionNumber(pDisplay);
}

std::string AfxReadX11Resources(SDL_Window* pWindow) {
    SDL_SysWMinfo info;
    if (!GetX11Info(pWindow, &info)) {
        return std::string();
    }
    const char* pszResources = XResourceManagerString(info.info.x11.display);
    return pszResources != nullptr ? pszResources : "";
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
