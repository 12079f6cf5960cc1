#include "app/field_layout.h"

#include "app/resource.h"

namespace {

constexpr int kWorldWidth = 500;
constexpr int kWorldHeight = 100;
constexpr int kGoalDistance = 500;
constexpr const char* kTitleText = "ぽよるん";

}  // namespace

CRect GetControlRect(CWnd* pDialog, int nID) {
    const CWnd* pControl = pDialog->GetDlgItem(nID);
    CRect rc;
    if (pControl != nullptr) {
        pControl->GetWindowRect(&rc);
        pDialog->ScreenToClient(&rc);
    }
    return rc;
}

void LayOutField(CWnd* pDialog, CGameField* pField) {
    const CRect rcBoard = GetControlRect(pDialog, IDC_BOARD);
    pField->m_world.yFrom = 0;
    pField->m_world.yTo = kWorldHeight;
    pField->m_world.xFrom = 0;
    pField->m_world.xTo = kWorldWidth;
    pField->m_screen.yFrom = rcBoard.top;
    pField->m_screen.yTo = rcBoard.bottom;
    pField->m_screen.xFrom = rcBoard.left;
    pField->m_screen.xTo = rcBoard.right;
    pField->m_nGoal = kGoalDistance;
    pField->ClearObstacles();
    pField->SetBoardRect(rcBoard);
    pField->m_rcTitle = GetControlRect(pDialog, IDC_TITLE);
    pField->SetTitle(kTitleText);
    pField->m_rcStart = GetControlRect(pDialog, IDCANCEL);
    pField->m_rcStop = GetControlRect(pDialog, IDC_STOP);
    pField->m_rcExit = GetControlRect(pDialog, IDOK);
}
