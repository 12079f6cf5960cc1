#include "app/about_dlg.h"

#include "app/resource.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

// Its OK button ends it through the base dialog's OnOK.
CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

// A gamepad's A or B closes the box, as OK does, for a player with no mouse at hand.
void CAboutDlg::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/) {
    if (nChar == VK_GAMEPAD_A || nChar == VK_GAMEPAD_B) {
        OnOK();
    } else {
        Default();
    }
}
