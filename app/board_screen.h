// CBoardScreen: the main window's board as the player works it without the mouse, and as a
// screen reader reads it: the drawn buttons, a row each, the keyboard's focus among them, and
// what the screen holds and says.
#pragma once

#include <vector>

#include "platform/base/cstring.h"
#include "platform/window/accessibility.h"
#include "platform/window/wnd.h"
#include "render/game_field.h"

class CBoardScreen {
public:
    // What pressing a drawn button does.
    enum class Action { kNone, kStart, kExit, kStop };
    // A button that the game draws on its board: its ID, where the field keeps its rectangle,
    // its word, the screen mode it shows in, and what pressing it does. The mouse, the
    // keyboard's focus and the screen reader all go by the one table of them.
    struct Button {
        UINT nID;
        RECT CFieldView::*prc;
        const char* pszLabel;
        int nMode;
        Action action;
    };
    // What a screen reader hears of the game: the board's name, and what a run says when it
    // starts (its end says "GOAL!!" or "FAIL!!", and the title screen its title).
    static constexpr const char* kBoardName = "Board";
    static constexpr const char* kGameStartedText = "Game started";

    CBoardScreen(CWnd* pWnd, const CGameField* pField) : m_pWnd(pWnd), m_pField(pField) {}

    // Tells the screen reader what the title screen holds, with the focus on its first button.
    void Begin();
    // The button shown at pt, or null.
    const Button* ButtonAt(POINT pt) const;
    // The button with the keyboard's focus, or null.
    const Button* Focused() const;
    // Moves the focus nStep buttons on, round the screen's buttons, and shows its frame.
    void MoveFocus(int nStep);
    // Where the focus frame goes: the focused button, once the player has moved the focus or
    // while a screen reader runs; empty otherwise.
    RECT FocusRect() const;
    // Tells the screen reader what the screen holds now and says a run's start, its outcome
    // (strStatus) and the title's return, in the description of the focused button and of
    // the board.
    void Announce(const CString& strStatus);

private:
    // The buttons of the screen now, in the focus's order.
    std::vector<const Button*> Shown() const;
    std::vector<AccessibleItem> Items() const;

    CWnd* m_pWnd;
    const CGameField* m_pField;
    bool m_bFocusShown = false;
    int m_nAnnouncedMode = CFieldView::kModeTitle;
    CString m_strAnnounced;
};
