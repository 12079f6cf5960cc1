// The program's top-level windows: each a CWnd with a window on the screen, kept in the order
// they were opened. The window layer's own; UI thread only.
#pragma once

#include <vector>

#include "platform/window/screen.h"
#include "platform/window/wnd.h"

// Opens a hidden window on the screen for pWnd, which must already have its handle, with its
// client area at rcClient (screen pixels), or centred on the screen. An owned window is a
// modal dialog of pOwner: it stays above pOwner and has no taskbar entry of its own.
BOOL AfxOpenScreenWindow(CWnd* pWnd, const char* pszCaption, const RECT& rcClient, bool bCentred,
                         CWnd* pOwner);
void AfxShowScreenWindow(CWnd* pWnd);
// Restores, raises and focuses the window, as when a dialog hands the activation back.
void AfxActivateScreenWindow(CWnd* pWnd);
// Prints the one line that says no window can be opened, with the screen's reason.
void AfxReportWindowError();

// The window on the screen behind a top-level window, or null.
HSCREEN AfxScreenOf(const CWnd* pWnd);
// The newest top-level window that is open, or null.
CWnd* AfxGetTopWindow();
// The open window with the handle hWnd, or null.
CWnd* AfxFindWindow(HWND hWnd);
// The open window whose screen window hScreen is, or null.
CWnd* AfxFindScreenWindow(HSCREEN hScreen);
// The oldest open window, the program's main window; null when none is open.
CWnd* AfxGetFirstWindow();
// Whether pWnd is still open.
bool AfxIsWindowOpen(const CWnd* pWnd);
// Closes pWnd and every window opened after it, newest first, so that its dialogs go before
// it.
void AfxCloseFrom(CWnd* pWnd);
// A window that a modal dialog has disabled hands a click or the activation on to the newest
// window opened after it, as Windows activates the dialog, so that the dialog is never buried
// under its owner, nor left minimised.
void AfxActivateModalAbove(CWnd* pWnd);
// The window the user works with, as the display last said; null when none of the program's.
CWnd* AfxGetActiveWindow();
// What the display says of pWnd's activation.
void AfxSetActiveWindow(CWnd* pWnd, bool bActive);
// Every open window, oldest first. Whoever sends messages while going through them, which may
// open and close windows, goes through a copy.
const std::vector<CWnd*>& AfxOpenWindows();
