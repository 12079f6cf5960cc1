// Starting the platform, and the program's entry: what each backend (platform/sdl/ on Linux,
// platform/win32/ on Windows) defines. Nothing here needs a system's headers.
#pragma once

#include "platform/base/win_types.h"

// Starts the backend: on Linux SDL's video on the display the environment names (X11 first,
// then Wayland), its windows carrying the class pszWindowClass (SDL's default when null); on
// Windows the windows' class. Takes the desktop's scale, and installs the backend's drivers:
// the screen that the windows reach the display through, the sound and the text rasteriser.
// Prints one line ("<program>: cannot open a window: <reason>") and answers FALSE when there
// is no display.
BOOL AfxInitPlatform(const char* pszWindowClass);
void AfxTermPlatform();

// Starts the platform, runs the application's InitInstance, and answers the exit status.
int AfxWinMain();

// The program's own start, which the backend's entry point calls with the command line in
// UTF-8 (platform/sdl/entry.cpp, platform/win32/entry.cpp); the program defines it.
int AfxProgramMain(int argc, char** argv);
