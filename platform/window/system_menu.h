// The window's own menu, which the platform draws over the window's client area, since the
// window manager's menu is out of the program's reach. UI thread only.
#pragma once

#include "platform/window/menu_popup.h"
#include "platform/window/wnd.h"

// Opens the window's menu with its top-left corner at ptClient, moved to fit in the client
// area. Does nothing when the window has no menu, or it is open already.
void AfxOpenSystemMenu(CWnd* pWnd, POINT ptClient);
// Acts on what an input event did to the open menu. A chosen entry's command goes to the
// window once the menu is gone, as Windows sends it.
void AfxFollowSystemMenu(CWnd* pWnd, CMenuPopup::Outcome outcome);
// Puts the open menu back over whatever the window has painted; answers the part of the
// window it covers, empty when no menu is open.
RECT AfxDrawSystemMenu(CWnd* pWnd);
