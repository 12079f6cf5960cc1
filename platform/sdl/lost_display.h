// A display that goes away under the program: its X server or its Wayland compositor. The sdl
// layer's own.
#pragma once

// Prints "<program>: lost the connection to the display" and ends the program at once with
// status 1: nothing can be shown any more, and SDL could not even take its windows down.
[[noreturn]] void AfxEndForLostDisplay();
