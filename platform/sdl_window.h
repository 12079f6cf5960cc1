// The screen windows behind top-level CWnds. Platform code only.
#pragma once

#include <SDL.h>

#include <map>

#include "platform/wnd.h"

struct WndSystem {
    SDL_Window* pWindow = nullptr;
    Uint32 nWindowID = 0;
    HWND hWnd = nullptr;
    std::map<UINT, SDL_TimerID> timers;
    bool bBigIcon = false;
};

// Opens a hidden screen window for pWnd, whose handle it must already have, with its client
// area at rcClient (screen coordinates; SDL_WINDOWPOS_CENTERED allowed in left and top).
BOOL AfxOpenScreenWindow(CWnd* pWnd, const char* pszCaption, const RECT& rcClient);
void AfxShowScreenWindow(CWnd* pWnd);
