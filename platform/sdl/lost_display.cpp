#include "platform/sdl/lost_display.h"

#include <SDL_syswm.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>

#include "platform/base/translate.h"

namespace {

// SDL loads the Wayland client library itself when it opens a Wayland display, so the
// program asks that copy rather than loading one of its own on every display.
constexpr const char* kWaylandClientLibrary = "libwayland-client.so.0";
using WlDisplayGetError = int (*)(void* pDisplay);

const char* g_pszAppName = "";

}  // namespace

void AfxNameProgramForLostDisplay(const char* pszAppName) {
    g_pszAppName = pszAppName;
}

void AfxEndForLostDisplay() {
    std::fprintf(stderr, "%s: %s\n", g_pszAppName,
                 AfxTranslate("lost the connection to the display"));
    _exit(1);
}

bool AfxIsWaylandDisplayLost(SDL_Window* pWindow) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (pWindow == nullptr || SDL_GetWindowWMInfo(pWindow, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_WAYLAND) {
        return false;
    }
    void* pLibrary = dlopen(kWaylandClientLibrary, RTLD_NOW | RTLD_NOLOAD);
    if (pLibrary == nullptr) {
        return false;
    }
    const auto pfnGetError =
        reinterpret_cast<WlDisplayGetError>(dlsym(pLibrary, "wl_display_get_error"));
    const bool bLost = pfnGetError != nullptr && pfnGetError(info.info.wl.display) != 0;
    dlclose(pLibrary);
    return bLost;
}
