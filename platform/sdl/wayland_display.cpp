#include "platform/sdl/wayland_display.h"

#include <SDL_syswm.h>
#include <dlfcn.h>

namespace {

constexpr const char* kWaylandClientLibrary = "libwayland-client.so.0";

// The calls of libwayland-client that the program makes, from SDL's copy of the library.
struct WaylandClient {
    using DisplayCall = int (*)(void* pDisplay);
    using DisplayNotice = void (*)(void* pDisplay);
    DisplayCall pfnFlush = nullptr;
    DisplayCall pfnPrepareRead = nullptr;
    DisplayNotice pfnCancelRead = nullptr;
    DisplayCall pfnGetFd = nullptr;
    DisplayCall pfnGetError = nullptr;
};

const WaylandClient& Client() {
    static const WaylandClient s_client = [] {
        WaylandClient client;
        if (void* pLibrary = dlopen(kWaylandClientLibrary, RTLD_NOW | RTLD_NOLOAD)) {
            client.pfnFlush =
                reinterpret_cast<WaylandClient::DisplayCall>(dlsym(pLibrary, "wl_display_flush"));
            client.pfnPrepareRead = reinterpret_cast<WaylandClient::DisplayCall>(
                dlsym(pLibrary, "wl_display_prepare_read"));
            client.pfnCancelRead = reinterpret_cast<WaylandClient::DisplayNotice>(
                dlsym(pLibrary, "wl_display_cancel_read"));
            client.pfnGetFd =
                reinterpret_cast<WaylandClient::DisplayCall>(dlsym(pLibrary, "wl_display_get_fd"));
            client.pfnGetError = reinterpret_cast<WaylandClient::DisplayCall>(
                dlsym(pLibrary, "wl_display_get_error"));
            // SDL holds the library for the program's life; this reference is not needed.
            dlclose(pLibrary);
        }
        return client;
    }();
    return s_client;
}

// pWindow's Wayland display, or null.
void* DisplayOf(SDL_Window* pWindow) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (pWindow == nullptr || SDL_GetWindowWMInfo(pWindow, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_WAYLAND) {
        return nullptr;
    }
    return info.info.wl.display;
}

}  // namespace

int AfxBeginWaylandWait(SDL_Window* pWindow) {
    const WaylandClient& client = Client();
    void* pDisplay = DisplayOf(pWindow);
    if (pDisplay == nullptr || client.pfnGetFd == nullptr || client.pfnPrepareRead == nullptr ||
        client.pfnCancelRead == nullptr || client.pfnFlush == nullptr) {
        return -1;
    }
    client.pfnFlush(pDisplay);
    // The queue holds events already read: they are handled before anything waits.
    if (client.pfnPrepareRead(pDisplay) != 0) {
        return -1;
    }
    return client.pfnGetFd(pDisplay);
}

void AfxEndWaylandWait(SDL_Window* pWindow) {
    if (void* pDisplay = DisplayOf(pWindow)) {
        Client().pfnCancelRead(pDisplay);
    }
}

bool AfxIsWaylandDisplayLost(SDL_Window* pWindow) {
    void* pDisplay = DisplayOf(pWindow);
    return pDisplay != nullptr && Client().pfnGetError != nullptr &&
           Client().pfnGetError(pDisplay) != 0;
}
