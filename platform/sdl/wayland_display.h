// What the program does with a Wayland display beyond what SDL offers: its part in the
// program's own wait, and telling a lost connection. SDL loads the Wayland client library
// itself when it opens a Wayland display, and the program asks that copy, rather than load
// one of its own on every display. The sdl layer's own.
#pragma once

#include <SDL.h>

// Readies pWindow's Wayland connection for a wait: sends what is to be sent and answers its
// descriptor, or -1 when events have arrived that wait to be handled, and nothing must
// block. Answers -1 too when pWindow is not a Wayland window. After a wait on the descriptor
// EndWaylandWait hands the reading back to SDL, which reads in SDL_PumpEvents.
int AfxBeginWaylandWait(SDL_Window* pWindow);
void AfxEndWaylandWait(SDL_Window* pWindow);
// Whether pWindow's Wayland connection has failed, as when its compositor has gone. SDL then
// asks the program to quit as a signal would; this tells the two apart. False on other
// displays.
bool AfxIsWaylandDisplayLost(SDL_Window* pWindow);
