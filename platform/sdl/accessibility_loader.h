// Starting the screen reader's side of the program: the AT-SPI module, loaded when the
// desktop asks for it. The sdl layer's own; UI thread.
#pragma once

// Once the desktop's answer (AfxAskDesktopAccessibility) has come, which a pass of the message
// loop looks for after a frame has been shown: loads the module, installs its driver and
// says that a screen reader runs (SPI_SETSCREENREADER) when the desktop wants it (IsEnabled
// or ScreenReaderEnabled of org.a11y.Status, or AT_SPI_BUS_ADDRESS set), unless
// NO_AT_BRIDGE=1. Says one line when it cannot. Does nothing before the answer, or once done.
void AfxStartAccessibilityWhenAnswered();
