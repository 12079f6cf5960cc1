// CGameDlg: the main window. It lays the board out from its template, turns clicks and keys
// into game actions, runs the timers, paints the field, and keeps a screen reader up with the
// game.
#pragma once

#include "app/board_screen.h"
#include "app/field_layout.h"
#include "app/game_controls.h"
#include "app/player_prefs.h"
#include "platform/base/icon.h"
#include "platform/window/dialog.h"
#include "render/game_field.h"
#include "worker/game_task.h"

class CGameDlg : public CDialog {
public:
    static constexpr UINT kControlsTimer = 0;
    static constexpr UINT kControlsTimerMs = 200;
    static constexpr UINT kFocusTimer = 1;
    static constexpr UINT kFocusTimerMs = 1000;
    // System commands carry flags in their low four bits.
    static constexpr UINT kSysCommandMask = 0xFFF0;

    explicit CGameDlg(CWnd* pParent = nullptr);
    ~CGameDlg() override = default;

    BOOL OnInitDialog() override;

protected:
    // A Start that had to wait for the previous worker to end, and which kind it was.
    enum class PendingStart { kNone, kArea, kCommand };

    void OnSysCommand(UINT nID, LPARAM lParam);
    HCURSOR OnQueryDragIcon();
    void OnTimer(UINT nIDEvent);
    void OnStart();
    void OnStop();
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnPaint();
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnClose();
    LRESULT OnTaskEnded(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
    // Enter presses the drawn button with the focus, before the dialog's own keys.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Carries out a Start of the given kind, or holds it back while the previous worker is
    // still ending. A second Start while one is held back adds nothing.
    void RequestStart(PendingStart kind);
    void CarryOutStart(PendingStart kind);
    // What a drawn button does, pressed with the mouse, the keyboard or a screen reader.
    void Press(const CBoardScreen::Button* pButton);
    void StopFromRun();
    // A jump, as a double-click or a key asks for it, with its sound while a run goes on.
    void JumpWithSound();
    void Command(GameCommand command, UINT nKey);
    // Sound and the audio cues for playing by ear, as the player or the screen reader has
    // them now, for the run and the window's menu.
    void FollowPrefs();
    // Turns sound on or off, as the menu or M asks, and says which.
    void ToggleSound();

    HICON m_hIcon;
    CGameField m_field;
    CGameTask m_task;
    PendingStart m_pendingStart = PendingStart::kNone;
    CPlayerPrefs m_prefs{CSettings::AtDefaultPath()};
    CBoardScreen m_screen{this, &m_field};

    DECLARE_MESSAGE_MAP()
};
