#include "app/game_controls.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "platform/base/translate.h"
#include "platform/window/messages.h"

namespace {

// Marks a text for the catalogue; it is translated where it is shown.
constexpr const char* N_(const char* psz) {
    return psz;
}

constexpr int kIndent = 2;
constexpr int kColumnGap = 2;

// The blocks of wide characters, which a terminal gives two columns: the CJK ideographs and
// kana, Hangul, and the full-width forms.
struct WideBlock {
    char32_t chFirst;
    char32_t chLast;
};
constexpr WideBlock kWideBlocks[] = {
    {0x1100, 0x115F}, {0x2E80, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF},
    {0xFE30, 0xFE4F}, {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6},
};

bool IsWide(char32_t ch) {
    return std::any_of(
        std::begin(kWideBlocks), std::end(kWideBlocks),
        [ch](const WideBlock& block) { return ch >= block.chFirst && ch <= block.chLast; });
}

// How many columns a terminal gives UTF-8 text, which the program's texts all are.
int Columns(const std::string& str) {
    int nColumns = 0;
    for (size_t i = 0; i < str.size();) {
        const auto lead = static_cast<unsigned char>(str[i]);
        const size_t nLength = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        char32_t ch = nLength == 1 ? lead : lead & (0x7F >> nLength);
        for (size_t k = 1; k < nLength && i + k < str.size(); ++k) {
            ch = (ch << 6) | (static_cast<unsigned char>(str[i + k]) & 0x3F);
        }
        nColumns += IsWide(ch) ? 2 : 1;
        i += nLength;
    }
    return nColumns;
}

}  // namespace

const std::vector<GameControl>& GameControls() {
    static const std::vector<GameControl> s_controls = {
        {N_("Start, Space, Up"),
         N_("start a run"),
         GameCommand::kStartOrJump,
         {VK_SPACE, VK_UP, VK_GAMEPAD_A}},
        {N_("double-click, Space, Up"), N_("jump"), GameCommand::kNone, {}},
        {N_("Stop"), N_("give up the run"), GameCommand::kNone, {}},
        {N_("gamepad A, Start"),
         N_("A starts a run and jumps; Start starts and stops a run"),
         GameCommand::kStartOrStop,
         {VK_GAMEPAD_MENU}},
        {N_("M"), N_("sound on or off"), GameCommand::kToggleSound, {'M'}},
        {N_("Tab, Left, Right"),
         N_("move the focus among the drawn buttons"),
         GameCommand::kMoveFocus,
         {VK_TAB, VK_LEFT, VK_RIGHT}},
        {N_("Enter"),
         N_("press the button with the focus"),
         GameCommand::kPressFocused,
         {VK_RETURN}},
        {N_("Shift+F10, Menu key"), N_("the window's menu"), GameCommand::kNone, {}},
        {N_("right-click, Alt+Space"),
         N_("the window's menu: sound, audio cues and the About box"),
         GameCommand::kNone,
         {}},
        {N_("Exit, Alt+F4"), N_("quit"), GameCommand::kNone, {}},
    };
    return s_controls;
}

GameCommand GameCommandOf(UINT nKey) {
    for (const GameControl& control : GameControls()) {
        if (std::find(control.keys.begin(), control.keys.end(), nKey) != control.keys.end()) {
            return control.command;
        }
    }
    return GameCommand::kNone;
}

void PrintGameControls(std::FILE* out) {
    int nWidest = 0;
    for (const GameControl& control : GameControls()) {
        nWidest = std::max(nWidest, Columns(AfxTranslate(control.pszInputs)));
    }
    for (const GameControl& control : GameControls()) {
        const std::string strInputs = AfxTranslate(control.pszInputs);
        const int nPad = nWidest - Columns(strInputs) + kColumnGap;
        std::fprintf(out, "%*s%s%*s%s\n", kIndent, "", strInputs.c_str(), nPad, "",
                     AfxTranslate(control.pszDoes));
    }
}
