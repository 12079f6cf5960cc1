// Keys as X names them, for a screen reader. The sdl layer's own.
#pragma once

#include <SDL.h>

#include "platform/window/screen.h"

// The stroke of an SDL key event: its X keycode, keysym and modifier bits, and what it types
// or its keysym's name. A key that SDL does not know has no keysym.
KeyStroke AfxKeyStrokeOf(const SDL_Keysym& keysym, Uint32 nTimestamp);
