#include "app/resources.h"

#include <iterator>

#include "app/resource.h"

namespace {

constexpr DWORD kPlaceholderButton = WS_CHILD | WS_DISABLED | WS_TABSTOP | BS_DEFPUSHBUTTON;

// The main dialog's controls are hidden, disabled placeholders: they only say where the
// board, the title and the drawn buttons lie.
const DLGITEMTEMPLATE kGameItems[] = {
    {IDC_TITLE, "static", "Title", 23, 19, 223, 33,
     WS_CHILD | WS_DISABLED | WS_BORDER | WS_GROUP | SS_LEFT},
    {IDCANCEL, "button", "スタート", 62, 99, 50, 21, kPlaceholderButton},
    {IDOK, "button", "OK", 138, 99, 50, 21, kPlaceholderButton},
    {IDC_STOP, "button", "中断", 214, 136, 50, 21, kPlaceholderButton},
    {IDC_BOARD, "static", "Static", 7, 7, 257, 128,
     WS_CHILD | WS_DISABLED | WS_GROUP | SS_SUNKEN | SS_LEFT},
};

}  // namespace

const DLGTEMPLATE g_dlgGame = {
    IDD_GAME_DIALOG,
    271,
    163,
    "Hoplin",
    "ＭＳ Ｐゴシック",
    9,
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    kGameItems,
    static_cast<int>(std::size(kGameItems)),
};
