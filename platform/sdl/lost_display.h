// A display that goes away under the program: its X server or its Wayland compositor. The sdl
// layer's own.
#pragma once

#include <SDL.h>

// Remembers the program's name for the line below; start-up calls it before SDL opens the
// display.
void AfxNameProgramForLostDisplay(const char* pszAppName);
// Prints "<program>: lost the connection to the display" and ends the program at once with
// status 1: nothing can be shown any more, and SDL could not even take its windows down.
[[noreturn]] void AfxEndForLostDisplay();
// Whether pWindow's Wayland connection has failed, as when its compositor has gone. SDL then
// asks the program to quit as a signal would; this tells the two apart. False on other
// displays.
bool AfxIsWaylandDisplayLost(SDL_Window* pWindow);
