// Finding installed font faces with fontconfig and opening them with SDL_ttf. The sdl layer's
// own, UI thread only.
#pragma once

#include <SDL_ttf.h>

// A font file, opened once for every size: each use sets the size it asks for.
struct FontFace {
    TTF_Font* pFont;
    int nPixelHeight;  // the size it is set to now
};

// The face for text in the named family. The family's own face serves when it has every
// character of pszText, or when no text is given; otherwise the installed face that covers
// most of the characters it lacks. Where a face the program names is not installed, one
// warning line says so, once. Faces are opened once and kept for the program's life. Null
// when no font is installed at all.
FontFace* AfxOpenFontFace(const char* pszFamily, const char* pszText = nullptr);
// Sets the face to nPixelHeight, its em height, unless it is at that size already.
void AfxSizeFontFace(FontFace* pFace, int nPixelHeight);
