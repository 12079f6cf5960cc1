// Starting the screen reader's side of the program: the AT-SPI module, loaded when the
// desktop asks for it. The sdl layer's own; UI thread.
#pragma once

// Asks the desktop, off the path to the first frame, whether it wants accessibility; wake
// ends the UI thread's wait when the answer comes.
void AfxAskForAccessibility(void (*pfnWake)());
// Once the answer is there and a frame has been shown: loads the module and installs its
// driver when the desktop wants it (IsEnabled or ScreenReaderEnabled of org.a11y.Status, or
// AT_SPI_BUS_ADDRESS set), unless NO_AT_BRIDGE=1. Says one line when it cannot.
void AfxStartAccessibilityWhenAsked();
