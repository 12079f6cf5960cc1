// The screen windows behind top-level CWnds. Platform code only.
#pragma once

#include <SDL.h>

#include <map>
#include <memory>

#include "platform/menu.h"
#include "platform/menu_popup.h"
#include "platform/wnd.h"

// A timer runs on the UI thread: its message loop wakes when the timer is due.
struct WndTimer {
    Uint32 nPeriod;  // milliseconds
    Uint64 nDue;     // on SDL_GetTicks64's clock
};

struct WndSystem {
    SDL_Window* pWindow = nullptr;
    // Where SDL's window surface would have the window's size in the desktop's coordinates
    // rather than in pixels (Wayland), the window is shown through a renderer of its own from
    // a surface of its full pixel size.
    SDL_Renderer* pRenderer = nullptr;
    SDL_Texture* pTexture = nullptr;
    SDL_Surface* pPixels = nullptr;
    // Pixels per unit of the window's size on the desktop, each way.
    int nPixelScale = 1;
    Uint32 nWindowID = 0;
    HWND hWnd = nullptr;
    CWnd* pWnd = nullptr;
    std::map<UINT, WndTimer> timers;
    bool bBigIcon = false;
    // The font the platform draws the window's own parts in: its menu and its controls.
    CString strFontFace = "sans-serif";
    int nFontPointSize = 9;
    std::unique_ptr<CMenu> pSystemMenu;
    std::unique_ptr<CMenuPopup> pPopup;
    // A click outside the open menu closes it; its release belongs to the menu as well.
    bool bSwallowButtonUp = false;
    // The window this one belongs to (a dialog's owner), or null.
    CWnd* pOwner = nullptr;
    // The surface holds what was painted while the window was minimised.
    bool bMinimisedPicture = false;
};

// Opens a hidden screen window for pWnd, whose handle it must already have, with its client
// area at rcClient (screen coordinates; SDL_WINDOWPOS_CENTERED allowed in left and top). An
// owned window stays above pOwner and has no taskbar entry of its own.
BOOL AfxOpenScreenWindow(CWnd* pWnd, const char* pszCaption, const RECT& rcClient, CWnd* pOwner);
void AfxShowScreenWindow(CWnd* pWnd);
// Restores, raises and focuses the window, as when a dialog hands the activation back.
void AfxActivateScreenWindow(CWnd* pWnd);
