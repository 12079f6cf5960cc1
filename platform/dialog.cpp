#include "platform/dialog.h"

#include <SDL.h>

#include "platform/message_loop.h"
#include "platform/sdl_window.h"
#include "platform/win_app.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

BOOL CDialog::Create() {
    const DLGTEMPLATE* pTemplate = AfxFindDialogTemplate(m_nIDTemplate);
    if (pTemplate == nullptr) {
        return FALSE;
    }
    const SIZE sizeBase = AfxGetDialogBaseUnits(*pTemplate);
    const RECT rcSize = AfxMapDialogRect(0, 0, pTemplate->cx, pTemplate->cy, sizeBase);
    RECT rcClient{static_cast<LONG>(SDL_WINDOWPOS_CENTERED),
                  static_cast<LONG>(SDL_WINDOWPOS_CENTERED), 0, 0};
    if (m_pParentWnd != nullptr && m_pParentWnd->GetSafeHwnd() != nullptr) {
        // Centred on the owner.
        RECT rcOwner;
        m_pParentWnd->GetWindowRect(&rcOwner);
        rcClient.left = (rcOwner.left + rcOwner.right - rcSize.right) / 2;
        rcClient.top = (rcOwner.top + rcOwner.bottom - rcSize.bottom) / 2;
    }
    rcClient.right = rcClient.left + rcSize.right;
    rcClient.bottom = rcClient.top + rcSize.bottom;

    m_bEnded = FALSE;
    CreateTopLevel(pTemplate->dwStyle, rcClient);
    if (!AfxOpenScreenWindow(this, pTemplate->pszCaption, rcClient)) {
        CWnd::DestroyWindow();
        return FALSE;
    }
    for (int i = 0; i < pTemplate->nItems; ++i) {
        const DLGITEMTEMPLATE& item = pTemplate->pItems[i];
        CreateControl(static_cast<UINT>(item.nID), item.dwStyle,
                      AfxMapDialogRect(item.x, item.y, item.cx, item.cy, sizeBase),
                      item.pszClass, item.pszText);
    }
    SendMessage(WM_INITDIALOG, 0, 0);
    AfxShowScreenWindow(this);
    return TRUE;
}

int CDialog::DoModal() {
    if (!Create()) {
        if (CWinApp* pApp = AfxGetApp()) {
            AfxReportWindowError(pApp->m_pszAppName);
            pApp->m_nExitCode = 1;
        }
        return -1;
    }
    const bool bDisableOwner = m_pParentWnd != nullptr && m_pParentWnd->IsWindowEnabled();
    if (bDisableOwner) {
        m_pParentWnd->EnableWindow(FALSE);
    }
    while (!m_bEnded) {
        AfxPumpMessages(TRUE);
    }
    if (bDisableOwner) {
        m_pParentWnd->EnableWindow(TRUE);
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bEnded = TRUE;
    DestroyWindow();
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && HandleDialogKey(static_cast<UINT>(wParam))) {
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_CLOSE:
            // As Windows' dialogs do: closing is the Cancel command.
            SendMessage(WM_COMMAND, IDCANCEL, 0);
            return 0;
        default:
            return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

BOOL CDialog::HandleDialogKey(UINT nKey) {
    int nID = 0;
    if (nKey == VK_RETURN) {
        nID = IDOK;
        for (const auto& pControl : GetControls()) {
            if (pControl->GetClassName() == "button" &&
                (pControl->GetStyle() & BS_DEFPUSHBUTTON) != 0) {
                nID = static_cast<int>(pControl->GetDlgCtrlID());
                break;
            }
        }
    } else if (nKey == VK_ESCAPE) {
        nID = IDCANCEL;
    } else {
        return FALSE;
    }
    const CWnd* pButton = GetDlgItem(nID);
    if (pButton == nullptr || pButton->IsWindowEnabled()) {
        SendMessage(WM_COMMAND, static_cast<WPARAM>(nID), 0);
    }
    return TRUE;
}
