// How the game is played: every control, a row each, in the player's words, and for the keys
// that the main window acts on itself, what they do. OnKeyDown acts on this table, --help
// lists it, and a test holds the manual page's list of controls to it.
#pragma once

#include <cstdio>
#include <vector>

#include "platform/base/win_types.h"

// What a key that the main window acts on does.
enum class GameCommand {
    kNone,         // nothing of the main window's own: the mouse, or the platform's keys
    kStartOrJump,  // starts a run from the title screen, jumps during one
    kStartOrStop,  // starts a run from the title screen, stops one
    kToggleSound,
    kMoveFocus,     // among the drawn buttons: Left back, Right and Tab on, Shift+Tab back
    kPressFocused,  // the drawn button with the focus
};

struct GameControl {
    const char* pszInputs;  // untranslated, as AfxTranslate takes it
    const char* pszDoes;
    GameCommand command;
    std::vector<UINT> keys;  // the virtual keys that give the command
};

// Every control, in the order the player reads them.
const std::vector<GameControl>& GameControls();
// What the key does in the main window; kNone for a key it leaves alone.
GameCommand GameCommandOf(UINT nKey);
// The controls as --help shows them, translated: a line each, the descriptions in a column.
void PrintGameControls(std::FILE* out);
