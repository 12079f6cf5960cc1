#include "render/game_field.h"

RECT CGameField::ToScreenRect(RECT rcWorld, const CFlipY& flip) const {
    const RECT rcScaled{ToScreenX(rcWorld.left), ToScreenY(rcWorld.top), ToScreenX(rcWorld.right),
                        ToScreenY(rcWorld.bottom)};
    return flip.Flip(rcScaled);
}
