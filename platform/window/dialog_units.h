// A dialog's units: its font's base units, and template rectangles converted to pixels.
#pragma once

#include "platform/base/dialog_resource.h"
#include "platform/gdi/gdi.h"

// The dialog font of a template: the face at nPointSize points, its height rounded at the
// logical DPI as Windows' dialog manager rounds it.
BOOL AfxCreateDialogFont(CFont* pFont, const char* pszFaceName, int nPointSize);
// The dialog font's base units, as Windows computes them: the average width of A-Z and a-z
// (rounded half up) and the font's height. The templates were laid out for the standard
// units, 6 x 12 at 96 DPI and scaled with the DPI; they serve instead when no font can be
// opened, or when the face at hand would make a dialog more than 5 % larger or smaller.
SIZE AfxGetDialogBaseUnits(const DLGTEMPLATE& dlgTemplate);
// A rectangle of x, y, width, height in dialog units, as left, top, right, bottom pixels.
RECT AfxMapDialogRect(int x, int y, int cx, int cy, SIZE sizeBase);
