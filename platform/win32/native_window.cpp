#include "platform/win32/native_window.h"

#include <windows.h>
#include <windowsx.h>

#include <cstring>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/win32/base/system_text.h"
#include "platform/win32/dib_section.h"

namespace native {

namespace {

constexpr const wchar_t* kWindowClass = L"HoplinWindow";
// The system menu's own commands start here; the program's lie below.
constexpr WPARAM kFirstSystemCommand = 0xF000;
constexpr WPARAM kSystemCommandMask = 0xFFF0;
// lParam's bits of a key message: repeated, and Alt held.
constexpr LPARAM kKeyWasDown = 1 << 30;

// What the program keeps of each of its windows beside Windows' own.
struct Window {
    HWND hWnd = nullptr;
    HDC hdcPixels = nullptr;  // a memory context with the pixels selected
    HBITMAP hBitmap = nullptr;
    HGDIOBJ hOldBitmap = nullptr;
    Pixels pixels{0, 0, 0, nullptr};
    bool bMinimized = false;
    // How many entries of the program's the system menu has now, after Windows' own.
    int nProgramEntries = 0;
    HICON hIcons[2] = {nullptr, nullptr};  // small, big
};

Listener g_listener;
HANDLE g_hWake = nullptr;
std::map<HWND, std::unique_ptr<Window>> g_windows;
std::string g_strError;

Window* WindowOf(void* hWindow) {
    auto it = g_windows.find(static_cast<HWND>(hWindow));
    return it != g_windows.end() ? it->second.get() : nullptr;
}

void Tell(Event event) {
    if (g_listener.fnEvent) {
        g_listener.fnEvent(event);
    }
}

Event EventOf(EventKind kind, HWND hWnd) {
    Event event;
    event.kind = kind;
    event.hWindow = hWnd;
    return event;
}

Rect ClientOnScreen(HWND hWnd) {
    RECT rc{};
    GetClientRect(hWnd, &rc);
    POINT pt{0, 0};
    ClientToScreen(hWnd, &pt);
    return Rect{pt.x, pt.y, pt.x + rc.right, pt.y + rc.bottom};
}

// The window's pixels at its client area's size, made anew when that has changed.
void SizePixels(Window& window) {
    RECT rc{};
    GetClientRect(window.hWnd, &rc);
    const int cx = rc.right > 0 ? rc.right : 1;
    const int cy = rc.bottom > 0 ? rc.bottom : 1;
    if (window.hBitmap != nullptr && window.pixels.cx == cx && window.pixels.cy == cy) {
        return;
    }
    if (window.hBitmap != nullptr) {
        SelectObject(window.hdcPixels, window.hOldBitmap);
        DeleteObject(window.hBitmap);
    }
    void* pBits = nullptr;
    window.hBitmap = AfxCreateDibSection(window.hdcPixels, cx, cy, &pBits);
    if (window.hBitmap == nullptr) {
        window.pixels = Pixels{0, 0, 0, nullptr};
        return;
    }
    window.hOldBitmap = SelectObject(window.hdcPixels, window.hBitmap);
    window.pixels = Pixels{cx, cy, cx * kDibBytesPerPixel, static_cast<std::uint32_t*>(pBits)};
}

void Paint(Window& window) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(window.hWnd, &paint);
    const RECT& rc = paint.rcPaint;
    if (window.hBitmap != nullptr) {
        BitBlt(hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, window.hdcPixels,
               rc.left, rc.top, SRCCOPY);
    }
    EndPaint(window.hWnd, &paint);
}

// The program's entries go after Windows' own each time the menu opens, as they are now.
void FillSystemMenu(Window& window) {
    HMENU hMenu = GetSystemMenu(window.hWnd, FALSE);
    if (hMenu == nullptr || !g_listener.fnSystemMenu) {
        return;
    }
    for (; window.nProgramEntries > 0; --window.nProgramEntries) {
        DeleteMenu(hMenu, GetMenuItemCount(hMenu) - 1, MF_BYPOSITION);
    }
    std::vector<MenuEntry> entries = g_listener.fnSystemMenu(window.hWnd);
    // A separator keeps the program's entries apart from Windows' own.
    if (!entries.empty() && !entries.front().bSeparator) {
        entries.insert(entries.begin(), MenuEntry{0, std::string(), true, false});
    }
    for (const MenuEntry& entry : entries) {
        const std::wstring strText = AfxSystemFromUtf8(entry.strText);
        const UINT nFlags =
            entry.bSeparator ? MF_SEPARATOR : MF_STRING | (entry.bChecked ? MF_CHECKED : 0);
        AppendMenuW(hMenu, nFlags, entry.nID, entry.bSeparator ? nullptr : strText.c_str());
        ++window.nProgramEntries;
    }
}

Event MouseEvent(EventKind kind, HWND hWnd, WPARAM wParam, LPARAM lParam) {
    Event event = EventOf(kind, hWnd);
    event.x = GET_X_LPARAM(lParam);
    event.y = GET_Y_LPARAM(lParam);
    event.bLeftDown = (wParam & MK_LBUTTON) != 0;
    return event;
}

void TellButton(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool bUp = message == WM_LBUTTONUP || message == WM_RBUTTONUP ||
                     message == WM_MBUTTONUP || message == WM_XBUTTONUP;
    Event event =
        MouseEvent(bUp ? EventKind::kButtonUp : EventKind::kButtonDown, hWnd, wParam, lParam);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
            event.button = Button::kLeft;
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_RBUTTONUP:
            event.button = Button::kRight;
            break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_MBUTTONUP:
            event.button = Button::kMiddle;
            break;
        default:
            event.button = Button::kOther;
            break;
    }
    const bool bDouble = message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK ||
                         message == WM_MBUTTONDBLCLK || message == WM_XBUTTONDBLCLK;
    event.nClicks = bUp ? 0 : (bDouble ? 2 : 1);
    // The button's release comes to the window that had its press, wherever the pointer is.
    if (bUp) {
        ReleaseCapture();
    } else {
        SetCapture(hWnd);
    }
    Tell(event);
}

void TellKey(HWND hWnd, WPARAM wParam, LPARAM lParam, bool bAlt) {
    Event event = EventOf(EventKind::kKeyDown, hWnd);
    event.nKey = static_cast<unsigned>(wParam);
    event.bAlt = bAlt;
    event.bShift = GetKeyState(VK_SHIFT) < 0;
    event.bRepeat = (lParam & kKeyWasDown) != 0;
    Tell(event);
}

void TellSize(Window& window, WPARAM wParam) {
    if (wParam == SIZE_MINIMIZED) {
        window.bMinimized = true;
        Tell(EventOf(EventKind::kMinimized, window.hWnd));
        return;
    }
    if (std::exchange(window.bMinimized, false)) {
        Tell(EventOf(EventKind::kRestored, window.hWnd));
    }
    Event event = EventOf(EventKind::kMoved, window.hWnd);
    event.rcClient = ClientOnScreen(window.hWnd);
    event.bResized = true;
    Tell(event);
}

// Alt with F4 closes and Alt with Space opens the system menu, as Windows does them; Alt on
// its own, and F10, are left to Windows too.
bool IsWindowsOwnKey(WPARAM wParam) {
    return wParam == VK_F4 || wParam == VK_SPACE || wParam == VK_MENU || wParam == VK_F10;
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* pWindow = WindowOf(hWnd);
    if (pWindow == nullptr) {
        return DefWindowProcW(hWnd, message, wParam, lParam);
    }
    switch (message) {
        case WM_CLOSE:
            Tell(EventOf(EventKind::kClose, hWnd));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(*pWindow);
            return 0;
        case WM_SIZE:
            TellSize(*pWindow, wParam);
            return 0;
        case WM_MOVE: {
            Event event = EventOf(EventKind::kMoved, hWnd);
            event.rcClient = ClientOnScreen(hWnd);
            Tell(event);
            return 0;
        }
        case WM_ACTIVATE:
            Tell(EventOf(
                LOWORD(wParam) == WA_INACTIVE ? EventKind::kDeactivated : EventKind::kActivated,
                hWnd));
            return DefWindowProcW(hWnd, message, wParam, lParam);
        case WM_MOUSEMOVE:
            Tell(MouseEvent(EventKind::kMouseMove, hWnd, wParam, lParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_MBUTTONUP:
        case WM_XBUTTONDOWN:
        case WM_XBUTTONDBLCLK:
        case WM_XBUTTONUP:
            TellButton(hWnd, message, wParam, lParam);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_F10) {
                break;
            }
            TellKey(hWnd, wParam, lParam, false);
            return 0;
        case WM_SYSKEYDOWN:
            if (IsWindowsOwnKey(wParam)) {
                break;
            }
            TellKey(hWnd, wParam, lParam, true);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & kSystemCommandMask) < kFirstSystemCommand) {
                Event event = EventOf(EventKind::kSystemCommand, hWnd);
                event.nCommand = static_cast<unsigned>(wParam);
                Tell(event);
                return 0;
            }
            break;
        case WM_INITMENUPOPUP:
            if (HIWORD(lParam) != 0) {
                FillSystemMenu(*pWindow);
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

DWORD StyleFor(bool bOwned) {
    return bOwned ? WS_POPUP | WS_CAPTION | WS_SYSMENU
                  : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
}

DWORD ExStyleFor(bool bOwned) {
    return bOwned ? WS_EX_DLGMODALFRAME : WS_EX_APPWINDOW;
}

// Where a window whose client area is rc goes, centred on the work area when asked.
RECT WindowRectFor(Rect rcClient, bool bCentred, bool bOwned) {
    RECT rc{rcClient.left, rcClient.top, rcClient.right, rcClient.bottom};
    AdjustWindowRectEx(&rc, StyleFor(bOwned), FALSE, ExStyleFor(bOwned));
    if (bCentred) {
        RECT rcWork{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
        const int cx = rc.right - rc.left;
        const int cy = rc.bottom - rc.top;
        const int x = rcWork.left + (rcWork.right - rcWork.left - cx) / 2;
        const int y = rcWork.top + (rcWork.bottom - rcWork.top - cy) / 2;
        rc = RECT{x, y, x + cx, y + cy};
    }
    return rc;
}

HICON MakeIcon(const std::vector<std::uint32_t>& argb, int cx, int cy) {
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof(header);
    header.bV5Width = cx;
    header.bV5Height = -cy;
    header.bV5Planes = 1;
    header.bV5BitCount = 8 * kDibBytesPerPixel;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* pBits = nullptr;
    HDC hdc = GetDC(nullptr);
    HBITMAP hColour = CreateDIBSection(hdc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                       &pBits, nullptr, 0);
    ReleaseDC(nullptr, hdc);
    if (hColour == nullptr) {
        return nullptr;
    }
    std::memcpy(pBits, argb.data(), argb.size() * sizeof(std::uint32_t));
    HBITMAP hMask = CreateBitmap(cx, cy, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, hMask, hColour};
    HICON hIcon = CreateIconIndirect(&info);
    DeleteObject(hMask);
    DeleteObject(hColour);
    return hIcon;
}

}  // namespace

bool Start(const Listener& listener) {
    g_listener = listener;
    g_hWake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kWindowClass;
    if (g_hWake == nullptr || RegisterClassExW(&windowClass) == 0) {
        g_strError = AfxDescribeSystemError(GetLastError());
        return false;
    }
    return true;
}

void Stop() {
    UnregisterClassW(kWindowClass, GetModuleHandleW(nullptr));
    CloseHandle(g_hWake);
    g_hWake = nullptr;
    g_listener = Listener();
}

void* OpenWindow(const std::string& strCaption, Rect rcClient, bool bCentred, void* hOwner,
                 Rect* prcActual) {
    const bool bOwned = hOwner != nullptr;
    const RECT rc = WindowRectFor(rcClient, bCentred, bOwned);
    auto pWindow = std::make_unique<Window>();
    const std::wstring strTitle = AfxSystemFromUtf8(strCaption);
    HWND hWnd =
        CreateWindowExW(ExStyleFor(bOwned), kWindowClass, strTitle.c_str(), StyleFor(bOwned),
                        rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                        static_cast<HWND>(hOwner), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hWnd == nullptr) {
        g_strError = AfxDescribeSystemError(GetLastError());
        return nullptr;
    }
    pWindow->hWnd = hWnd;
    pWindow->hdcPixels = CreateCompatibleDC(nullptr);
    SizePixels(*pWindow);
    *prcActual = ClientOnScreen(hWnd);
    g_windows[hWnd] = std::move(pWindow);
    return hWnd;
}

const char* LastError() {
    return g_strError.c_str();
}

void ShowWindow(void* hWindow) {
    ::ShowWindow(static_cast<HWND>(hWindow), SW_SHOW);
}

void ActivateWindow(void* hWindow) {
    HWND hWnd = static_cast<HWND>(hWindow);
    if (IsIconic(hWnd)) {
        ::ShowWindow(hWnd, SW_RESTORE);
    }
    SetForegroundWindow(hWnd);
    SetActiveWindow(hWnd);
    SetFocus(hWnd);
}

void MinimizeWindow(void* hWindow) {
    ::ShowWindow(static_cast<HWND>(hWindow), SW_MINIMIZE);
}

bool IsWindowMinimized(void* hWindow) {
    return IsIconic(static_cast<HWND>(hWindow)) != FALSE;
}

void CloseWindow(void* hWindow) {
    Window* pWindow = WindowOf(hWindow);
    if (pWindow == nullptr) {
        return;
    }
    ::ShowWindow(pWindow->hWnd, SW_HIDE);
    // Forgotten first, so that what DestroyWindow sends goes unheard.
    std::unique_ptr<Window> pGone = std::move(g_windows[pWindow->hWnd]);
    g_windows.erase(pGone->hWnd);
    DestroyWindow(pGone->hWnd);
    if (pGone->hBitmap != nullptr) {
        SelectObject(pGone->hdcPixels, pGone->hOldBitmap);
        DeleteObject(pGone->hBitmap);
    }
    DeleteDC(pGone->hdcPixels);
    for (HICON hIcon : pGone->hIcons) {
        if (hIcon != nullptr) {
            DestroyIcon(hIcon);
        }
    }
}

Pixels WindowPixels(void* hWindow) {
    Window* pWindow = WindowOf(hWindow);
    if (pWindow == nullptr) {
        return Pixels{0, 0, 0, nullptr};
    }
    SizePixels(*pWindow);
    GdiFlush();
    return pWindow->pixels;
}

void PresentWindow(void* hWindow, const Rect* prc) {
    Window* pWindow = WindowOf(hWindow);
    if (pWindow == nullptr || pWindow->hBitmap == nullptr) {
        return;
    }
    const Rect rc = prc != nullptr ? *prc : Rect{0, 0, pWindow->pixels.cx, pWindow->pixels.cy};
    HDC hdc = GetDC(pWindow->hWnd);
    BitBlt(hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, pWindow->hdcPixels,
           rc.left, rc.top, SRCCOPY);
    ReleaseDC(pWindow->hWnd, hdc);
}

void SetWindowIcon(void* hWindow, const std::vector<std::uint32_t>& argb, int cx, int cy,
                   bool bBig) {
    Window* pWindow = WindowOf(hWindow);
    HICON hIcon = pWindow != nullptr ? MakeIcon(argb, cx, cy) : nullptr;
    if (hIcon == nullptr) {
        return;
    }
    HICON& hOld = pWindow->hIcons[bBig ? 1 : 0];
    SendMessageW(pWindow->hWnd, WM_SETICON, bBig ? ICON_BIG : ICON_SMALL,
                 reinterpret_cast<LPARAM>(hIcon));
    if (hOld != nullptr) {
        DestroyIcon(hOld);
    }
    hOld = hIcon;
}

void OpenSystemMenu(void* hWindow) {
    PostMessageW(static_cast<HWND>(hWindow), WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE);
}

void WaitAndDispatch(int nTimeoutMs) {
    const DWORD dwTimeout = nTimeoutMs < 0 ? INFINITE : static_cast<DWORD>(nTimeoutMs);
    MsgWaitForMultipleObjectsEx(1, &g_hWake, dwTimeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            Tell(EventOf(EventKind::kQuit, nullptr));
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Wake() {
    SetEvent(g_hWake);
}

int ScreenDpi() {
    HDC hdc = GetDC(nullptr);
    const int nDpi = GetDeviceCaps(hdc, LOGPIXELSY);
    ReleaseDC(nullptr, hdc);
    return nDpi;
}

}  // namespace native
