// The loop that delivers messages to the program's windows.
#pragma once

#include "platform/base/win_types.h"

// Delivers what is waiting: the screen's events, posted messages and due timers, then paints.
// With bWait it first blocks until something arrives or a timer is due.
void AfxPumpMessages(BOOL bWait);
