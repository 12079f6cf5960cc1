// Asks an X11 window to close the way a window manager does when its close button is pressed:
// a WM_PROTOCOLS client message carrying WM_DELETE_WINDOW. The end-to-end test runs without a
// window manager, so it needs this to exercise the game's close handling.
#include <X11/Xlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitNoDisplay = 3;
constexpr int kExitSendFailed = 4;
constexpr int kWindowIdBase = 0;  // decimal as xdotool prints it, or 0x... hex as xwininfo does
constexpr int kClientMessageFormat = 32;

bool ParseWindowId(const char* pszText, Window* pWindow) {
    char* pszEnd = nullptr;
    errno = 0;
    const unsigned long nId = std::strtoul(pszText, &pszEnd, kWindowIdBase);
    if (errno != 0 || pszEnd == pszText || *pszEnd != '\0' || nId == 0) {
        return false;
    }
    *pWindow = static_cast<Window>(nId);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Window window = 0;
    if (argc != 2 || !ParseWindowId(argv[1], &window)) {
        std::fprintf(stderr, "usage: %s <window id>   (the display comes from $DISPLAY)\n",
                     argv[0]);
        return kExitUsage;
    }
    Display* pDisplay = XOpenDisplay(nullptr);
    if (pDisplay == nullptr) {
        std::fprintf(stderr, "%s: cannot open display %s\n", argv[0], XDisplayName(nullptr));
        return kExitNoDisplay;
    }

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(pDisplay, "WM_PROTOCOLS", False);
    event.xclient.format = kClientMessageFormat;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(pDisplay, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;

    // A window manager sends the message to the client window itself with an empty event
    // mask, so that only the window's owner receives it.
    const Status status = XSendEvent(pDisplay, window, False, NoEventMask, &event);
    // XSync rather than XFlush: an unknown window id then shows up as an X error before exit.
    XSync(pDisplay, False);
    XCloseDisplay(pDisplay);
    if (status == 0) {
        std::fprintf(stderr, "%s: XSendEvent to window %s failed\n", argv[0], argv[1]);
        return kExitSendFailed;
    }
    return EXIT_SUCCESS;
}
