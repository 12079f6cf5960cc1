// Window messages, and packing their parameters.
#pragma once

#include "platform/base/win_types.h"

constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_ERASEBKGND = 0x0014;
// A system parameter has changed (system_params.h); wParam is its SET action.
constexpr UINT WM_SETTINGCHANGE = 0x001A;
constexpr UINT WM_ICONERASEBKGND = 0x0027;
constexpr UINT WM_QUERYDRAGICON = 0x0037;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONUP = 0x0205;
// In the range MFC keeps for its own messages: a screen reader's click on an item (wParam).
constexpr UINT WM_ACCESSIBLECLICK = 0x0360;
constexpr UINT WM_APP = 0x8000;

constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

// The commands of a dialog's OK and Cancel buttons, and the results DoModal gives for them.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

constexpr UINT SC_CLOSE = 0xF060;
constexpr UINT ID_HELP = 0xE146;

constexpr UINT MK_LBUTTON = 0x0001;

// In the key flags of WM_KEYDOWN (the high word of lParam): the key was already down, so
// this is the keyboard's auto-repeat.
constexpr UINT KF_REPEAT = 0x4000;

// Virtual keys that the windows handle.
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
// The context-menu key, which Shift+F10 stands for as well.
constexpr UINT VK_APPS = 0x5D;
constexpr UINT VK_F4 = 0x73;
// A gamepad's south and east face buttons, and its Start (or Menu) button.
constexpr UINT VK_GAMEPAD_A = 0xC3;
constexpr UINT VK_GAMEPAD_B = 0xC4;
constexpr UINT VK_GAMEPAD_MENU = 0xCF;

constexpr WORD LOWORD(std::uintptr_t n) {
    return static_cast<WORD>(n & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t n) {
    return static_cast<WORD>((n >> 16) & 0xFFFF);
}
constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>((static_cast<DWORD>(hi & 0xFFFF) << 16) |
                               static_cast<DWORD>(lo & 0xFFFF));
}
// Signed client coordinates from a mouse message's lParam.
constexpr int GET_X_LPARAM(LPARAM lp) {
    return static_cast<short>(LOWORD(lp));
}
constexpr int GET_Y_LPARAM(LPARAM lp) {
    return static_cast<short>(HIWORD(lp));
}
