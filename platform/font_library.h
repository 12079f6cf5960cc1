// Finding installed font faces and opening them. Platform code only, UI thread only.
#pragma once

#include <SDL_ttf.h>

// The face that fontconfig offers for Japanese text in the named family, opened at the given
// pixel size (its em height). Faces are opened once and cached for the program's life. Null
// when no font is installed at all.
TTF_Font* AfxOpenFontFace(const char* pszFamily, int nPixelHeight);

// Dots per inch of the screen, 96 unless the display reports a plausible value.
int AfxGetScreenDpi();
