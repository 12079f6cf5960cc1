#include "app/resources.h"

#include <iterator>

#include "app/resource.h"
#include "platform/cstring.h"
#include "platform/icon.h"

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

// The standard 16-colour palette.
const COLORREF kPalette16[16] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255),
};

// A red square leaping over a grey, red-edged block, in palette indices.
// One pixel row per line.
// clang-format off
const char* const kIconRows32[] = {
    "00000000000000000000000000000000",
    "00000000000000000000000000000000",
    "00000000000000000000000000000000",
    "00000000000099999999900000000000",
    "00000000000099999999900000000000",
    "00000000000099999999900000000000",
    "00000000000099999999900000000000",
    "00000000000099999999900000000000",
    "00000000000099999999900000000000",
    "00000000000099999999900000000000",
    "00000000000099999999900000000000",
    "00000000000099999999900000000000",
    "00000000000000000000000000000000",
    "00000000000000000000000000000000",
    "00000000000000000000000000000000",
    "00000000770000000000000000000000",
    "00000000770000000000000000000000",
    "00000000000000000000000000000000",
    "00000000000000000000000000000000",
    "00000000000000000999999999900000",
    "00000770000000000988888888900000",
    "00000770000000000988888888900000",
    "00000000000000000988888888900000",
    "00000000000000000988888888900000",
    "00000000000000000988888888900000",
    "00077000000000000988888888900000",
    "00077000000000000988888888900000",
    "00000000000000000988888888900000",
    "00000000000000000999999999900000",
    "08888888888888888888888888888880",
    "00000000000000000000000000000000",
    "00000000000000000000000000000000",
};
const char* const kIconRows16[] = {
    "0000000000000000",
    "0000009999900000",
    "0000009999900000",
    "0000009999900000",
    "0000009999900000",
    "0000009999900000",
    "0000700000000000",
    "0000000000000000",
    "0000000000000000",
    "0070000009999900",
    "0000000009888900",
    "0000000009888900",
    "0700000009888900",
    "0000000009999900",
    "0888888888888880",
    "0000000000000000",
};
// clang-format on

const ICONIMAGE kMainIconImages[] = {
    {32, 32, kIconRows32},
    {16, 16, kIconRows16},
};

const ICONRESOURCE kMainIcon = {IDR_MAINFRAME, kPalette16, kMainIconImages,
                                static_cast<int>(std::size(kMainIconImages))};

const DLGITEMTEMPLATE kAboutItems[] = {
    {-1, "static", "#128", 11, 17, 20, 20, WS_CHILD | WS_VISIBLE | SS_ICON},
    {-1, "static", "Hoplin Version 1.0", 40, 10, 119, 8,
     WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX},
    {IDOK, "button", "OK", 178, 7, 50, 14,
     WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON},
};

const STRINGRESOURCE kStrings[] = {
    {IDS_ABOUTBOX, "Hoplin のﾊﾞｰｼﾞｮﾝ情報(&A)..."},
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

const DLGTEMPLATE g_dlgAbout = {
    IDD_ABOUTBOX,
    235,
    55,
    "Hoplinのﾊﾞｰｼﾞｮﾝ情報",
    "ＭＳ Ｐゴシック",
    9,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    kAboutItems,
    static_cast<int>(std::size(kAboutItems)),
};

void RegisterResources() {
    static const DLGTEMPLATE* const s_templates[] = {&g_dlgGame, &g_dlgAbout};
    static const ICONRESOURCE* const s_icons[] = {&kMainIcon};
    AfxSetDialogTemplates(s_templates, static_cast<int>(std::size(s_templates)));
    AfxSetIcons(s_icons, static_cast<int>(std::size(s_icons)));
    AfxSetStringTable(kStrings, static_cast<int>(std::size(kStrings)));
}
