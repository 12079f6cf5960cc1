// The text rasteriser on SDL_ttf and fontconfig: faces found by family with the fallback to
// faces that have the text's characters, one open face per font file for every size. The
// sdl layer's own; start-up installs it.
#pragma once

#include "platform/gdi/text_raster.h"

CTextRasterizer& AfxTtfRasterizer();
