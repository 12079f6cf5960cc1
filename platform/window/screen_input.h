// What the screen's events do to the program's windows, as Windows' window manager turns
// input and changes of state into messages. UI thread only.
#pragma once

#include "platform/window/screen.h"

void AfxDispatchScreenEvent(const ScreenEvent& event);
