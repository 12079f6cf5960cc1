// The text rasteriser on Windows' own GDI: faces made with CreateFontW, measured with
// GetTextExtentPoint32W and GetCharABCWidthsW, and rendered in grey-scale anti-aliasing into a
// DIB section, whose grey is the coverage. A face that lacks the text's characters gives way
// to one of Windows' Japanese or symbol faces that has them. The win32 layer's own; start-up
// installs it.
#pragma once

#include "platform/gdi/text_raster.h"

CTextRasterizer& AfxGdiRasterizer();
