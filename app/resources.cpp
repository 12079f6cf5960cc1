#include "app/resources.h"

#include <iterator>

#include "app/resource.h"
#include "platform/base/cstring.h"
#include "platform/base/icon.h"
#include "platform/base/ui_language.h"

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
// The AND masks: '1' where the background shows through, round the pictured bodies.
const char* const kIconMask32[] = {
    "11111111111111111111111111111111",
    "11111111111111111111111111111111",
    "11111111111111111111111111111111",
    "11111111111100000000011111111111",
    "11111111111100000000011111111111",
    "11111111111100000000011111111111",
    "11111111111100000000011111111111",
    "11111111111100000000011111111111",
    "11111111111100000000011111111111",
    "11111111111100000000011111111111",
    "11111111111100000000011111111111",
    "11111111111100000000011111111111",
    "11111111111111111111111111111111",
    "11111111111111111111111111111111",
    "11111111111111111111111111111111",
    "11111111001111111111111111111111",
    "11111111001111111111111111111111",
    "11111111111111111111111111111111",
    "11111111111111111111111111111111",
    "11111111111111111000000000011111",
    "11111001111111111000000000011111",
    "11111001111111111000000000011111",
    "11111111111111111000000000011111",
    "11111111111111111000000000011111",
    "11111111111111111000000000011111",
    "11100111111111111000000000011111",
    "11100111111111111000000000011111",
    "11111111111111111000000000011111",
    "11111111111111111000000000011111",
    "10000000000000000000000000000001",
    "11111111111111111111111111111111",
    "11111111111111111111111111111111",
};
const char* const kIconMask16[] = {
    "1111111111111111",
    "1111110000011111",
    "1111110000011111",
    "1111110000011111",
    "1111110000011111",
    "1111110000011111",
    "1111011111111111",
    "1111111111111111",
    "1111111111111111",
    "1101111110000011",
    "1111111110000011",
    "1111111110000011",
    "1011111110000011",
    "1111111110000011",
    "1000000000000001",
    "1111111111111111",
};
// clang-format on

const ICONIMAGE kMainIconImages[] = {
    {32, 32, kIconRows32, kIconMask32},
    {16, 16, kIconRows16, kIconMask16},
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

// The dialogs' font, and the About box's size and style, in all its languages.
constexpr const char* kDialogFace = "ＭＳ Ｐゴシック";
constexpr int kDialogPointSize = 9;
constexpr short kAboutWidth = 235;
constexpr short kAboutHeight = 55;
constexpr DWORD kAboutStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

// The resources are Japanese; for a user who reads another language, in English.
constexpr LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);

const STRINGRESOURCE kStrings[] = {
    {IDS_ABOUTBOX, "Hoplin のﾊﾞｰｼﾞｮﾝ情報(&A)...", kJapanese},
    {IDS_ABOUTBOX, "&About Hoplin...", kEnglish},
};

}  // namespace

const DLGTEMPLATE g_dlgGame = {
    IDD_GAME_DIALOG,
    271,
    163,
    "Hoplin",
    kDialogFace,
    kDialogPointSize,
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    kGameItems,
    static_cast<int>(std::size(kGameItems)),
    kJapanese,
};

const DLGTEMPLATE g_dlgAbout = {
    IDD_ABOUTBOX,
    kAboutWidth,
    kAboutHeight,
    "Hoplinのﾊﾞｰｼﾞｮﾝ情報",
    kDialogFace,
    kDialogPointSize,
    kAboutStyle,
    kAboutItems,
    static_cast<int>(std::size(kAboutItems)),
    kJapanese,
};

// The same box, with its caption in English.
const DLGTEMPLATE g_dlgAboutEnglish = {
    IDD_ABOUTBOX,   kAboutWidth, kAboutHeight,
    "About Hoplin", kDialogFace, kDialogPointSize,
    kAboutStyle,    kAboutItems, static_cast<int>(std::size(kAboutItems)),
    kEnglish,
};

void RegisterResources() {
    static const DLGTEMPLATE* const s_templates[] = {&g_dlgGame, &g_dlgAbout, &g_dlgAboutEnglish};
    static const ICONRESOURCE* const s_icons[] = {&kMainIcon};
    AfxSetDialogTemplates(s_templates, static_cast<int>(std::size(s_templates)));
    AfxSetIcons(s_icons, static_cast<int>(std::size(s_icons)));
    AfxSetStringTable(kStrings, static_cast<int>(std::size(kStrings)));
}
