// CWnd: a window's identity, child controls, messages and pending update area.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/dialog_resource.h"
#include "platform/base/win_types.h"
#include "platform/window/msg_map.h"

struct HWND__;
using HWND = HWND__*;
struct WndSystem;
class CMenu;
// Closes the screen window behind a CWnd; defined with the screen windows.
struct WndSystemDeleter {
    void operator()(WndSystem* pSystem) const;
};

// As Windows answers while a keyboard message is handled: negative while the key is down.
// Only VK_SHIFT is told.
short GetKeyState(int nVirtKey);
// The screen's key events say whether Shift is down, for GetKeyState.
void AfxSetShiftDown(bool bDown);

struct MSG {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A window has a handle from creation until it is destroyed. InvalidateRect and PostMessage
// may be called from any thread: they add to the pending update area or the posted queue,
// and when that was empty they call the window's wake hook so that the UI thread comes to
// work. A destroyed window ignores both. Everything else is for the UI thread.
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Gives a top-level window its handle. rcClient is its client area in screen coordinates.
    BOOL CreateTopLevel(DWORD dwStyle, const RECT& rcClient);
    // Creates a child control owned by this window. rect is in this window's client
    // coordinates. Answers the control, or null when this window has no handle.
    CWnd* CreateControl(UINT nID, DWORD dwStyle, const RECT& rect, const char* pszClass = "",
                        const char* pszText = "");
    // Takes the handle away from this window and its controls, closes its screen window,
    // stops its timers and drops whatever was pending.
    virtual void DestroyWindow();

    HWND GetSafeHwnd() const;
    CWnd* GetParent() const { return m_pParent; }
    UINT GetDlgCtrlID() const { return m_nID; }
    DWORD GetStyle() const { return m_dwStyle; }
    const CString& GetClassName() const { return m_strClass; }
    void SetWindowText(const char* pszText) { m_strText = pszText; }
    const CString& GetWindowText() const { return m_strText; }
    // The child control with that ID, or null.
    CWnd* GetDlgItem(int nID) const;
    const std::vector<std::unique_ptr<CWnd>>& GetControls() const { return m_controls; }
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
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void Invalidate(BOOL bErase = TRUE) { InvalidateRect(nullptr, bErase); }
    BOOL HasUpdate() const;
    // Reads and clears the pending update area; answers FALSE when nothing is pending.
    BOOL TakeUpdate(LPRECT lpRect, BOOL* pbErase);
    // TakeUpdate for a paint context, which also records that the WM_PAINT being handled
    // has taken its update area: its default processing then takes nothing more, and what
    // is invalidated meanwhile waits for the next WM_PAINT.
    BOOL BeginPaint(LPRECT lpRect, BOOL* pbErase);
    BOOL IsPaintTaken() const { return m_bPaintTaken; }
    // Queues a message for the UI thread. A WM_TIMER already waiting for the same timer is
    // not queued twice. Answers FALSE for a destroyed window.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    int GetPostedCount() const;
    // Takes the oldest posted message; FALSE when there is none.
    BOOL TakePostedMessage(MSG* pMsg);
    // Called, on the calling thread and without any lock held, whenever the update area or
    // the posted queue stops being empty.
    void SetWakeHook(std::function<void()> fnWake);

    // Handles a message at once, on the UI thread.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // The current message's default processing.
    LRESULT Default();

    // Timers post WM_TIMER with their ID; they never busy-poll. A window needs a screen
    // window for timers.
    UINT SetTimer(UINT nIDEvent, UINT nElapse, void* lpfnTimer);
    BOOL KillTimer(UINT nIDEvent);
    // Keyboard focus inside the program. It never takes the focus from other programs.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    virtual BOOL IsIconic() const;
    // The window's own menu, which starts with Close (Alt+F4); null for a window without
    // WS_SYSMENU. bRevert puts it back to that start and answers null.
    CMenu* GetSystemMenu(BOOL bRevert);
    // The open system menu's rectangle, or an empty one.
    RECT GetSystemMenuRect() const;

    // The screen window behind a top-level window; platform code only.
    WndSystem* System() const { return m_pSystem.get(); }
    void SetSystem(std::unique_ptr<WndSystem, WndSystemDeleter> pSystem);

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static RECT ClientArea(const RECT& rect);
    // Calls the wake hook if bWake; the lock must not be held.
    void Wake(bool bWake);

    HWND m_hWnd = nullptr;
    CWnd* m_pParent = nullptr;
    UINT m_nID = 0;
    DWORD m_dwStyle = 0;
    CString m_strClass;
    CString m_strText;
    std::vector<std::unique_ptr<CWnd>> m_controls;
    std::unique_ptr<WndSystem, WndSystemDeleter> m_pSystem;
    // The message being handled, for Default.
    const MSG* m_pCurrentMsg = nullptr;
    // Whether a paint context has been opened during the WM_PAINT being handled.
    BOOL m_bPaintTaken = FALSE;

    // Guards what other threads reach: the handle, the rectangle, the update area, the
    // posted queue and the hook.
    mutable std::mutex m_mutexUpdate;
    // A top-level window's client area in screen coordinates; a control's rectangle in
    // its parent's client coordinates.
    RECT m_rect{0, 0, 0, 0};
    RECT m_rcUpdate{0, 0, 0, 0};
    BOOL m_bErase = FALSE;
    std::deque<MSG> m_posted;
    std::function<void()> m_fnWake;
};
