#include "platform/window/system_menu.h"

#include <string>

#include "platform/base/translate.h"
#include "platform/window/dialog_units.h"
#include "platform/window/messages.h"
#include "platform/window/win_event.h"
#include "platform/window/wnd_system.h"

namespace {

constexpr const char* kCloseShortcut = "Alt+F4";

// Draws the open menu on the window's pixels and shows it.
void ShowSystemMenu(CWnd* pWnd) {
    const RECT rc = AfxDrawSystemMenu(pWnd);
    AfxScreen().Present(pWnd->System()->hScreen, &rc);
}

}  // namespace

void AfxOpenSystemMenu(CWnd* pWnd, POINT ptClient) {
    CMenu* pMenu = pWnd->GetSystemMenu(FALSE);
    WndSystem* pSystem = pWnd->System();
    if (pMenu == nullptr || pSystem->pPopup != nullptr ||
        AfxScreen().OpenSystemMenu(pSystem->hScreen)) {
        return;
    }
    pSystem->pPopup = std::make_unique<CMenuPopup>(pWnd, *pMenu, ptClient, pSystem->strFontFace,
                                                   pSystem->nFontPointSize);
    pSystem->nMenuHighlight = -1;
    NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, pWnd->GetSafeHwnd(), OBJID_MENU, CHILDID_SELF);
    ShowSystemMenu(pWnd);
}

void AfxFollowSystemMenu(CWnd* pWnd, CMenuPopup::Outcome outcome) {
    WndSystem* pSystem = pWnd->System();
    if (outcome == CMenuPopup::Outcome::kStayOpen) {
        const int nHighlight = pSystem->pPopup->GetHighlight();
        if (nHighlight != pSystem->nMenuHighlight) {
            pSystem->nMenuHighlight = nHighlight;
            NotifyWinEvent(EVENT_OBJECT_FOCUS, pWnd->GetSafeHwnd(), OBJID_MENU, nHighlight + 1);
        }
        ShowSystemMenu(pWnd);
        return;
    }
    const UINT nID = pSystem->pPopup->GetChosenID();
    const RECT rcMenu = pSystem->pPopup->GetRect();
    pSystem->pPopup.reset();
    NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, pWnd->GetSafeHwnd(), OBJID_MENU, CHILDID_SELF);
    pWnd->InvalidateRect(&rcMenu, TRUE);
    if (outcome == CMenuPopup::Outcome::kChoose) {
        pWnd->SendMessage(WM_SYSCOMMAND, nID, 0);
    }
}

RECT AfxDrawSystemMenu(CWnd* pWnd) {
    WndSystem* pSystem = pWnd->System();
    if (pSystem == nullptr || pSystem->pPopup == nullptr) {
        return RECT{0, 0, 0, 0};
    }
    CDC dc;
    dc.AttachSurface(AfxScreen().Surface(pSystem->hScreen));
    return pSystem->pPopup->Draw(dc);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) {
    if (m_pSystem == nullptr || (GetStyle() & WS_SYSMENU) == 0) {
        return nullptr;
    }
    if (bRevert || m_pSystem->pSystemMenu == nullptr) {
        m_pSystem->pSystemMenu = std::make_unique<CMenu>();
        const std::string strClose = std::string(AfxTranslate("&Close")) + "\t" + kCloseShortcut;
        m_pSystem->pSystemMenu->AppendMenu(MF_STRING, SC_CLOSE, strClose.c_str());
    }
    return bRevert ? nullptr : m_pSystem->pSystemMenu.get();
}

RECT CWnd::GetSystemMenuRect() const {
    return m_pSystem != nullptr && m_pSystem->pPopup != nullptr ? m_pSystem->pPopup->GetRect()
                                                                : RECT{0, 0, 0, 0};
}
