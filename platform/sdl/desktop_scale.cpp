#include "platform/sdl/desktop_scale.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/base/dpi.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/x11_window.h"

namespace {

// The scale SDL gives a new high-DPI window: the largest of the outputs'.
int WaylandScale(SDL_Window* pProbe) {
    int cx = 0, cy = 0, cxPixels = 0, cyPixels = 0;
    SDL_GetWindowSize(pProbe, &cx, &cy);
    SDL_GetWindowSizeInPixels(pProbe, &cxPixels, &cyPixels);
    return cx > 0 ? std::max(1, cxPixels / cx) : 1;
}

}  // namespace

void AfxTakeScreenScale() {
    const bool bX11 = AfxIsVideoDriver("x11");
    const bool bWayland = AfxIsVideoDriver("wayland");
    std::string strResources;
    int nOutputScale = 1;
    // A window that is never shown, for what SDL tells only of a window: its connection to
    // the X server, or the scale of the outputs.
    if (bX11 || bWayland) {
        if (SDL_Window* pProbe = SDL_CreateWindow(
                "", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | (bWayland ? SDL_WINDOW_ALLOW_HIGHDPI : 0))) {
            strResources = bX11 ? AfxReadX11Resources(pProbe) : std::string();
            nOutputScale = bWayland ? WaylandScale(pProbe) : 1;
            SDL_DestroyWindow(pProbe);
        }
    }
    const DesktopScale scale{bX11 ? strResources.c_str() : nullptr,
                             bX11 ? std::getenv("GDK_SCALE") : nullptr,
                             bX11 ? std::getenv("GDK_DPI_SCALE") : nullptr, nOutputScale};
    AfxTakeDesktopScale(scale);
}
