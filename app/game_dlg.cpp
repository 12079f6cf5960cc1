#include "app/game_dlg.h"

#include <algorithm>
#include <utility>

#include "app/about_dlg.h"
#include "app/resource.h"
#include "platform/atspi/desktop_status.h"
#include "platform/base/sound.h"
#include "platform/base/system_metrics.h"
#include "platform/base/translate.h"
#include "platform/window/menu.h"
#include "platform/window/paint_dc.h"
#include "platform/window/win_app.h"
#include "worker/game_sounds.h"

namespace {

UINT CheckedIf(bool bChecked) {
    return bChecked ? MF_CHECKED : MF_UNCHECKED;
}

const char* AppName() {
    return AfxGetApp() != nullptr ? AfxGetApp()->m_pszAppName : "";
}

}  // namespace

BEGIN_MESSAGE_MAP(CGameDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_QUERYDRAGICON()
ON_WM_TIMER()
ON_COMMAND(IDCANCEL, OnStart)
ON_COMMAND(IDC_STOP, OnStop)
ON_WM_LBUTTONDBLCLK()
ON_WM_KEYDOWN()
ON_WM_PAINT()
ON_WM_LBUTTONUP()
ON_WM_CLOSE()
ON_MESSAGE(WM_TASKENDED, OnTaskEnded)
END_MESSAGE_MAP()

CRect GetControlRect(CWnd* pDialog, int nID) {
    const CWnd* pControl = pDialog->GetDlgItem(nID);
    CRect rc;
    if (pControl != nullptr) {
        pControl->GetWindowRect(&rc);
        pDialog->ScreenToClient(&rc);
    }
    return rc;
}

CGameDlg::CGameDlg(CWnd* pParent) : CDialog(IDD_GAME_DIALOG, pParent) {
    m_hIcon = LoadIcon(IDR_MAINFRAME);
}

BOOL CGameDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    m_settings.Load(AppName());
    AfxEnableSound(m_settings.Get(CSettings::kSound).value_or(true));
    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        AppendSoundItems(pSysMenu);
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }
    if (const auto bAudioCues = m_settings.Get(CSettings::kAudioCues)) {
        SetAudioCues(*bAudioCues);
        m_bAudioCuesTaken = true;
    }

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_task.SetOwner(this);
    m_task.m_pField = &m_field;

    const CRect rcBoard = GetControlRect(this, IDC_BOARD);
    m_field.m_world.yFrom = 0;
    m_field.m_world.yTo = kWorldHeight;
    m_field.m_world.xFrom = 0;
    m_field.m_world.xTo = kWorldWidth;
    m_field.m_screen.yFrom = rcBoard.top;
    m_field.m_screen.yTo = rcBoard.bottom;
    m_field.m_screen.xFrom = rcBoard.left;
    m_field.m_screen.xTo = rcBoard.right;
    m_field.m_nGoal = kGoalDistance;
    m_field.ClearObstacles();
    m_field.SetBoardRect(rcBoard);
    m_field.m_rcTitle = GetControlRect(this, IDC_TITLE);
    m_field.SetTitle(kTitleText);
    m_field.m_rcStart = GetControlRect(this, IDCANCEL);
    m_field.m_rcStop = GetControlRect(this, IDC_STOP);
    m_field.m_rcExit = GetControlRect(this, IDOK);

    m_strDescribed = m_field.m_strTitle;
    AfxSetAccessibleItems(this, ScreenItems());
    AfxSetAccessibleFocus(this, IDCANCEL);

    SetTimer(kControlsTimer, kControlsTimerMs, nullptr);
    SetTimer(kFocusTimer, kFocusTimerMs, nullptr);
    return TRUE;
}

void CGameDlg::OnSysCommand(UINT nID, LPARAM /*lParam*/) {
    switch (nID & kSysCommandMask) {
        case IDM_ABOUTBOX: {
            CAboutDlg dlgAbout;
            dlgAbout.DoModal();
            break;
        }
        case IDM_SOUND:
            ToggleSound();
            break;
        case IDM_AUDIOCUES:
            ToggleAudioCues();
            break;
        default:
            Default();
            break;
    }
}

// Above the separator, beside Close, as the window's own options.
void CGameDlg::AppendSoundItems(CMenu* pMenu) {
    pMenu->AppendMenu(MF_STRING | CheckedIf(AfxIsSoundEnabled()), IDM_SOUND,
                      AfxTranslate("&Sound"));
    pMenu->AppendMenu(MF_STRING, IDM_AUDIOCUES, AfxTranslate("A&udio cues"));
}

void CGameDlg::ToggleSound() {
    const bool bOn = !AfxIsSoundEnabled();
    AfxEnableSound(bOn);
    if (bOn && m_task.IsBusy()) {
        AfxOpenSound();
    }
    if (CMenu* pMenu = GetSystemMenu(FALSE)) {
        pMenu->CheckMenuItem(IDM_SOUND, CheckedIf(bOn));
    }
    Remember(CSettings::kSound, bOn);
}

void CGameDlg::ToggleAudioCues() {
    TakeAudioCuesDefault();
    const bool bOn = m_task.m_bAudioCues == FALSE;
    SetAudioCues(bOn);
    Remember(CSettings::kAudioCues, bOn);
}

void CGameDlg::TakeAudioCuesDefault() {
    if (!std::exchange(m_bAudioCuesTaken, true)) {
        SetAudioCues(m_settings.Get(CSettings::kAudioCues)
                         .value_or(AfxGetDesktopAccessibility().bScreenReader));
    }
}

void CGameDlg::SetAudioCues(bool bOn) {
    m_task.m_bAudioCues = bOn ? TRUE : FALSE;
    if (CMenu* pMenu = GetSystemMenu(FALSE)) {
        pMenu->CheckMenuItem(IDM_AUDIOCUES, CheckedIf(bOn));
    }
}

void CGameDlg::Remember(const char* pszKey, bool bValue) {
    m_settings.Set(pszKey, bValue);
    m_settings.Save(AppName());
}

HCURSOR CGameDlg::OnQueryDragIcon() {
    return m_hIcon;
}

void CGameDlg::OnTimer(UINT nIDEvent) {
    if (nIDEvent == kControlsTimer) {
        m_task.UpdateControls();
        TakeAudioCuesDefault();
    } else if (nIDEvent == kFocusTimer) {
        SetFocus();
    }
    Default();
}

void CGameDlg::OnStart() {
    RequestStart(PendingStart::kCommand);
}

void CGameDlg::OnStop() {
    m_pendingStart = PendingStart::kNone;
    m_task.Abort();
}

void CGameDlg::OnLButtonDblClk(UINT /*nFlags*/, CPoint /*point*/) {
    JumpWithSound();
    Default();
}

void CGameDlg::JumpWithSound() {
    m_field.Jump();
    // Once the run has its outcome, or before there is one, a jump has nothing to show.
    if (m_task.IsBusy() && m_task.GetStatus().IsEmpty()) {
        AfxPlaySound(kSoundJump);
    }
}

// Space, Up and a gamepad's A start a run from the title screen, as the drawn Start does,
// and jump during a run, as a double-click does; a gamepad's Start (or Menu) button is the
// drawn Start and Stop. A key held down acts once, not at the keyboard's repeat rate.
void CGameDlg::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT nFlags) {
    const bool bTitle = m_field.m_nMode == CFieldView::kModeTitle;
    const bool bPlaying = m_field.m_nMode == CFieldView::kModePlaying;
    if ((nFlags & KF_REPEAT) == 0) {
        if (nChar == VK_SPACE || nChar == VK_UP || nChar == VK_GAMEPAD_A) {
            if (bTitle) {
                StartFromTitle();
            } else {
                JumpWithSound();
            }
        } else if (nChar == VK_GAMEPAD_MENU && bTitle) {
            StartFromTitle();
        } else if (nChar == VK_GAMEPAD_MENU && bPlaying) {
            StopFromRun();
        } else if (nChar == kSoundKey) {
            ToggleSound();
        } else if (nChar == VK_TAB) {
            MoveFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        } else if (nChar == VK_LEFT || nChar == VK_RIGHT) {
            MoveFocus(nChar == VK_LEFT ? -1 : 1);
        }
    }
    Default();
}

void CGameDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        const int x = (rect.Width() - cxIcon + 1) / 2;
        const int y = (rect.Height() - cyIcon + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
        return;
    }
    CPaintDC dc(this);
    const CString strStatus = m_task.GetStatus();
    DescribeScreen(strStatus);
    m_field.m_rcFocus = FocusRect();
    m_field.Paint(&dc, strStatus);
    Default();
}

void CGameDlg::OnLButtonUp(UINT /*nFlags*/, CPoint point) {
    if (m_field.m_nMode == CFieldView::kModeTitle) {
        if (m_field.HitStart(point)) {
            StartFromTitle();
        } else if (m_field.HitExit(point)) {
            OnOK();
        }
    } else if (m_field.m_nMode == CFieldView::kModePlaying) {
        if (m_field.HitStop(point)) {
            StopFromRun();
        }
    }
    Default();
}

void CGameDlg::StartFromTitle() {
    RequestStart(PendingStart::kArea);
}

void CGameDlg::StopFromRun() {
    m_pendingStart = PendingStart::kNone;
    m_field.m_nMode = CFieldView::kModeTitle;
    InvalidateRect(nullptr, TRUE);
    m_task.Abort();
}

// The dialog's own close handling would send IDCANCEL, which here is the Start command;
// closing the window ends the program instead, as the Exit area does.
void CGameDlg::OnClose() {
    OnOK();
}

LRESULT CGameDlg::OnTaskEnded(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    const PendingStart kind = m_pendingStart;
    if (kind != PendingStart::kNone && !m_task.IsBusy()) {
        m_pendingStart = PendingStart::kNone;
        CarryOutStart(kind);
    } else if (!m_task.IsBusy()) {
        // Nothing sounds at the title: the device closes, and wakes nothing there.
        AfxCloseSound();
    }
    return 0;
}

void CGameDlg::RequestStart(PendingStart kind) {
    if (m_task.IsBusy()) {
        if (m_pendingStart == PendingStart::kNone) {
            m_pendingStart = kind;
        }
        return;
    }
    CarryOutStart(kind);
}

void CGameDlg::CarryOutStart(PendingStart kind) {
    if (kind == PendingStart::kArea) {
        m_field.m_nMode = CFieldView::kModePlaying;
        InvalidateRect(nullptr, TRUE);
    }
    TakeAudioCuesDefault();
    AfxOpenSound();
    AfxPlaySound(kSoundStart);
    m_task.Start();
}

LRESULT CGameDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_RETURN && IsWindowEnabled()) {
        PressFocused();
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

std::vector<UINT> CGameDlg::ScreenButtons() const {
    if (m_field.m_nMode == CFieldView::kModePlaying) {
        return {IDC_STOP};
    }
    return {IDCANCEL, IDOK};
}

void CGameDlg::MoveFocus(int nStep) {
    const std::vector<UINT> buttons = ScreenButtons();
    const auto it = std::find(buttons.begin(), buttons.end(), AfxGetAccessibleFocus(this));
    const int nCount = static_cast<int>(buttons.size());
    const int nAt = it != buttons.end() ? static_cast<int>(it - buttons.begin()) : -nStep;
    AfxSetAccessibleFocus(this,
                          buttons[static_cast<size_t>(((nAt + nStep) % nCount + nCount) % nCount)]);
    m_bFocusShown = true;
    InvalidateRect(nullptr, FALSE);
}

void CGameDlg::PressFocused() {
    const bool bTitle = m_field.m_nMode == CFieldView::kModeTitle;
    switch (AfxGetAccessibleFocus(this)) {
        case IDCANCEL:
            if (bTitle) {
                StartFromTitle();
            }
            break;
        case IDOK:
            if (bTitle) {
                OnOK();
            }
            break;
        case IDC_STOP:
            if (!bTitle) {
                StopFromRun();
            }
            break;
        default:
            break;
    }
}

RECT CGameDlg::FocusRect() const {
    if (!m_bFocusShown && AfxAccessibility() == nullptr) {
        return RECT{0, 0, 0, 0};
    }
    switch (AfxGetAccessibleFocus(this)) {
        case IDCANCEL:
            return m_field.m_rcStart;
        case IDOK:
            return m_field.m_rcExit;
        case IDC_STOP:
            return m_field.m_rcStop;
        default:
            return RECT{0, 0, 0, 0};
    }
}

std::vector<AccessibleItem> CGameDlg::ScreenItems() const {
    const bool bTitle = m_field.m_nMode == CFieldView::kModeTitle;
    return {
        {IDC_BOARD, AccessibleRole::kPanel, kBoardName, m_field.m_rcBoard, true},
        {IDC_TITLE, AccessibleRole::kLabel, m_field.m_strTitle.GetString(), m_field.m_rcTitle,
         bTitle},
        {IDCANCEL, AccessibleRole::kPushButton, CFieldView::kStartText, m_field.m_rcStart, bTitle},
        {IDOK, AccessibleRole::kPushButton, CFieldView::kExitText, m_field.m_rcExit, bTitle},
        {IDC_STOP, AccessibleRole::kPushButton, CFieldView::kStopText, m_field.m_rcStop, !bTitle},
    };
}

void CGameDlg::DescribeScreen(const CString& strStatus) {
    const int nMode = m_field.m_nMode;
    if (nMode != m_nDescribedMode) {
        m_nDescribedMode = nMode;
        AfxSetAccessibleItems(this, ScreenItems());
        // There is always a drawn button with the focus, for the reader to speak.
        AfxSetAccessibleFocus(this, ScreenButtons().front());
    }
    const CString strState = nMode == CFieldView::kModeTitle
                                 ? m_field.m_strTitle
                                 : (strStatus.IsEmpty() ? CString(kGameStartedText) : strStatus);
    if (strState != m_strDescribed) {
        m_strDescribed = strState;
        AfxDescribeAccessible(this, AfxGetAccessibleFocus(this), strState);
        AfxDescribeAccessible(this, IDC_BOARD, strState);
    }
}
