// The colours of the board, the title screen and the playing screen.
#pragma once

#include "platform/base/win_types.h"

namespace colours {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(204, 0, 0);
constexpr COLORREF kYellow = RGB(229, 209, 0);
constexpr COLORREF kDarkGrey = RGB(38, 38, 38);
constexpr COLORREF kGrey = RGB(140, 140, 140);

}  // namespace colours
