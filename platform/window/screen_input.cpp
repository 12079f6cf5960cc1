#include "platform/window/screen_input.h"

#include "platform/window/accessibility.h"
#include "platform/window/messages.h"
#include "platform/window/system_menu.h"
#include "platform/window/top_windows.h"
#include "platform/window/wnd_system.h"

namespace {

// The window's pixels still hold its last frame, and showing them again is enough, unless
// that frame is the minimised picture: then the window repaints.
void OnShowAgain(CWnd* pWnd, const ScreenEvent& /*event*/) {
    if (pWnd->System()->bMinimisedPicture) {
        pWnd->Invalidate(TRUE);
    } else {
        AfxScreen().Present(pWnd->System()->hScreen, nullptr);
    }
}

void OnClose(CWnd* pWnd, const ScreenEvent& /*event*/) {
    if (pWnd->IsWindowEnabled()) {
        pWnd->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

// Some window managers offer to minimise a dialog whatever its hints say. Its owner, which
// takes no input meanwhile, goes with it, and activating the owner brings both back.
void OnMinimized(CWnd* pWnd, const ScreenEvent& /*event*/) {
    CWnd* pOwner = pWnd->System()->pOwner;
    if (pOwner != nullptr && AfxIsWindowOpen(pOwner)) {
        AfxScreen().Minimize(pOwner->System()->hScreen);
    }
}

// Whatever changed while the window was minimised shows at once.
void OnRestored(CWnd* pWnd, const ScreenEvent& /*event*/) {
    pWnd->Invalidate(TRUE);
}

void OnDeactivated(CWnd* pWnd, const ScreenEvent& /*event*/) {
    AfxSetActiveWindow(pWnd, false);
}

void OnActivated(CWnd* pWnd, const ScreenEvent& /*event*/) {
    AfxSetActiveWindow(pWnd, true);
    if (!pWnd->IsWindowEnabled()) {
        AfxActivateModalAbove(pWnd);
    }
}

void OnMoved(CWnd* pWnd, const ScreenEvent& event) {
    pWnd->SetClientRect(event.rcClient);
    // A new size comes with new, empty pixels.
    if (event.bResized) {
        pWnd->Invalidate(TRUE);
    }
}

void OnMouseMove(CWnd* pWnd, const ScreenEvent& event) {
    if (pWnd->System()->pPopup != nullptr) {
        AfxFollowSystemMenu(pWnd, pWnd->System()->pPopup->OnMouseMove(event.pt));
    }
}

void OnButton(CWnd* pWnd, const ScreenEvent& event) {
    const bool bDown = event.kind == ScreenEventKind::kButtonDown;
    if (!pWnd->IsWindowEnabled()) {
        if (bDown) {
            AfxActivateModalAbove(pWnd);
        }
        return;
    }
    WndSystem* pSystem = pWnd->System();
    if (CMenuPopup* pPopup = pSystem->pPopup.get()) {
        // While the menu is open, clicks are the menu's.
        const CMenuPopup::Outcome outcome =
            bDown ? pPopup->OnButtonDown(event.pt) : pPopup->OnButtonUp(event.pt);
        pSystem->bSwallowButtonUp = bDown && outcome == CMenuPopup::Outcome::kClose;
        AfxFollowSystemMenu(pWnd, outcome);
        return;
    }
    if (pSystem->bSwallowButtonUp && !bDown) {
        pSystem->bSwallowButtonUp = false;
        return;
    }
    const LPARAM lParam = MAKELPARAM(event.pt.x, event.pt.y);
    const UINT nFlags = event.bLeftDown ? MK_LBUTTON : 0;
    if (event.button == MouseButton::kLeft) {
        // An even click count is the second click of a double-click.
        const UINT message =
            !bDown ? WM_LBUTTONUP : (event.nClicks % 2 == 0 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN);
        pWnd->SendMessage(message, nFlags, lParam);
    } else if (event.button == MouseButton::kRight && !bDown) {
        pWnd->SendMessage(WM_RBUTTONUP, nFlags, lParam);
    }
}

// Every key goes to a screen reader first, as toolkits hand it over: what it takes as its own
// command, the windows never see.
bool TakenByScreenReader(const ScreenEvent& event, bool bPress) {
    return event.stroke.nKeySym != 0 && AfxAccessibility().KeyEvent(event.stroke, bPress);
}

void OnKeyUp(CWnd* /*pWnd*/, const ScreenEvent& event) {
    TakenByScreenReader(event, false);
}

void OnKeyDown(CWnd* pWnd, const ScreenEvent& event) {
    if (TakenByScreenReader(event, true) || event.nKey == 0 || !pWnd->IsWindowEnabled()) {
        return;
    }
    if (CMenuPopup* pPopup = pWnd->System()->pPopup.get()) {
        // The keys are the menu's, but for the shortcut that its Close entry shows, which
        // closes the menu and then the window, as choosing the entry would.
        const bool bCloseShortcut = event.bAlt && event.nKey == VK_F4;
        AfxFollowSystemMenu(
            pWnd, bCloseShortcut ? CMenuPopup::Outcome::kClose : pPopup->OnKey(event.nKey));
        if (bCloseShortcut) {
            pWnd->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return;
    }
    const UINT nFlags = event.bRepeat ? KF_REPEAT : 0;
    AfxSetShiftDown(event.bShift);
    pWnd->SendMessage(event.bAlt ? WM_SYSKEYDOWN : WM_KEYDOWN, event.nKey, MAKELPARAM(1, nFlags));
}

// A window that another program destroyed is closed, with the dialogs it owns, as its close
// button would close it.
void OnDestroyed(CWnd* pWnd, const ScreenEvent& /*event*/) {
    AfxCloseFrom(pWnd);
}

void OnSystemCommand(CWnd* pWnd, const ScreenEvent& event) {
    pWnd->SendMessage(WM_SYSCOMMAND, event.nCommand, 0);
}

using Handler = void (*)(CWnd* pWnd, const ScreenEvent& event);

Handler HandlerOf(ScreenEventKind kind) {
    switch (kind) {
        case ScreenEventKind::kClose:
            return OnClose;
        case ScreenEventKind::kShowAgain:
            return OnShowAgain;
        case ScreenEventKind::kMinimized:
            return OnMinimized;
        case ScreenEventKind::kRestored:
            return OnRestored;
        case ScreenEventKind::kActivated:
            return OnActivated;
        case ScreenEventKind::kDeactivated:
            return OnDeactivated;
        case ScreenEventKind::kMoved:
            return OnMoved;
        case ScreenEventKind::kMouseMove:
            return OnMouseMove;
        case ScreenEventKind::kButtonDown:
        case ScreenEventKind::kButtonUp:
            return OnButton;
        case ScreenEventKind::kKeyDown:
            return OnKeyDown;
        case ScreenEventKind::kKeyUp:
            return OnKeyUp;
        case ScreenEventKind::kDestroyed:
            return OnDestroyed;
        case ScreenEventKind::kSystemCommand:
            return OnSystemCommand;
        case ScreenEventKind::kQuit:
            break;
    }
    return nullptr;
}

}  // namespace

void AfxDispatchScreenEvent(const ScreenEvent& event) {
    if (event.kind == ScreenEventKind::kQuit) {
        // A request to end the program (a signal, say): close every window.
        if (CWnd* pFirst = AfxGetFirstWindow()) {
            AfxCloseFrom(pFirst);
        }
        return;
    }
    // What belongs to no window goes to the newest: a dialog, above its owner.
    CWnd* pWnd = event.hScreen != nullptr ? AfxFindScreenWindow(event.hScreen) : AfxGetTopWindow();
    const Handler pfnHandler = HandlerOf(event.kind);
    if (pWnd != nullptr && pfnHandler != nullptr) {
        pfnHandler(pWnd, event);
    }
}
