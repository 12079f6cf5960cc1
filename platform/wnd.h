// CWnd: a window's identity, its child controls and its pending update area.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/win_types.h"

struct HWND__;
using HWND = HWND__*;

// Window styles the game's templates use.
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;

// A window has a handle from creation until it is destroyed. InvalidateRect may be called
// from any thread: it adds to the pending update area, and when that area was empty it calls
// the window's wake hook so that the UI thread comes to paint. Invalidations of a destroyed
// window are ignored.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Gives a top-level window its handle. rcClient is its client area in screen coordinates.
    BOOL CreateTopLevel(DWORD dwStyle, const RECT& rcClient);
    // Creates a child control owned by this window. rect is in this window's client
    // coordinates. Answers the control, or null when this window has no handle.
    CWnd* CreateControl(UINT nID, DWORD dwStyle, const RECT& rect);
    // Takes the handle away from this window and its controls and drops pending updates.
    virtual void DestroyWindow();

    HWND GetSafeHwnd() const;
    CWnd* GetParent() const { return m_pParent; }
    UINT GetDlgCtrlID() const { return m_nID; }
    DWORD GetStyle() const { return m_dwStyle; }
    // The child control with that ID, or null.
    CWnd* GetDlgItem(int nID) const;
    // Answers nonzero when the window was disabled before.
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;

    // Client area size, and the screen position of its top-left corner.
    void GetClientRect(LPRECT lpRect) const;
    POINT GetClientOrigin() const;
    // Moves a top-level window's client area; rcClient is in screen coordinates.
    void SetClientRect(const RECT& rcClient);
    // The window's rectangle in screen coordinates.
    void GetWindowRect(LPRECT lpRect) const;
    void ScreenToClient(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;

    // Marks lpRect (client coordinates; null for the whole client area) for repainting.
    // Thread-safe.
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void Invalidate(BOOL bErase = TRUE) { InvalidateRect(nullptr, bErase); }
    // Reads and clears the pending update area; answers FALSE when nothing is pending.
    BOOL TakeUpdate(LPRECT lpRect, BOOL* pbErase);
    // Called, on the invalidating thread and without any lock held, whenever the pending
    // update area stops being empty.
    void SetWakeHook(std::function<void()> fnWake);

private:
    static RECT ClientArea(const RECT& rect);

    HWND m_hWnd = nullptr;
    CWnd* m_pParent = nullptr;
    UINT m_nID = 0;
    DWORD m_dwStyle = 0;
    std::vector<std::unique_ptr<CWnd>> m_controls;

    // Guards what InvalidateRect reads and writes: the handle, the rectangle, the update area
    // and the hook.
    mutable std::mutex m_mutexUpdate;
    // A top-level window's client area in screen coordinates; a control's rectangle in
    // its parent's client coordinates.
    RECT m_rect{0, 0, 0, 0};
    RECT m_rcUpdate{0, 0, 0, 0};
    BOOL m_bErase = FALSE;
    std::function<void()> m_fnWake;
};
