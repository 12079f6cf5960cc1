// Starting the screen, and the loop that delivers messages to the program's windows.
#pragma once

#include "platform/win_types.h"

// Starts SDL's video and timers with the program's hints, its windows carrying the class
// pszWindowClass (SDL's default when null). Prints one line ("<program>: cannot open a
// window: <reason>") and answers FALSE when there is no display.
BOOL AfxInitPlatform(const char* pszAppName, const char* pszWindowClass);
void AfxTermPlatform();
// Prints the one line that says no window can be opened, with SDL's reason.
void AfxReportWindowError(const char* pszAppName);

class CWnd;

// The newest top-level window that is open, or null.
CWnd* AfxGetTopWindow();

// Delivers what is waiting: screen events, posted messages, then paints. With bWait it
// first blocks until something arrives.
void AfxPumpMessages(BOOL bWait);
