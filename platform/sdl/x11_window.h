// What the program does on X11 beyond what SDL offers: the window-manager hints of its
// windows, and the X errors of windows and connections that are gone. Platform code only.
#pragma once

#include <SDL.h>

#include <string>

struct SDL_SysWMmsg;

// Installs the program's X error handlers; call it before SDL opens the display, so that
// SDL's own handler passes errors on to ours. From then on:
// - errors about the program's own windows once they are gone are ignored. The X server
//   reports them for requests that were on their way when a window was destroyed: by us,
//   when SDL's wake-up from another thread names a window that was just closed, or from
//   outside, by another client. Xlib's default handler would end the program for them.
// - a lost connection to the display ends the program as AfxEndForLostDisplay does.
void AfxInstallX11Handlers();

// Prepares a new, still hidden window on X11: it is one of the program's windows from now
// on, and window managers learn what it is.
// - A top-level window offers what a fixed-size window offers, moving, minimising and
//   closing, with no maximise button or action, and is transient for no other window.
// - A modal dialog (bModal) is typed as a dialog, is modal, and offers moving and closing
//   only. It becomes transient for its owner when it is shown.
// - Its title, pszTitle in UTF-8, reaches old tools too: WM_NAME in the form the locale's
//   Xlib converts (Latin-1, or compound text), beside the UTF-8 name that SDL gives.
// Does nothing on other displays.
void AfxPrepareX11Window(SDL_Window* pWindow, const char* pszTitle, bool bModal);

// Makes pWindow the window the user works with: restored if it is minimised, raised, and
// with the keyboard focus. A window manager is asked to, as EWMH has it, which restores a
// minimised window too; with none, the program raises and focuses the window itself.
// Answers false, and does nothing, when pWindow is not an X11 window.
bool AfxActivateX11Window(SDL_Window* pWindow);

// Readies pWindow's X11 connection for a wait: sends the requests Xlib holds and answers the
// connection's descriptor, or -1 when Xlib already has events that wait to be handled, and
// nothing must block. Answers -1 too when pWindow is not an X11 window.
int AfxBeginX11Wait(SDL_Window* pWindow);

// The X server's resource text, as xrdb leaves it on the root window, read through the
// connection of pWindow's display; empty when there is none, or pWindow is not an X11 window.
std::string AfxReadX11Resources(SDL_Window* pWindow);

// Whether the window-manager message reports pWindow destroyed by someone else.
bool AfxIsX11WindowDestroyed(const SDL_SysWMmsg& msg, SDL_Window* pWindow);
// Tells SDL that pWindow, which another client destroyed, is unmapped: SDL waits for the
// window's UnmapNotify when it hides the window, and the X server sends none any more.
void AfxQueueX11Unmapped(SDL_Window* pWindow);
// Whether a window-manager message is one the program acts on; the rest are dropped.
bool AfxIsX11MessageWanted(const SDL_SysWMmsg& msg);
