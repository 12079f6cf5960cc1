#include "platform/window/accessibility.h"

#include "platform/window/messages.h"
#include "platform/window/screen_input.h"
#include "platform/window/top_windows.h"
#include "platform/window/wnd_system.h"

namespace {

CAccessibilityDriver* g_pDriver = nullptr;

CWnd* OpenWindow(HACCESSIBLE hWindow) {
    for (CWnd* pWnd : AfxOpenWindows()) {
        if (pWnd == hWindow) {
            return pWnd;
        }
    }
    return nullptr;
}

class CWindowsHost : public CAccessibilityHost {
public:
    RECT ClientRect(HACCESSIBLE hWindow) override {
        RECT rc{0, 0, 0, 0};
        if (CWnd* pWnd = OpenWindow(hWindow)) {
            pWnd->GetWindowRect(&rc);
        }
        return rc;
    }
    void Click(HACCESSIBLE hWindow, UINT nID) override {
        if (CWnd* pWnd = OpenWindow(hWindow)) {
            pWnd->PostMessage(WM_ACCESSIBLECLICK, nID, 0);
        }
    }
};

}  // namespace

void AfxSetAccessibilityDriver(CAccessibilityDriver* pDriver) {
    g_pDriver = pDriver;
    if (pDriver == nullptr) {
        return;
    }
    for (CWnd* pWnd : AfxOpenWindows()) {
        const WndSystem& system = *pWnd->System();
        pDriver->Opened(pWnd, system.strCaption);
        pDriver->SetItems(pWnd, system.accessibleItems);
        pDriver->SetFocus(pWnd, system.nAccessibleFocus);
        pDriver->Activated(pWnd, pWnd == AfxGetActiveWindow());
        // What shows the focus to the keyboard's users shows from now on.
        pWnd->Invalidate(TRUE);
    }
}

CAccessibilityDriver* AfxAccessibility() {
    return g_pDriver;
}

CAccessibilityHost& AfxAccessibilityHost() {
    static CWindowsHost s_host;
    return s_host;
}

void AfxSetAccessibleItems(CWnd* pWnd, std::vector<AccessibleItem> items) {
    if (WndSystem* pSystem = pWnd->System()) {
        pSystem->accessibleItems = std::move(items);
        if (g_pDriver != nullptr) {
            g_pDriver->SetItems(pWnd, pSystem->accessibleItems);
        }
    }
}

void AfxSetAccessibleFocus(CWnd* pWnd, UINT nID) {
    WndSystem* pSystem = pWnd->System();
    if (pSystem == nullptr || pSystem->nAccessibleFocus == nID) {
        return;
    }
    pSystem->nAccessibleFocus = nID;
    if (g_pDriver != nullptr) {
        g_pDriver->SetFocus(pWnd, nID);
    }
}

UINT AfxGetAccessibleFocus(const CWnd* pWnd) {
    return pWnd->System() != nullptr ? pWnd->System()->nAccessibleFocus : 0;
}

void AfxDescribeAccessible(CWnd* pWnd, UINT nID, const char* pszText) {
    if (g_pDriver != nullptr && pWnd->System() != nullptr) {
        g_pDriver->Describe(pWnd, nID, pszText);
    }
}

// A click that a screen reader asks for on one of the window's items goes where the mouse's
// would, press and release in the item's middle.
void AfxClickAccessible(CWnd* pWnd, UINT nID) {
    const WndSystem* pSystem = pWnd->System();
    if (pSystem == nullptr) {
        return;
    }
    for (const AccessibleItem& item : pSystem->accessibleItems) {
        if (item.nID == nID && item.bShown) {
            ScreenEvent event{ScreenEventKind::kButtonDown, pSystem->hScreen};
            event.pt =
                POINT{(item.rc.left + item.rc.right) / 2, (item.rc.top + item.rc.bottom) / 2};
            event.nClicks = 1;
            event.bLeftDown = true;
            AfxDispatchScreenEvent(event);
            event.kind = ScreenEventKind::kButtonUp;
            event.bLeftDown = false;
            AfxDispatchScreenEvent(event);
            return;
        }
    }
}
