// The screen under the program's windows: what the window layer asks of the display, and what
// the display tells it. The window code reaches the display only through this header, as a
// Win32 window system reaches its display driver; platform/sdl/ implements it on SDL2, X11
// and Wayland, and installs itself when the program starts. Everything here is for the UI
// thread, but for CScreenDriver::Wake.
#pragma once

#include <string>

#include "platform/base/icon.h"
#include "platform/base/win_types.h"
#include "platform/gdi/dc.h"
#include "platform/window/wait_list.h"

// A window on the screen, as the driver keeps it.
struct HSCREEN__;
using HSCREEN = HSCREEN__*;

// What the window layer asks for when it opens a window on the screen.
struct ScreenWindowSpec {
    const char* pszCaption;  // UTF-8
    RECT rcClient;           // the client area in screen pixels
    bool bCentred;           // centred on the screen, whatever rcClient's place
    // The owner of a modal dialog, which stays above it and has no taskbar entry of its own;
    // null for a top-level window.
    HSCREEN hOwner;
};

enum class ScreenEventKind {
    kClose,      // the user asks to close the window: its close button, say
    kShowAgain,  // the window's pixels need showing again, as they are
    kMinimized,
    kRestored,       // from minimised or maximised
    kActivated,      // the window has become the one the user works with
    kDeactivated,    // it no longer is
    kMoved,          // rcClient holds the client area; bResized when its size changed
    kMouseMove,      // pt
    kButtonDown,     // pt, button, nClicks
    kButtonUp,       // pt, button
    kKeyDown,        // nKey (0: a key the windows do not act on), bAlt, bRepeat, stroke; hScreen
                     // is null for a gamepad's, which no window owns
    kKeyUp,          // stroke
    kDestroyed,      // another program destroyed the window
    kSystemCommand,  // nCommand: the program's entry chosen in a menu that the screen shows
    kQuit,           // a request to end the program, such as a signal; hScreen is null
};

// The other buttons (a mouse's side buttons) only close menus and activate dialogs.
enum class MouseButton { kLeft, kMiddle, kRight, kOther };

// A key as the platform's keyboard names it, for a screen reader, which hears every key before
// the program does: on Linux X's keysym, keycode and modifier bits, and what the key types, or
// else its keysym's name. An empty stroke (no keysym) is no keyboard's.
struct KeyStroke {
    UINT nKeySym = 0;
    UINT nKeyCode = 0;
    UINT nModifiers = 0;
    std::string strText;
    DWORD dwTime = 0;  // milliseconds, on the display's clock
};

// What the display tells the window layer, in the window layer's terms. Positions are in the
// window's client pixels, keys Windows' virtual keys.
struct ScreenEvent {
    ScreenEventKind kind = ScreenEventKind::kQuit;
    HSCREEN hScreen = nullptr;
    POINT pt{0, 0};
    MouseButton button = MouseButton::kLeft;
    int nClicks = 0;         // counts on within the double-click time and box
    bool bLeftDown = false;  // the left button is held, after this event
    UINT nKey = 0;
    bool bAlt = false;
    bool bShift = false;
    bool bRepeat = false;  // the keyboard's auto-repeat
    KeyStroke stroke{};
    RECT rcClient{0, 0, 0, 0};
    bool bResized = false;
    UINT nCommand = 0;
};

class CScreenDriver {
public:
    virtual ~CScreenDriver() = default;

    // Opens a hidden window; null when it cannot be opened, and then LastError says why.
    // *prcClient receives the client area the window has: a display may round its size.
    virtual HSCREEN Open(const ScreenWindowSpec& wanted, RECT* prcClient) = 0;
    virtual void Show(HSCREEN hScreen) = 0;
    // Makes the window the one the user works with: restored if minimised, raised, and with
    // the keyboard focus.
    virtual void Activate(HSCREEN hScreen) = 0;
    virtual void Minimize(HSCREEN hScreen) = 0;
    virtual bool IsMinimized(HSCREEN hScreen) const = 0;
    // Hides the window at once, then closes it.
    virtual void Close(HSCREEN hScreen) = 0;
    virtual const char* LastError() const = 0;

    // The window's pixels at their full size, which its paint contexts draw on; null when it
    // has none. They stay the window's until the window's size changes.
    virtual HSURFACE Surface(HSCREEN hScreen) = 0;
    // Shows at least the part prc of the window's pixels on the screen; all of them for null.
    virtual void Present(HSCREEN hScreen, const RECT* prc) = 0;
    // The window's icon, drawn from hIcon at the size the desktop shows; a display that keeps
    // one icon a window keeps the big one.
    virtual void SetIcon(HSCREEN hScreen, HICON hIcon, bool bBig) = 0;
    // Opens the window's menu where the screen shows a menu of its own, as Windows' system
    // menu is, and answers true: it shows the entries of the window's CWnd::GetSystemMenu as
    // they are when it opens, and a chosen one comes back as kSystemCommand. Answers false
    // where the window layer draws the menu itself.
    virtual bool OpenSystemMenu(HSCREEN hScreen) = 0;

    // Waits until the display has input for the program, one of the other drivers' handles
    // in *pWaits is ready (their nReady then say what came), Wake is called, or nTimeoutMs
    // have passed (-1: no limit; 0: no wait), then takes in what the display has sent.
    virtual void Gather(int nTimeoutMs, CWaitList* pWaits) = 0;
    // The next of the events taken in; false when there is none left.
    virtual bool NextEvent(ScreenEvent* pEvent) = 0;
    // Ends a wait of Gather's at once. Any thread.
    virtual void Wake() = 0;
};

// The driver that the window layer reaches the screen through. Until one is installed, a
// driver that opens no window serves.
CScreenDriver& AfxScreen();
// Installs pDriver, or with null puts back the one that opens no window. The program's
// start-up does it, before any window is opened.
void AfxSetScreenDriver(CScreenDriver* pDriver);
