#include "platform/window/wnd.h"

#include <atomic>
#include <cstdint>

#include "platform/window/messages.h"

namespace {

HWND NewHandle() {
    static std::atomic<std::uintptr_t> s_nNext{1};
    return reinterpret_cast<HWND>(s_nNext.fetch_add(1));
}

// The window with the keyboard focus inside the program. UI thread only.
CWnd* g_pFocus = nullptr;
bool g_bShiftDown = false;
constexpr short kKeyDown = -0x8000;

}  // namespace

CWnd::~CWnd() {
    DestroyWindow();
}

BOOL CWnd::CreateTopLevel(DWORD dwStyle, const RECT& rcClient) {
    std::lock_guard<std::mutex> lock(m_mutexUpdate);
    m_hWnd = NewHandle();
    m_dwStyle = dwStyle;
    m_rect = rcClient;
    return TRUE;
}

CWnd* CWnd::CreateControl(UINT nID, DWORD dwStyle, const RECT& rect, const char* pszClass,
                          const char* pszText) {
    if (GetSafeHwnd() == nullptr) {
        return nullptr;
    }
    auto pControl = std::make_unique<CWnd>();
    pControl->m_hWnd = NewHandle();
    pControl->m_pParent = this;
    pControl->m_nID = nID;
    pControl->m_dwStyle = dwStyle | WS_CHILD;
    pControl->m_rect = rect;
    pControl->m_strClass = pszClass;
    pControl->m_strText = pszText;
    m_controls.push_back(std::move(pControl));
    return m_controls.back().get();
}

void CWnd::DestroyWindow() {
    if (g_pFocus == this) {
        g_pFocus = nullptr;
    }
    {
        // From here on other threads' invalidations and posts are ignored, so none of them
        // reaches the screen window that is closed below.
        std::lock_guard<std::mutex> lock(m_mutexUpdate);
        m_hWnd = nullptr;
        SetRectEmpty(&m_rcUpdate);
        m_bErase = FALSE;
        m_posted.clear();
    }
    m_controls.clear();
    m_pSystem.reset();
}

void CWnd::SetSystem(std::unique_ptr<WndSystem, WndSystemDeleter> pSystem) {
    m_pSystem = std::move(pSystem);
}

HWND CWnd::GetSafeHwnd() const {
    std::lock_guard<std::mutex> lock(m_mutexUpdate);
    return m_hWnd;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    for (const auto& pControl : m_controls) {
        if (static_cast<int>(pControl->m_nID) == nID) {
            return pControl.get();
        }
    }
    return nullptr;
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    const BOOL bWasDisabled = (m_dwStyle & WS_DISABLED) != 0;
    if (bEnable) {
        m_dwStyle &= ~WS_DISABLED;
    } else {
        m_dwStyle |= WS_DISABLED;
    }
    return bWasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return (m_dwStyle & WS_DISABLED) == 0;
}

RECT CWnd::ClientArea(const RECT& rect) {
    return RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top};
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    std::lock_guard<std::mutex> lock(m_mutexUpdate);
    *lpRect = ClientArea(m_rect);
}

POINT CWnd::GetClientOrigin() const {
    RECT rect;
    {
        std::lock_guard<std::mutex> lock(m_mutexUpdate);
        rect = m_rect;
    }
    if (m_pParent == nullptr) {
        return POINT{rect.left, rect.top};
    }
    const POINT ptParent = m_pParent->GetClientOrigin();
    return POINT{ptParent.x + rect.left, ptParent.y + rect.top};
}

void CWnd::SetClientRect(const RECT& rcClient) {
    std::lock_guard<std::mutex> lock(m_mutexUpdate);
    m_rect = rcClient;
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    const POINT ptOrigin = GetClientOrigin();
    RECT rc;
    GetClientRect(&rc);
    OffsetRect(&rc, ptOrigin.x, ptOrigin.y);
    *lpRect = rc;
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    const POINT ptOrigin = GetClientOrigin();
    OffsetRect(lpRect, -ptOrigin.x, -ptOrigin.y);
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    const POINT ptOrigin = GetClientOrigin();
    lpPoint->x -= ptOrigin.x;
    lpPoint->y -= ptOrigin.y;
}

void CWnd::Wake(bool bWake) {
    if (!bWake) {
        return;
    }
    std::function<void()> fnWake;
    {
        std::lock_guard<std::mutex> lock(m_mutexUpdate);
        fnWake = m_fnWake;
    }
    if (fnWake) {
        fnWake();
    }
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    bool bWake = false;
    {
        std::lock_guard<std::mutex> lock(m_mutexUpdate);
        if (m_hWnd == nullptr) {
            return;
        }
        const RECT rcClient = ClientArea(m_rect);
        RECT rcArea = rcClient;
        if (lpRect != nullptr) {
            IntersectRect(&rcArea, lpRect, &rcClient);
        }
        if (IsRectEmpty(&rcArea)) {
            return;
        }
        bWake = IsRectEmpty(&m_rcUpdate) != FALSE;
        UnionRect(&m_rcUpdate, &m_rcUpdate, &rcArea);
        m_bErase = m_bErase || bErase;
    }
    Wake(bWake);
}

BOOL CWnd::HasUpdate() const {
    std::lock_guard<std::mutex> lock(m_mutexUpdate);
    return !IsRectEmpty(&m_rcUpdate);
}

BOOL CWnd::TakeUpdate(LPRECT lpRect, BOOL* pbErase) {
    std::lock_guard<std::mutex> lock(m_mutexUpdate);
    *lpRect = m_rcUpdate;
    *pbErase = m_bErase;
    SetRectEmpty(&m_rcUpdate);
    m_bErase = FALSE;
    return !IsRectEmpty(lpRect);
}

BOOL CWnd::BeginPaint(LPRECT lpRect, BOOL* pbErase) {
    m_bPaintTaken = TRUE;
    return TakeUpdate(lpRect, pbErase);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    bool bWake = false;
    {
        std::lock_guard<std::mutex> lock(m_mutexUpdate);
        if (m_hWnd == nullptr) {
            return FALSE;
        }
        if (message == WM_TIMER) {
            for (const MSG& msg : m_posted) {
                if (msg.message == WM_TIMER && msg.wParam == wParam) {
                    return TRUE;
                }
            }
        }
        bWake = m_posted.empty();
        m_posted.push_back(MSG{message, wParam, lParam});
    }
    Wake(bWake);
    return TRUE;
}

int CWnd::GetPostedCount() const {
    std::lock_guard<std::mutex> lock(m_mutexUpdate);
    return static_cast<int>(m_posted.size());
}

BOOL CWnd::TakePostedMessage(MSG* pMsg) {
    std::lock_guard<std::mutex> lock(m_mutexUpdate);
    if (m_posted.empty()) {
        return FALSE;
    }
    *pMsg = m_posted.front();
    m_posted.pop_front();
    return TRUE;
}

void CWnd::SetWakeHook(std::function<void()> fnWake) {
    std::lock_guard<std::mutex> lock(m_mutexUpdate);
    m_fnWake = std::move(fnWake);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const MSG msg{message, wParam, lParam};
    const MSG* pOuterMsg = m_pCurrentMsg;
    m_pCurrentMsg = &msg;
    const BOOL bOuterPaintTaken = m_bPaintTaken;
    if (message == WM_PAINT) {
        m_bPaintTaken = FALSE;
    }
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(message, LOWORD(wParam));
    const LRESULT lResult = pEntry != nullptr ? pEntry->pfnDispatch(this, wParam, lParam)
                                              : DefWindowProc(message, wParam, lParam);
    m_bPaintTaken = bOuterPaintTaken;
    m_pCurrentMsg = pOuterMsg;
    return lResult;
}

LRESULT CWnd::Default() {
    return m_pCurrentMsg != nullptr
               ? DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam)
               : 0;
}

CWnd* CWnd::SetFocus() {
    CWnd* pOld = g_pFocus;
    g_pFocus = GetSafeHwnd() != nullptr ? this : pOld;
    return pOld;
}

CWnd* CWnd::GetFocus() {
    return g_pFocus;
}

short GetKeyState(int nVirtKey) {
    return nVirtKey == static_cast<int>(VK_SHIFT) && g_bShiftDown ? kKeyDown : 0;
}

void AfxSetShiftDown(bool bDown) {
    g_bShiftDown = bDown;
}
