#include "render/world_map.h"

#include <cstdint>

namespace {

// from + (value - originFrom) * toSize / originSize, with the product taken wide enough that
// it cannot overflow; the division truncates toward zero as in C.
int Scale(int value, int nFrom, int nSize, int nScreenFrom, int nScreenSize) {
    const std::int64_t nProduct = (std::int64_t{value} - nFrom) * nScreenSize;
    return static_cast<int>(nScreenFrom + nProduct / nSize);
}

}  // namespace

int CWorldMap::ToScreenX(int wx) const {
    return Scale(wx, m_world.xFrom, m_world.Width(), m_screen.xFrom, m_screen.Width());
}

int CWorldMap::ToScreenY(int wy) const {
    return Scale(wy, m_world.yFrom, m_world.Height(), m_screen.yFrom, m_screen.Height());
}

void CFlipY::SetCentre(int x, int y) {
    m_ptCentre.x = x;
    m_ptCentre.y = y;
}

RECT CFlipY::Flip(RECT rc) const {
    const double cy = m_ptCentre.y;
    return RECT{rc.left, static_cast<LONG>(cy + (cy - rc.bottom)), rc.right,
                static_cast<LONG>(cy + (cy - rc.top))};
}
