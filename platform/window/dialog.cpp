#include "platform/window/dialog.h"

#include <cstdlib>

#include "platform/gdi/theme.h"
#include "platform/window/accessibility.h"
#include "platform/window/dialog_units.h"
#include "platform/window/message_loop.h"
#include "platform/window/paint_dc.h"
#include "platform/window/top_windows.h"
#include "platform/window/win_app.h"
#include "platform/window/wnd_system.h"

namespace {

constexpr DWORD kStaticTypeMask = 0x1F;

bool IsPushButton(const CWnd& control) {
    return control.GetClassName() == "button";
}

bool IsVisible(const CWnd& control) {
    return (control.GetStyle() & WS_VISIBLE) != 0;
}

// Its rectangle in its dialog's client coordinates.
RECT ClientRectOf(const CWnd& control, const CWnd& dialog) {
    RECT rc;
    control.GetWindowRect(&rc);
    dialog.ScreenToClient(&rc);
    return rc;
}

}  // namespace

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
    // Centred on the owner, or without one on the screen.
    CWnd* pOwner = GetOwner();
    RECT rcClient = rcSize;
    if (pOwner != nullptr) {
        RECT rcOwner;
        pOwner->GetWindowRect(&rcOwner);
        OffsetRect(&rcClient, (rcOwner.left + rcOwner.right - rcSize.right) / 2,
                   (rcOwner.top + rcOwner.bottom - rcSize.bottom) / 2);
    }

    m_bEnded = FALSE;
    CreateTopLevel(pTemplate->dwStyle, rcClient);
    if (!AfxOpenScreenWindow(this, pTemplate->pszCaption, rcClient, pOwner == nullptr, pOwner)) {
        CWnd::DestroyWindow();
        return FALSE;
    }
    System()->strFontFace = pTemplate->pszFaceName;
    System()->nFontPointSize = pTemplate->nPointSize;
    for (int i = 0; i < pTemplate->nItems; ++i) {
        const DLGITEMTEMPLATE& item = pTemplate->pItems[i];
        const CWnd* pControl =
            CreateControl(static_cast<UINT>(item.nID), item.dwStyle,
                          AfxMapDialogRect(item.x, item.y, item.cx, item.cy, sizeBase),
                          item.pszClass, item.pszText);
        // The default push button starts with the focus, if it can take it.
        const DWORD dwUsable = WS_VISIBLE | WS_DISABLED;
        if (m_nFocusID == 0 && IsPushButton(*pControl) && (item.dwStyle & BS_DEFPUSHBUTTON) != 0 &&
            (item.dwStyle & dwUsable) == WS_VISIBLE) {
            m_nFocusID = static_cast<UINT>(item.nID);
        }
    }
    DescribeControls();
    SendMessage(WM_INITDIALOG, 0, 0);
    AfxShowScreenWindow(this);
    return TRUE;
}

// A screen reader reads what the dialog shows: its visible texts and push buttons.
void CDialog::DescribeControls() {
    std::vector<AccessibleItem> items;
    for (const auto& pControl : GetControls()) {
        const bool bText = !IsPushButton(*pControl) &&
                           (pControl->GetStyle() & kStaticTypeMask) != SS_ICON &&
                           !pControl->GetWindowText().IsEmpty();
        if (IsVisible(*pControl) && (IsPushButton(*pControl) || bText)) {
            items.push_back(AccessibleItem{
                pControl->GetDlgCtrlID(),
                IsPushButton(*pControl) ? AccessibleRole::kPushButton : AccessibleRole::kLabel,
                pControl->GetWindowText().GetString(), ClientRectOf(*pControl, *this), true, ""});
        }
    }
    AfxSetAccessibleItems(this, std::move(items));
    AfxSetAccessibleFocus(this, m_nFocusID);
}

CWnd* CDialog::GetOwner() const {
    CWnd* pOwner = m_pParentWnd;
    if (pOwner == nullptr && AfxGetApp() != nullptr && AfxGetApp()->m_pMainWnd != this) {
        pOwner = AfxGetApp()->m_pMainWnd;
    }
    return pOwner != nullptr && pOwner->GetSafeHwnd() != nullptr ? pOwner : nullptr;
}

int CDialog::DoModal() {
    if (!Create()) {
        AfxReportWindowError();
        if (CWinApp* pApp = AfxGetApp()) {
            pApp->m_nExitCode = 1;
        }
        return -1;
    }
    CWnd* pOwner = GetOwner();
    const bool bDisableOwner = pOwner != nullptr && pOwner->IsWindowEnabled();
    if (bDisableOwner) {
        pOwner->EnableWindow(FALSE);
    }
    while (!m_bEnded) {
        AfxPumpMessages(TRUE);
    }
    if (bDisableOwner) {
        pOwner->EnableWindow(TRUE);
        // As Windows does when a dialog ends, even where no window manager would.
        AfxActivateScreenWindow(pOwner);
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
        case WM_PAINT: {
            // After a handler has painted, what was invalidated meanwhile is left for the
            // next WM_PAINT rather than erased here with nothing drawn over it.
            if (IsPaintTaken()) {
                return 0;
            }
            CPaintDC dc(this);
            if (!IsRectEmpty(&dc.m_rcPaint)) {
                DrawControls(dc);
            }
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (CWnd* pButton = ButtonAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
                m_nPressedID = m_nFocusID = pButton->GetDlgCtrlID();
                Invalidate(TRUE);
            }
            return 0;
        case WM_LBUTTONUP: {
            const UINT nPressedID = m_nPressedID;
            if (nPressedID == 0) {
                return 0;
            }
            m_nPressedID = 0;
            Invalidate(TRUE);
            const CWnd* pButton = ButtonAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (pButton != nullptr && pButton->GetDlgCtrlID() == nPressedID) {
                SendMessage(WM_COMMAND, nPressedID, 0);
            }
            return 0;
        }
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

CWnd* CDialog::ButtonAt(POINT pt) const {
    for (const auto& pControl : GetControls()) {
        const RECT rc = ClientRectOf(*pControl, *this);
        if (IsPushButton(*pControl) && IsVisible(*pControl) && pControl->IsWindowEnabled() &&
            PtInRect(&rc, pt)) {
            return pControl.get();
        }
    }
    return nullptr;
}

void CDialog::DrawControls(CDC& dc) {
    CFont font;
    AfxCreateDialogFont(&font, System()->strFontFace, System()->nFontPointSize);
    CFont* pOldFont = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(theme::kText);
    for (const auto& pControl : GetControls()) {
        if (!IsVisible(*pControl)) {
            continue;
        }
        const DWORD dwStyle = pControl->GetStyle();
        RECT rc = ClientRectOf(*pControl, *this);
        if (IsPushButton(*pControl)) {
            DrawButton(dc, *pControl);
        } else if ((dwStyle & kStaticTypeMask) == SS_ICON) {
            // The text names the icon's resource, "#<id>"; the icon keeps its own size.
            const char* pszText = pControl->GetWindowText();
            const UINT nIcon = pszText[0] == '#' ? static_cast<UINT>(std::atoi(pszText + 1)) : 0;
            dc.DrawIcon(rc.left, rc.top, LoadIcon(nIcon));
        } else {
            const UINT nPrefix = (dwStyle & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0;
            dc.DrawText(pControl->GetWindowText(), &rc, DT_LEFT | DT_TOP | DT_SINGLELINE | nPrefix);
        }
    }
    dc.SelectObject(pOldFont);
}

void CDialog::DrawButton(CDC& dc, const CWnd& button) {
    const RECT rc = ClientRectOf(button, *this);
    const UINT nID = button.GetDlgCtrlID();
    const bool bPressed = nID == m_nPressedID;
    const bool bDefault = (button.GetStyle() & BS_DEFPUSHBUTTON) != 0;
    const COLORREF crBorder =
        bPressed ? theme::kPressedPushButtonBorder
                 : (bDefault ? theme::kDefaultPushButtonBorder : theme::kPushButtonBorder);
    dc.FillSolidRect(&rc, crBorder);
    const RECT rcFace{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
    dc.FillSolidRect(&rcFace, bPressed ? theme::kPushButtonPressedFace : theme::kPushButtonFace);
    RECT rcText = rcFace;
    if (bPressed) {
        OffsetRect(&rcText, 1, 1);
    }
    dc.DrawText(button.GetWindowText(), &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (nID == m_nFocusID) {
        const RECT rcFocus = theme::FocusFrameIn(rc);
        dc.DrawFocusRect(&rcFocus);
    }
}
