#include "platform/window/win_event.h"

#include <algorithm>
#include <memory>
#include <vector>

struct HWINEVENTHOOK__ {
    DWORD eventMin;
    DWORD eventMax;
    WINEVENTPROC pfnProc;
};

namespace {

std::vector<std::unique_ptr<HWINEVENTHOOK__>> g_hooks;

}  // namespace

HWINEVENTHOOK SetWinEventHook(DWORD eventMin, DWORD eventMax, WINEVENTPROC pfnWinEventProc) {
    if (pfnWinEventProc == nullptr) {
        return nullptr;
    }
    g_hooks.push_back(
        std::make_unique<HWINEVENTHOOK__>(HWINEVENTHOOK__{eventMin, eventMax, pfnWinEventProc}));
    return g_hooks.back().get();
}

BOOL UnhookWinEvent(HWINEVENTHOOK hWinEventHook) {
    const auto it = std::find_if(g_hooks.begin(), g_hooks.end(), [hWinEventHook](const auto& p) {
        return p.get() == hWinEventHook;
    });
    if (it == g_hooks.end()) {
        return FALSE;
    }
    g_hooks.erase(it);
    return TRUE;
}

void NotifyWinEvent(DWORD event, HWND hwnd, LONG idObject, LONG idChild) {
    // A hook may hook or unhook others, so the ones to call are taken first.
    std::vector<HWINEVENTHOOK> hooks;
    for (const auto& pHook : g_hooks) {
        if (event >= pHook->eventMin && event <= pHook->eventMax) {
            hooks.push_back(pHook.get());
        }
    }
    for (HWINEVENTHOOK hHook : hooks) {
        const bool bStillSet = std::any_of(g_hooks.begin(), g_hooks.end(),
                                           [hHook](const auto& p) { return p.get() == hHook; });
        if (bStillSet) {
            hHook->pfnProc(hHook, event, hwnd, idObject, idChild);
        }
    }
}
