// Windows' own windows under the screen driver, in plain C++ types: this side includes
// Windows' headers and none of the platform's, whose Win32-shaped names would clash with
// them, and the driver's side the other way round. The win32 layer's own; UI thread only,
// but for Wake.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace native {

struct Rect {
    int left;
    int top;
    int right;
    int bottom;
};

enum class EventKind {
    kClose,
    kMinimized,
    kRestored,
    kActivated,
    kDeactivated,
    kMoved,
    kMouseMove,
    kButtonDown,
    kButtonUp,
    kKeyDown,
    kSystemCommand,
    kQuit,
};

enum class Button { kLeft, kMiddle, kRight, kOther };

// What a window says, in the terms of the platform's ScreenEvent: client pixels, Windows'
// virtual keys.
struct Event {
    EventKind kind = EventKind::kQuit;
    void* hWindow = nullptr;
    int x = 0;
    int y = 0;
    Button button = Button::kLeft;
    int nClicks = 0;
    bool bLeftDown = false;
    unsigned nKey = 0;
    bool bAlt = false;
    bool bShift = false;
    bool bRepeat = false;
    Rect rcClient{0, 0, 0, 0};  // in screen pixels
    bool bResized = false;
    unsigned nCommand = 0;  // a command of the program's own entries in the system menu
};

// An entry that the program adds to a window's system menu: a separator, or a text with its
// '&' mnemonic and, after a tab, its shortcut.
struct MenuEntry {
    unsigned nID;
    std::string strText;  // UTF-8
    bool bSeparator;
    bool bChecked;
};

// A window's pixels, XRGB8888 top-down, which stay its own until its size changes.
struct Pixels {
    int cx;
    int cy;
    int nPitch;
    std::uint32_t* pPixels;
};

// Whom the windows tell what happened, and whom a system menu about to open asks for the
// program's entries.
struct Listener {
    std::function<void(const Event&)> fnEvent;
    std::function<std::vector<MenuEntry>(void* hWindow)> fnSystemMenu;
};

// Registers the windows' class and makes the event that wakes the wait.
bool Start(const Listener& listener);
void Stop();
// Opens a hidden window whose client area is rcClient, or centred on the screen; owned by
// hOwner, a modal dialog's. *prcActual receives the client area it got. Null on failure, and
// LastError says why.
void* OpenWindow(const std::string& strCaption, Rect rcClient, bool bCentred, void* hOwner,
                 Rect* prcActual);
const char* LastError();
void ShowWindow(void* hWindow);
void ActivateWindow(void* hWindow);
void MinimizeWindow(void* hWindow);
bool IsWindowMinimized(void* hWindow);
void CloseWindow(void* hWindow);
Pixels WindowPixels(void* hWindow);
// Copies the part of the window's pixels to the screen; all of them for null.
void PresentWindow(void* hWindow, const Rect* prc);
// The window's icon, from ARGB pixels, top row first.
void SetWindowIcon(void* hWindow, const std::vector<std::uint32_t>& argb, int cx, int cy,
                   bool bBig);
// Opens the window's system menu, as Alt+Space does.
void OpenSystemMenu(void* hWindow);
// Waits until a message comes, Wake is called or nTimeoutMs pass (-1: no limit), then hands
// every waiting message to its window.
void WaitAndDispatch(int nTimeoutMs);
// Ends a wait at once. Any thread.
void Wake();
// The screen's DPI, as the system gives it to a program that is aware of it.
int ScreenDpi();

}  // namespace native
