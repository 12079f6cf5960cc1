// The look of the platform's own parts, as Windows 10 draws them: the dialog's face, push
// buttons, the window's menu and the focus frame. The one home of their colours and sizes.
#pragma once

#include "platform/base/win_types.h"

namespace theme {

// The dialog's face, which erasing a window paints (GetSysColor's COLOR_BTNFACE).
constexpr COLORREF kDialogFace = RGB(240, 240, 240);
constexpr COLORREF kText = RGB(0, 0, 0);

// A push button: its face, lighter than the dialog's, and a border that is blue on the
// default button and darker while the button is held down.
constexpr COLORREF kPushButtonFace = RGB(225, 225, 225);
constexpr COLORREF kPushButtonPressedFace = RGB(204, 228, 247);
constexpr COLORREF kPushButtonBorder = RGB(173, 173, 173);
constexpr COLORREF kDefaultPushButtonBorder = RGB(0, 120, 215);
constexpr COLORREF kPressedPushButtonBorder = RGB(0, 84, 153);

// The window's menu.
constexpr COLORREF kMenuFace = RGB(242, 242, 242);
constexpr COLORREF kMenuBorder = RGB(160, 160, 160);
constexpr COLORREF kMenuHighlight = RGB(145, 201, 247);
constexpr COLORREF kMenuSeparator = RGB(215, 215, 215);

// Where the focus frame goes inside a button: this far in from its edge, at 96 DPI.
constexpr int kFocusInset = 3;
// The focus frame's rectangle for a button at rcButton, at the logical DPI.
RECT FocusFrameIn(const RECT& rcButton);

}  // namespace theme
