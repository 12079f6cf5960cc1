// Laying the game field out from the main dialog's template: the board, the title and the
// drawn buttons where the template's hidden controls stand, and the world the board shows.
#pragma once

#include "platform/window/wnd.h"
#include "render/game_field.h"

// The window rectangle of the dialog's control nID in the dialog's client coordinates;
// empty when there is no such control.
CRect GetControlRect(CWnd* pDialog, int nID);

// Sets pField's world and screen extents, goal, board, title and buttons from pDialog's
// controls, and its title text.
void LayOutField(CWnd* pDialog, CGameField* pField);
