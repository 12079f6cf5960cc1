// Finding installed font faces and opening them. Platform code only, UI thread only.
#pragma once

#include <SDL_ttf.h>

// The face for text in the named family, opened at the given pixel size (its em height).
// The family's own face serves when it has every character of pszText, or when no text is
// given; otherwise the installed face that covers most of the characters it lacks. Where a
// face the program names is not installed, one warning line says so, once. Faces are opened
// once and cached for the program's life. Null when no font is installed at all.
TTF_Font* AfxOpenFontFace(const char* pszFamily, int nPixelHeight, const char* pszText = nullptr);
