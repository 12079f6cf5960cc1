// The screen reader's side of the program: the AT-SPI module, loaded when the desktop asks for
// it, at start or later. The sdl layer's own; UI thread.
#pragma once

// Follows the desktop's answer (AfxWatchDesktopAccessibility), which a pass of the message loop
// looks at once a frame has been shown: when the desktop wants assistive technology (IsEnabled
// or ScreenReaderEnabled of org.a11y.Status, or AT_SPI_BUS_ADDRESS set) and NO_AT_BRIDGE is not
// 1, loads the module once and installs its driver, and says whether a screen reader runs
// (SPI_SETSCREENREADER). Says one line when it cannot.
void AfxFollowDesktopAccessibility();
