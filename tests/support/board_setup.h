// A field's board and mapping, set as the main dialog sets them from its board rectangle.
#pragma once

#include "render/game_field.h"

namespace testing_board {

constexpr int kWorldWidth = 500;
constexpr int kWorldHeight = 100;

inline void SetUpBoard(CGameField& field, const RECT& rcBoard) {
    field.SetBoardRect(rcBoard);
    field.m_world.xFrom = 0;
    field.m_world.xTo = kWorldWidth;
    field.m_world.yFrom = 0;
    field.m_world.yTo = kWorldHeight;
    field.m_screen.xFrom = rcBoard.left;
    field.m_screen.xTo = rcBoard.right;
    field.m_screen.yFrom = rcBoard.top;
    field.m_screen.yTo = rcBoard.bottom;
}

}  // namespace testing_board
