// The desktop's scale, as read off the screen that SDL opened. The sdl layer's own.
#pragma once

// Reads the desktop's scale, X11's resources and the GDK settings beside them, or the Wayland
// output's scale, and takes it as the program's logical DPI (platform/base/dpi.h). Call it
// once SDL's video runs, before any window is opened.
void AfxTakeScreenScale();
