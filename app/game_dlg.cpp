#include "app/game_dlg.h"

#include <algorithm>

#include "app/about_dlg.h"
#include "app/resource.h"
#include "platform/base/sound.h"
#include "platform/base/system_metrics.h"
#include "platform/window/paint_dc.h"
#include "platform/window/system_params.h"
#include "worker/game_sounds.h"

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
ON_MESSAGE(WM_TASKSTATUS, OnTaskStatus)
ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
END_MESSAGE_MAP()

CGameDlg::CGameDlg(CWnd* pParent) : CDialog(IDD_GAME_DIALOG, pParent) {
    m_hIcon = LoadIcon(IDR_MAINFRAME);
}

BOOL CGameDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    m_prefs.Load();
    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        m_prefs.AppendMenuItems(pSysMenu);
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }
    FollowPrefs();

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_task.SetOwner(this);
    m_task.m_pField = &m_field;
    LayOutField(this, &m_field);

    m_screen.Begin();

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
            m_prefs.ToggleAudioCues();
            FollowPrefs();
            m_screen.Say(m_prefs.AudioCuesState().c_str());
            break;
        default:
            Default();
            break;
    }
}

// A run follows the choices at once, even halfway.
void CGameDlg::FollowPrefs() {
    m_task.m_bAudioCues = m_prefs.AreAudioCuesOn() ? TRUE : FALSE;
    m_prefs.ShowInMenu(GetSystemMenu(FALSE));
}

void CGameDlg::ToggleSound() {
    m_prefs.ToggleSound();
    FollowPrefs();
    const std::string strNoSound = m_task.IsBusy() ? m_prefs.OpenSound() : std::string();
    m_screen.Say((strNoSound.empty() ? m_prefs.SoundState() : strNoSound).c_str());
}

HCURSOR CGameDlg::OnQueryDragIcon() {
    return m_hIcon;
}

void CGameDlg::OnTimer(UINT nIDEvent) {
    if (nIDEvent == kControlsTimer) {
        m_task.UpdateControls();
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

// A key held down acts once, not at the keyboard's repeat rate.
void CGameDlg::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT nFlags) {
    if ((nFlags & KF_REPEAT) == 0) {
        Command(GameCommandOf(nChar), nChar);
    }
    Default();
}

void CGameDlg::Command(GameCommand command, UINT nKey) {
    const bool bTitle = m_field.m_nMode == CFieldView::kModeTitle;
    switch (command) {
        case GameCommand::kStartOrJump:
            bTitle ? RequestStart(PendingStart::kArea) : JumpWithSound();
            break;
        case GameCommand::kStartOrStop:
            bTitle ? RequestStart(PendingStart::kArea) : StopFromRun();
            break;
        case GameCommand::kToggleSound:
            ToggleSound();
            break;
        case GameCommand::kMoveFocus:
            m_screen.MoveFocus(
                nKey == VK_LEFT || (nKey == VK_TAB && GetKeyState(VK_SHIFT) < 0) ? -1 : 1);
            break;
        case GameCommand::kPressFocused:
            Press(m_screen.Focused());
            break;
        case GameCommand::kNone:
            break;
    }
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
    m_field.m_rcFocus = m_screen.FocusRect();
    m_field.Paint(&dc, m_task.GetStatus());
    Default();
}

void CGameDlg::OnLButtonUp(UINT /*nFlags*/, CPoint point) {
    Press(m_screen.ButtonAt(point));
    Default();
}

void CGameDlg::Press(const CBoardScreen::Button* pButton) {
    switch (pButton != nullptr ? pButton->action : CBoardScreen::Action::kNone) {
        case CBoardScreen::Action::kStart:
            RequestStart(PendingStart::kArea);
            break;
        case CBoardScreen::Action::kExit:
            OnOK();
            break;
        case CBoardScreen::Action::kStop:
            StopFromRun();
            break;
        case CBoardScreen::Action::kNone:
            break;
    }
}

void CGameDlg::StopFromRun() {
    m_pendingStart = PendingStart::kNone;
    m_field.m_nMode = CFieldView::kModeTitle;
    InvalidateRect(nullptr, TRUE);
    m_task.Abort();
    m_screen.RunStopped();
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
    m_screen.RunEnded();
    return 0;
}

LRESULT CGameDlg::OnTaskStatus(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    m_screen.OutcomeSet(m_task.GetStatus());
    return 0;
}

// A screen reader that starts or stops changes the cues, while the player has not chosen,
// and whether the focus frame shows.
LRESULT CGameDlg::OnSettingChange(WPARAM wParam, LPARAM /*lParam*/) {
    if (wParam == SPI_SETSCREENREADER) {
        FollowPrefs();
        InvalidateRect(nullptr, FALSE);
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
    const std::string strNoSound = m_prefs.OpenSound();
    AfxPlaySound(kSoundStart);
    m_task.Start();
    m_screen.RunStarted(strNoSound);
}

LRESULT CGameDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && IsWindowEnabled() &&
        GameCommandOf(static_cast<UINT>(wParam)) == GameCommand::kPressFocused) {
        Press(m_screen.Focused());
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
