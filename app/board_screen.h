// CBoardScreen: the main window's board as the player works it without the mouse, and as a
// screen reader reads it: the drawn buttons, a row each, the keyboard's focus among them, and
// what the screen holds and says.
#pragma once

#include <string>
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
    // What a screen reader hears of the game: the board's name, what a run says when it
    // starts and when it is stopped (its end says "GOAL!!" or "FAIL!!", and the title screen
    // its title), and the title's reading, for voices of languages other than Japanese.
    static constexpr const char* kBoardName = "Board";
    static constexpr const char* kGameStartedText = "Game started";
    static constexpr const char* kGameStoppedText = "Game stopped";
    static constexpr const char* kTitleReading = "Poyorun";

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
    // What the screen reader hears of a run, each once, whatever has the focus and whether the
    // window shows or not: its start, a Stop, its outcome, and the title's return after an
    // outcome. The screen's items and focus follow the screen mode as each comes.
    // strFirst, if any, is said before the start.
    void RunStarted(const std::string& strFirst);
    void RunStopped();
    void OutcomeSet(const CString& strStatus);
    void RunEnded();
    // Says pszText, and keeps it as the board's description, for the reader to read again.
    void Say(const char* pszText);

private:
    // The buttons of the screen now, in the focus's order.
    std::vector<const Button*> Shown() const;
    std::vector<AccessibleItem> Items() const;
    // The items and the focus for the screen mode now, when it has changed.
    void FollowMode();
    // The title as a voice in the user's language can speak it.
    const char* TitleName() const;

    CWnd* m_pWnd;
    const CGameField* m_pField;
    bool m_bFocusShown = false;
    int m_nMode = CFieldView::kModeTitle;
    // Whether the run has its outcome, and whether it was stopped.
    bool m_bOutcome = false;
    bool m_bStopped = false;
};
