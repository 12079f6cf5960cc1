// Starting the platform on SDL2, and the program's entry. Nothing here needs SDL's headers.
#pragma once

#include "platform/base/win_types.h"

// Starts SDL's video with the program's hints on the display the environment names (X11
// first, then Wayland), its windows carrying the class pszWindowClass (SDL's default when
// null), takes the desktop's scale, and installs the backend's drivers: the screen that the
// windows reach the display through, and the sound. Prints one line ("<program>: cannot open
// a window: <reason>") and answers FALSE when there is no display.
BOOL AfxInitPlatform(const char* pszWindowClass);
void AfxTermPlatform();

// Starts the platform, runs the application's InitInstance, and answers the exit status.
int AfxWinMain();
