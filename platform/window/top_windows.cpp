#include "platform/window/top_windows.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/base/diagnostics.h"
#include "platform/base/translate.h"
#include "platform/window/messages.h"
#include "platform/window/win_event.h"
#include "platform/window/wnd_system.h"

namespace {

// Top-level windows with a screen window, in the order they were opened.
std::vector<CWnd*> g_windows;
CWnd* g_pActive = nullptr;
// The thread that runs the windows, taken when it opens the first one. Its own invalidations
// and posts need no wake: it delivers them before it next waits. Workers read it whenever
// they wake that thread, so it is written once, and atomically.
std::atomic<std::thread::id> g_uiThread;

void WakeFromOtherThreads() {
    if (std::this_thread::get_id() != g_uiThread.load()) {
        AfxScreen().Wake();
    }
}

}  // namespace

HSCREEN AfxScreenOf(const CWnd* pWnd) {
    return pWnd != nullptr && pWnd->System() != nullptr ? pWnd->System()->hScreen : nullptr;
}

void WndSystemDeleter::operator()(WndSystem* pSystem) const {
    // The window's own pointer to this is already null while it is being deleted.
    const auto it = std::find(g_windows.begin(), g_windows.end(), pSystem->pWnd);
    if (it != g_windows.end()) {
        g_windows.erase(it);
    }
    if (g_pActive == pSystem->pWnd) {
        g_pActive = nullptr;
    }
    NotifyWinEvent(EVENT_OBJECT_DESTROY, pSystem->hWnd, OBJID_WINDOW, CHILDID_SELF);
    AfxScreen().Close(pSystem->hScreen);
    delete pSystem;
}

BOOL AfxOpenScreenWindow(CWnd* pWnd, const char* pszCaption, const RECT& rcClient, bool bCentred,
                         CWnd* pOwner) {
    std::thread::id idNone;
    g_uiThread.compare_exchange_strong(idNone, std::this_thread::get_id());
    RECT rcActual = rcClient;
    const HSCREEN hScreen = AfxScreen().Open(
        ScreenWindowSpec{pszCaption, rcClient, bCentred, AfxScreenOf(pOwner)}, &rcActual);
    if (hScreen == nullptr) {
        return FALSE;
    }
    std::unique_ptr<WndSystem, WndSystemDeleter> pSystem(new WndSystem);
    pSystem->hScreen = hScreen;
    pSystem->hWnd = pWnd->GetSafeHwnd();
    pSystem->pWnd = pWnd;
    pSystem->pOwner = pOwner;
    pSystem->strCaption = pszCaption;
    pWnd->SetClientRect(rcActual);
    g_windows.push_back(pWnd);
    pWnd->SetSystem(std::move(pSystem));
    pWnd->SetWakeHook(WakeFromOtherThreads);
    NotifyWinEvent(EVENT_OBJECT_CREATE, pWnd->GetSafeHwnd(), OBJID_WINDOW, CHILDID_SELF);
    return TRUE;
}

void AfxShowScreenWindow(CWnd* pWnd) {
    if (pWnd->System() == nullptr) {
        return;
    }
    AfxScreen().Show(pWnd->System()->hScreen);
    if (pWnd->System()->pOwner != nullptr) {
        // As on Windows, a dialog that opens over its owner takes over the activation.
        AfxScreen().Activate(pWnd->System()->hScreen);
    }
    pWnd->Invalidate(TRUE);
}

void AfxActivateScreenWindow(CWnd* pWnd) {
    if (pWnd->System() != nullptr) {
        AfxScreen().Activate(pWnd->System()->hScreen);
    }
}

void AfxReportWindowError() {
    AfxWarn(std::string(AfxTranslate("cannot open a window")) + ": " + AfxScreen().LastError());
}

CWnd* AfxGetTopWindow() {
    return g_windows.empty() ? nullptr : g_windows.back();
}

CWnd* AfxGetFirstWindow() {
    return g_windows.empty() ? nullptr : g_windows.front();
}

CWnd* AfxFindWindow(HWND hWnd) {
    for (CWnd* pWnd : g_windows) {
        if (hWnd != nullptr && pWnd->GetSafeHwnd() == hWnd) {
            return pWnd;
        }
    }
    return nullptr;
}

CWnd* AfxFindScreenWindow(HSCREEN hScreen) {
    for (CWnd* pWnd : g_windows) {
        if (pWnd->System()->hScreen == hScreen) {
            return pWnd;
        }
    }
    return nullptr;
}

bool AfxIsWindowOpen(const CWnd* pWnd) {
    return std::find(g_windows.begin(), g_windows.end(), pWnd) != g_windows.end();
}

void AfxCloseFrom(CWnd* pWnd) {
    const auto it = std::find(g_windows.begin(), g_windows.end(), pWnd);
    const std::vector<CWnd*> windows(g_windows.rbegin(), std::make_reverse_iterator(it));
    for (CWnd* pClose : windows) {
        if (AfxIsWindowOpen(pClose)) {
            pClose->SendMessage(WM_CLOSE, 0, 0);
        }
    }
}

void AfxActivateModalAbove(CWnd* pWnd) {
    if (!g_windows.empty() && g_windows.back() != pWnd && AfxIsWindowOpen(pWnd)) {
        AfxScreen().Activate(g_windows.back()->System()->hScreen);
    }
}

CWnd* AfxGetActiveWindow() {
    return g_pActive;
}

void AfxSetActiveWindow(CWnd* pWnd, bool bActive) {
    if (!bActive && g_pActive != pWnd) {
        return;
    }
    g_pActive = bActive ? pWnd : nullptr;
    NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, bActive ? pWnd->GetSafeHwnd() : nullptr, OBJID_WINDOW,
                   CHILDID_SELF);
}

const std::vector<CWnd*>& AfxOpenWindows() {
    return g_windows;
}
