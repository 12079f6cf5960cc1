// What a top-level window has beyond its CWnd: its window on the screen, its timers, its own
// menu and its owner. The window layer's own; UI thread only.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/window/accessibility.h"
#include "platform/window/menu.h"
#include "platform/window/menu_popup.h"
#include "platform/window/screen.h"
#include "platform/window/wnd.h"

using WndClock = std::chrono::steady_clock;

// A timer runs on the UI thread: its message loop wakes when the timer is due.
struct WndTimer {
    std::chrono::milliseconds period;
    WndClock::time_point due;
};

struct WndSystem {
    HSCREEN hScreen = nullptr;
    // The window's handle, which its window events name after the window has let it go.
    HWND hWnd = nullptr;
    CWnd* pWnd = nullptr;
    // The window this one belongs to (a dialog's owner), or null.
    CWnd* pOwner = nullptr;
    std::map<UINT, WndTimer> timers;
    // The font the platform draws the window's own parts in: its menu and its controls.
    CString strFontFace = "sans-serif";
    int nFontPointSize = 9;
    std::unique_ptr<CMenu> pSystemMenu;
    std::unique_ptr<CMenuPopup> pPopup;
    // The entry of the open menu that window events last said is highlighted.
    int nMenuHighlight = -1;
    // A click outside the open menu closes it; its release belongs to the menu as well.
    bool bSwallowButtonUp = false;
    // The window's pixels hold what was painted while the window was minimised.
    bool bMinimisedPicture = false;
    // What a screen reader is told of the window (accessibility.h).
    CString strCaption;
    std::vector<AccessibleItem> accessibleItems;
    UINT nAccessibleFocus = 0;
    CString strAnnouncement;
};
