// Window events, as Win32's SetWinEventHook and NotifyWinEvent tell them: what happens to the
// program's windows and to the items they hold, for whoever listens (the screen reader's
// side, say). The window layer says them and knows no listener; a listener asks the window
// layer for what it needs to know of the window named. UI thread only.
#pragma once

#include "platform/base/win_types.h"
#include "platform/window/wnd.h"

// The window hwnd has become the active one; a null hwnd: none of the program's is.
constexpr DWORD EVENT_SYSTEM_FOREGROUND = 0x0003;
// The window's menu has opened, or closed.
constexpr DWORD EVENT_SYSTEM_MENUPOPUPSTART = 0x0006;
constexpr DWORD EVENT_SYSTEM_MENUPOPUPEND = 0x0007;
// A window has opened, or is closing; hwnd is still its handle, though no longer a window's.
constexpr DWORD EVENT_OBJECT_CREATE = 0x8000;
constexpr DWORD EVENT_OBJECT_DESTROY = 0x8001;
// The window's items are others now, or stand elsewhere.
constexpr DWORD EVENT_OBJECT_REORDER = 0x8004;
// The item idChild of the window has the keyboard focus; 0 for none. With OBJID_MENU, the
// highlight of the open menu is on its entry idChild - 1; 0 for none.
constexpr DWORD EVENT_OBJECT_FOCUS = 0x8005;
// The description of the item idChild has changed.
constexpr DWORD EVENT_OBJECT_DESCRIPTIONCHANGE = 0x800D;
// The window has something to say, whatever has the focus (AfxAnnounce): a live region's
// change.
constexpr DWORD EVENT_OBJECT_LIVEREGIONCHANGED = 0x8019;
constexpr DWORD EVENT_MIN = 0x00000001;
constexpr DWORD EVENT_MAX = 0x7FFFFFFF;

// What an event is about: the window itself, or its client area's items.
constexpr LONG OBJID_WINDOW = 0;
constexpr LONG OBJID_CLIENT = -4;
constexpr LONG OBJID_MENU = -3;
constexpr LONG CHILDID_SELF = 0;

struct HWINEVENTHOOK__;
using HWINEVENTHOOK = HWINEVENTHOOK__*;
using WINEVENTPROC = void (*)(HWINEVENTHOOK hWinEventHook, DWORD event, HWND hwnd, LONG idObject,
                              LONG idChild);

// Calls pfnWinEventProc for every event from eventMin to eventMax that is told from now on,
// until UnhookWinEvent; null when pfnWinEventProc is.
HWINEVENTHOOK SetWinEventHook(DWORD eventMin, DWORD eventMax, WINEVENTPROC pfnWinEventProc);
BOOL UnhookWinEvent(HWINEVENTHOOK hWinEventHook);
// Tells the hooks of event at once, in the order they were set.
void NotifyWinEvent(DWORD event, HWND hwnd, LONG idObject, LONG idChild);
