#include "platform/window/accessibility.h"

#include "platform/window/messages.h"
#include "platform/window/top_windows.h"
#include "platform/window/win_event.h"
#include "platform/window/wnd_system.h"

namespace {

// Told everything, does nothing.
class CNoAccessibility : public CAccessibilityDriver {
public:
    void Opened(HACCESSIBLE /*hWindow*/, const char* /*pszCaption*/, bool /*bDialog*/) override {}
    void Closed(HACCESSIBLE /*hWindow*/) override {}
    void Activated(HACCESSIBLE /*hWindow*/, bool /*bActive*/) override {}
    void SetItems(HACCESSIBLE /*hWindow*/, const std::vector<AccessibleItem>& /*items*/) override {}
    void SetFocus(HACCESSIBLE /*hWindow*/, UINT /*nID*/) override {}
    void Describe(HACCESSIBLE /*hWindow*/, UINT /*nID*/, const char* /*pszText*/) override {}
    void Announce(HACCESSIBLE /*hWindow*/, const char* /*pszText*/) override {}
    void MenuOpened(HACCESSIBLE /*hWindow*/,
                    const std::vector<AccessibleMenuItem>& /*items*/) override {}
    void MenuHighlighted(HACCESSIBLE /*hWindow*/, int /*nIndex*/) override {}
    void MenuClosed(HACCESSIBLE /*hWindow*/) override {}
    bool KeyEvent(const KeyStroke& /*stroke*/, bool /*bPress*/) override { return false; }
    int PrepareWait(CWaitList* /*pWaits*/) override { return -1; }
    void AfterWait(const CWaitList& /*waits*/) override {}
};

CNoAccessibility g_noAccessibility;
CAccessibilityDriver* g_pDriver = &g_noAccessibility;
// The window that the driver was last told is active, or null.
HWND g_hActive = nullptr;

HACCESSIBLE Handle(HWND hWnd) {
    return hWnd;
}

const AccessibleItem* ItemOf(const WndSystem& system, UINT nID) {
    for (const AccessibleItem& item : system.accessibleItems) {
        if (item.nID == nID) {
            return &item;
        }
    }
    return nullptr;
}

void OnActivated(HWND hWnd) {
    if (g_hActive != nullptr && g_hActive != hWnd) {
        g_pDriver->Activated(Handle(g_hActive), false);
    }
    g_hActive = hWnd;
    if (hWnd != nullptr) {
        g_pDriver->Activated(Handle(hWnd), true);
    }
}

// What the window layer tells, handed to the driver in its terms.
void OnWinEvent(HWINEVENTHOOK /*hHook*/, DWORD event, HWND hWnd, LONG idObject, LONG idChild) {
    if (event == EVENT_OBJECT_DESTROY) {
        g_pDriver->Closed(Handle(hWnd));
        g_hActive = g_hActive == hWnd ? nullptr : g_hActive;
        return;
    }
    if (event == EVENT_SYSTEM_FOREGROUND) {
        OnActivated(hWnd);
        return;
    }
    const CWnd* pWnd = AfxFindWindow(hWnd);
    if (pWnd == nullptr) {
        return;
    }
    const WndSystem& system = *pWnd->System();
    const auto nID = static_cast<UINT>(idChild);
    switch (event) {
        case EVENT_OBJECT_CREATE:
            g_pDriver->Opened(Handle(hWnd), system.strCaption, system.pOwner != nullptr);
            break;
        case EVENT_OBJECT_REORDER:
            g_pDriver->SetItems(Handle(hWnd), system.accessibleItems);
            break;
        case EVENT_OBJECT_FOCUS:
            if (idObject == OBJID_MENU) {
                g_pDriver->MenuHighlighted(Handle(hWnd), idChild - 1);
            } else {
                g_pDriver->SetFocus(Handle(hWnd), nID);
            }
            break;
        case EVENT_SYSTEM_MENUPOPUPSTART:
            if (system.pPopup != nullptr) {
                g_pDriver->MenuOpened(Handle(hWnd), system.pPopup->AccessibleItems());
            }
            break;
        case EVENT_SYSTEM_MENUPOPUPEND:
            g_pDriver->MenuClosed(Handle(hWnd));
            break;
        case EVENT_OBJECT_LIVEREGIONCHANGED:
            g_pDriver->Announce(Handle(hWnd), system.strAnnouncement);
            break;
        case EVENT_OBJECT_DESCRIPTIONCHANGE:
            if (const AccessibleItem* pItem = ItemOf(system, nID)) {
                g_pDriver->Describe(Handle(hWnd), nID, pItem->strDescription.c_str());
            }
            break;
        default:
            break;
    }
}

class CWindowsHost : public CAccessibilityHost {
public:
    RECT ClientRect(HACCESSIBLE hWindow) override {
        RECT rc{0, 0, 0, 0};
        if (const CWnd* pWnd = AfxFindWindow(static_cast<HWND>(const_cast<void*>(hWindow)))) {
            pWnd->GetWindowRect(&rc);
        }
        return rc;
    }
    void Click(HACCESSIBLE hWindow, UINT nID) override {
        if (CWnd* pWnd = AfxFindWindow(static_cast<HWND>(const_cast<void*>(hWindow)))) {
            pWnd->PostMessage(WM_ACCESSIBLECLICK, nID, 0);
        }
    }
};

}  // namespace

CAccessibilityDriver& AfxAccessibility() {
    return *g_pDriver;
}

void AfxSetAccessibilityDriver(CAccessibilityDriver* pDriver) {
    [[maybe_unused]] static const HWINEVENTHOOK s_hHook =
        SetWinEventHook(EVENT_MIN, EVENT_MAX, OnWinEvent);
    g_pDriver = pDriver != nullptr ? pDriver : &g_noAccessibility;
    g_hActive = nullptr;
    // The new driver learns what is open, as if it had been there all along.
    for (CWnd* pWnd : AfxOpenWindows()) {
        const HWND hWnd = pWnd->GetSafeHwnd();
        const WndSystem& system = *pWnd->System();
        g_pDriver->Opened(Handle(hWnd), system.strCaption, system.pOwner != nullptr);
        g_pDriver->SetItems(Handle(hWnd), system.accessibleItems);
        g_pDriver->SetFocus(Handle(hWnd), system.nAccessibleFocus);
        if (pWnd == AfxGetActiveWindow()) {
            OnActivated(hWnd);
        }
    }
}

CAccessibilityHost& AfxAccessibilityHost() {
    static CWindowsHost s_host;
    return s_host;
}

void AfxSetAccessibleItems(CWnd* pWnd, std::vector<AccessibleItem> items) {
    if (WndSystem* pSystem = pWnd->System()) {
        pSystem->accessibleItems = std::move(items);
        NotifyWinEvent(EVENT_OBJECT_REORDER, pWnd->GetSafeHwnd(), OBJID_CLIENT, CHILDID_SELF);
    }
}

void AfxSetAccessibleFocus(CWnd* pWnd, UINT nID) {
    WndSystem* pSystem = pWnd->System();
    if (pSystem == nullptr || pSystem->nAccessibleFocus == nID) {
        return;
    }
    pSystem->nAccessibleFocus = nID;
    NotifyWinEvent(EVENT_OBJECT_FOCUS, pWnd->GetSafeHwnd(), OBJID_CLIENT, static_cast<LONG>(nID));
}

UINT AfxGetAccessibleFocus(const CWnd* pWnd) {
    return pWnd->System() != nullptr ? pWnd->System()->nAccessibleFocus : 0;
}

void AfxDescribeAccessible(CWnd* pWnd, UINT nID, const char* pszText) {
    WndSystem* pSystem = pWnd->System();
    if (pSystem == nullptr) {
        return;
    }
    for (AccessibleItem& item : pSystem->accessibleItems) {
        if (item.nID == nID) {
            item.strDescription = pszText;
            NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, pWnd->GetSafeHwnd(), OBJID_CLIENT,
                           static_cast<LONG>(nID));
            return;
        }
    }
}

void AfxAnnounce(CWnd* pWnd, const char* pszText) {
    if (WndSystem* pSystem = pWnd->System()) {
        pSystem->strAnnouncement = pszText;
        NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, pWnd->GetSafeHwnd(), OBJID_CLIENT,
                       CHILDID_SELF);
    }
}

void AfxClickAccessible(CWnd* pWnd, UINT nID) {
    const WndSystem* pSystem = pWnd->System();
    const AccessibleItem* pItem = pSystem != nullptr ? ItemOf(*pSystem, nID) : nullptr;
    if (pItem == nullptr || !pItem->bShown || !pWnd->IsWindowEnabled()) {
        return;
    }
    const LPARAM lParam =
        MAKELPARAM((pItem->rc.left + pItem->rc.right) / 2, (pItem->rc.top + pItem->rc.bottom) / 2);
    pWnd->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    pWnd->SendMessage(WM_LBUTTONUP, 0, lParam);
}
