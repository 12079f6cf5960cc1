// The program's windows as SDL windows: opening, showing, activating and closing them, and
// their icons.
#include "platform/sdl/sdl_screen.h"

#include <algorithm>
#include <cstring>

#include "platform/base/dpi.h"
#include "platform/base/system_metrics.h"
#include "platform/sdl/x11_window.h"
#include "platform/window/top_windows.h"

namespace {

// The OpenGL ES that SDL's renderer shows Wayland windows with.
constexpr int kGlesMajorVersion = 2;

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

// Restores, raises and focuses the window: on X11 through the window manager, or without one
// by the program itself; elsewhere as far as SDL can.
void ActivateWindow(SDL_Window* pWindow) {
    if (!AfxActivateX11Window(pWindow)) {
        SDL_RaiseWindow(pWindow);
    }
}

}  // namespace

void CSdlScreen::ChoosePresentation() {
    if (AfxIsVideoDriver("wayland")) {
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
        m_nWindowFlags |= SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
        m_bOwnRenderers = true;
    } else {
        // Elsewhere windows are painted in software; an accelerated path would load a GL
        // driver only to copy the same pixels, at several times the memory and start-up time.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
}

HSCREEN CSdlScreen::Open(const ScreenWindowSpec& wanted, RECT* prcClient) {
    // An owned window shows in the taskbar through its owner, as on Windows.
    const Uint32 nFlags = m_nWindowFlags | (wanted.hOwner != nullptr ? SDL_WINDOW_SKIP_TASKBAR : 0);
    // The desktop measures a window in units of nDensity pixels; a whole number of them
    // holds the client area.
    const int nDensity = m_bOwnRenderers ? AfxGetPixelDensity() : 1;
    const RECT& rc = wanted.rcClient;
    const int cx = (rc.right - rc.left + nDensity - 1) / nDensity;
    const int cy = (rc.bottom - rc.top + nDensity - 1) / nDensity;
    const int x = wanted.bCentred ? SDL_WINDOWPOS_CENTERED : rc.left;
    const int y = wanted.bCentred ? SDL_WINDOWPOS_CENTERED : rc.top;
    auto pScreen = std::make_unique<HSCREEN__>();
    pScreen->hOwner = wanted.hOwner;
    pScreen->pWindow = SDL_CreateWindow(wanted.pszCaption, x, y, cx, cy, nFlags);
    if (pScreen->pWindow == nullptr) {
        return nullptr;
    }
    AfxPrepareX11Window(pScreen->pWindow, wanted.pszCaption, wanted.hOwner != nullptr);
    if (m_bOwnRenderers) {
        pScreen->pRenderer = SDL_CreateRenderer(pScreen->pWindow, -1, SDL_RENDERER_ACCELERATED);
        if (pScreen->pRenderer == nullptr) {
            SDL_DestroyWindow(pScreen->pWindow);
            return nullptr;
        }
        int cxPixels = 0;
        SDL_GetWindowSizeInPixels(pScreen->pWindow, &cxPixels, nullptr);
        pScreen->nPixelScale = std::max(1, cxPixels / cx);
    }
    pScreen->nWindowID = SDL_GetWindowID(pScreen->pWindow);
    int xActual = 0, yActual = 0, cxPixels = 0, cyPixels = 0;
    SDL_GetWindowPosition(pScreen->pWindow, &xActual, &yActual);
    SDL_GetWindowSizeInPixels(pScreen->pWindow, &cxPixels, &cyPixels);
    *prcClient = RECT{xActual, yActual, xActual + cxPixels, yActual + cyPixels};
    m_windows.push_back(std::move(pScreen));
    return m_windows.back().get();
}

void CSdlScreen::Show(HSCREEN hScreen) {
    // An owned window stays above its owner: the window manager learns that before the
    // window appears where it can (X11), and once it has appeared elsewhere (Wayland).
    const HSCREEN hOwner = hScreen->hOwner;
    const bool bOwned =
        hOwner == nullptr || SDL_SetWindowModalFor(hScreen->pWindow, hOwner->pWindow) == 0;
    SDL_ShowWindow(hScreen->pWindow);
    if (!bOwned) {
        SDL_SetWindowModalFor(hScreen->pWindow, hOwner->pWindow);
    }
}

void CSdlScreen::Activate(HSCREEN hScreen) {
    ActivateWindow(hScreen->pWindow);
}

void CSdlScreen::Minimize(HSCREEN hScreen) {
    SDL_MinimizeWindow(hScreen->pWindow);
}

bool CSdlScreen::IsMinimized(HSCREEN hScreen) const {
    return (SDL_GetWindowFlags(hScreen->pWindow) & SDL_WINDOW_MINIMIZED) != 0;
}

void CSdlScreen::Close(HSCREEN hScreen) {
    // Hidden first, so that the window is gone from the screen at once.
    SDL_HideWindow(hScreen->pWindow);
    SDL_FreeSurface(hScreen->pPixels);
    if (hScreen->pRenderer != nullptr) {
        SDL_DestroyRenderer(hScreen->pRenderer);  // with its texture
    }
    {
        std::lock_guard<std::mutex> lock(m_mutexWake);
        SDL_DestroyWindow(hScreen->pWindow);
    }
    m_windows.erase(std::find_if(m_windows.begin(), m_windows.end(),
                                 [hScreen](const auto& p) { return p.get() == hScreen; }));
}

const char* CSdlScreen::LastError() const {
    return SDL_GetError();
}

void CSdlScreen::SetIcon(HSCREEN hScreen, HICON hIcon, bool bBig) {
    // SDL keeps one icon per window; the big image wins over the small one.
    if (hScreen->bBigIcon && !bBig) {
        return;
    }
    int nScale = 1;
    const ICONIMAGE* pImage =
        AfxFindIconImage(hIcon, GetSystemMetrics(bBig ? SM_CXICON : SM_CXSMICON), &nScale);
    SDL_Surface* pSurface = pImage != nullptr ? MakeIconSurface(hIcon, *pImage, nScale) : nullptr;
    if (pSurface != nullptr) {
        SDL_SetWindowIcon(hScreen->pWindow, pSurface);
        SDL_FreeSurface(pSurface);
        hScreen->bBigIcon = hScreen->bBigIcon || bBig;
    }
}

HSCREEN CSdlScreen::FindByWindowID(Uint32 nWindowID) const {
    for (const auto& pScreen : m_windows) {
        if (pScreen->nWindowID == nWindowID) {
            return pScreen.get();
        }
    }
    return nullptr;
}

POINT CSdlScreen::MousePoint(HSCREEN hScreen, Sint32 x, Sint32 y) {
    return POINT{x * hScreen->nPixelScale, y * hScreen->nPixelScale};
}

bool AfxIsVideoDriver(const char* pszName) {
    const char* pszDriver = SDL_GetCurrentVideoDriver();
    return pszDriver != nullptr && std::strcmp(pszDriver, pszName) == 0;
}

CSdlScreen& AfxSdlScreen() {
    static CSdlScreen s_screen;
    return s_screen;
}
