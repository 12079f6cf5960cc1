// A window's default processing of the messages that the platform itself acts on.
#include "platform/gdi/dc.h"
#include "platform/window/accessibility.h"
#include "platform/window/messages.h"
#include "platform/window/paint_dc.h"
#include "platform/window/system_menu.h"
#include "platform/window/wnd.h"
#include "platform/window/wnd_system.h"

namespace {

LRESULT EraseBackground(CWnd* pWnd, WPARAM wParam) {
    auto* pDC = reinterpret_cast<CDC*>(wParam);
    RECT rcClient;
    pWnd->GetClientRect(&rcClient);
    pDC->FillSolidRect(&rcClient, GetSysColor(COLOR_BTNFACE));
    return 1;
}

LRESULT SetIcon(WndSystem* pSystem, WPARAM wParam, LPARAM lParam) {
    if (pSystem != nullptr) {
        AfxScreen().SetIcon(pSystem->hScreen, reinterpret_cast<HICON>(lParam), wParam == ICON_BIG);
    }
    return 0;
}

}  // namespace

BOOL CWnd::IsIconic() const {
    return m_pSystem != nullptr && AfxScreen().IsMinimized(m_pSystem->hScreen);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
        case WM_ICONERASEBKGND:
            return EraseBackground(this, wParam);
        case WM_PAINT:
            // Validates the update area, unless a handler's paint context has taken it.
            if (!IsPaintTaken()) {
                CPaintDC dc(this);
            }
            return 0;
        case WM_SETICON:
            return SetIcon(m_pSystem.get(), wParam, lParam);
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                SendMessage(WM_CLOSE, 0, 0);
            }
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4) {
                SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
            } else if (wParam == VK_SPACE && m_pSystem != nullptr) {
                AfxOpenSystemMenu(this, POINT{0, 0});
            }
            return 0;
        case WM_KEYDOWN:
            // The context-menu key, and Shift+F10, open the window's menu as they open a
            // context menu in GTK and Qt programs: the desktop may keep Alt+Space.
            if (wParam == VK_APPS && m_pSystem != nullptr) {
                AfxOpenSystemMenu(this, POINT{0, 0});
            }
            return 0;
        case WM_ACCESSIBLECLICK:
            AfxClickAccessible(this, static_cast<UINT>(wParam));
            return 0;
        case WM_RBUTTONUP:
            // The window manager's menu is out of the program's reach, so the client area
            // offers it.
            if (m_pSystem != nullptr) {
                AfxOpenSystemMenu(this, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            }
            return 0;
        case WM_CLOSE:
            DestroyWindow();
            return 0;
        default:
            return 0;
    }
}
