// CGameDlg: the main window. It lays the board out from its template, turns clicks into
// game actions, runs the timers and paints the field.
#pragma once

#include <vector>

#include "app/settings.h"
#include "platform/base/icon.h"
#include "platform/window/accessibility.h"
#include "platform/window/dialog.h"
#include "render/game_field.h"
#include "worker/game_task.h"

// The window rectangle of the dialog's control nID in the dialog's client coordinates;
// empty when there is no such control.
CRect GetControlRect(CWnd* pDialog, int nID);

class CGameDlg : public CDialog {
public:
    static constexpr UINT kControlsTimer = 0;
    static constexpr UINT kControlsTimerMs = 200;
    static constexpr UINT kFocusTimer = 1;
    static constexpr UINT kFocusTimerMs = 1000;
    static constexpr int kWorldWidth = 500;
    static constexpr int kWorldHeight = 100;
    static constexpr int kGoalDistance = 500;
    static constexpr const char* kTitleText = "ぽよるん";
    // System commands carry flags in their low four bits.
    static constexpr UINT kSysCommandMask = 0xFFF0;
    // The key that turns sound on and off.
    static constexpr UINT kSoundKey = 'M';
    // What a screen reader hears of the game: the board's name, and what a run says when it
    // starts (its end says "GOAL!!" or "FAIL!!", and the title screen its title).
    static constexpr const char* kBoardName = "Board";
    static constexpr const char* kGameStartedText = "Game started";

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
    // Enter presses the drawn button with the focus, before the dialog's own keys.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Carries out a Start of the given kind, or holds it back while the previous worker is
    // still ending. A second Start while one is held back adds nothing.
    void RequestStart(PendingStart kind);
    void CarryOutStart(PendingStart kind);
    // What a release on the drawn Start area does on the title screen, and one on the drawn
    // Stop area during a run.
    void StartFromTitle();
    void StopFromRun();
    // A jump, as a double-click or a key asks for it, with its sound while a run goes on.
    void JumpWithSound();

    // Sound, and the audio cues for playing by ear: on, off and remembered. The cues start
    // as the settings say, or without a setting on when the desktop runs a screen reader,
    // which is asked once, off the first frame's path, the first time the cues matter.
    void AppendSoundItems(CMenu* pMenu);
    void ToggleSound();
    void ToggleAudioCues();
    void TakeAudioCuesDefault();
    void SetAudioCues(bool bOn);
    void Remember(const char* pszKey, bool bValue);

    // The keyboard's focus among the drawn buttons of the screen: Tab, Shift+Tab and the arrow
    // keys move it, Enter presses its button. Its frame shows once the player has moved it, or
    // while a screen reader reads the game.
    std::vector<UINT> ScreenButtons() const;
    void MoveFocus(int nStep);
    void PressFocused();
    RECT FocusRect() const;
    // Tells a screen reader what the screen holds, and says a run's start and end, and the
    // title's return, in the description of the focused button and of the board.
    void DescribeScreen(const CString& strStatus);
    std::vector<AccessibleItem> ScreenItems() const;

    HICON m_hIcon;
    CGameField m_field;
    CGameTask m_task;
    PendingStart m_pendingStart = PendingStart::kNone;
    CSettings m_settings{CSettings::DefaultPath()};
    bool m_bAudioCuesTaken = false;
    bool m_bFocusShown = false;
    int m_nDescribedMode = CFieldView::kModeTitle;
    CString m_strDescribed;

    DECLARE_MESSAGE_MAP()
};
