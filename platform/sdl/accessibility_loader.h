// Starting the screen reader's side of the program: the AT-SPI module, loaded when the
// desktop asks for it. The sdl layer's own; UI thread.
#pragma once

// Once the desktop's answer (AfxAskDesktopAccessibility) has come, which a pass of the message
// loop looks for after a frame has been shown: loads the module and installs its
// driver when the desktop wants it (IsEnabled or ScreenReaderEnabled of org.a11y.Status, or
// AT_SPI_BUS_ADDRESS set), unless NO_AT_BRIDGE=1. Says one line when it cannot. Returns how
// long the loop may wait before it looks again: -1, as long as it likes, once it need not.
int AfxStartAccessibilityWhenAsked();
