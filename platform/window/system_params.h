// System parameters, as Win32's SystemParametersInfo keeps them: what the desktop says of the
// user's setup, which the backend sets and the program asks for. UI thread only.
#pragma once

#include "platform/base/win_types.h"

// Whether a screen reader runs, as a BOOL at pvParam; set with uiParam TRUE or FALSE.
constexpr UINT SPI_GETSCREENREADER = 0x0046;
constexpr UINT SPI_SETSCREENREADER = 0x0047;
// With a SET action: every open top-level window is sent WM_SETTINGCHANGE, the action in
// wParam, when the value changes.
constexpr UINT SPIF_SENDCHANGE = 0x0002;

// Answers FALSE for an action it does not know, or a GET without a place for the answer.
BOOL SystemParametersInfo(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni);
