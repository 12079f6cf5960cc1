// Mapping world coordinates (y up) onto the board on screen (y down).
#pragma once

#include "platform/base/win_types.h"

// Two ranges, one per axis. A range counts only by its size, whichever end is greater.
class CExtent {
public:
    virtual ~CExtent() = default;
    int Width() const { return xFrom < xTo ? xTo - xFrom : xFrom - xTo; }
    int Height() const { return yFrom < yTo ? yTo - yFrom : yFrom - yTo; }

    int yFrom = 0;
    int yTo = 0;
    int xFrom = 0;
    int xTo = 0;
};

// Scales world coordinates onto the screen axis by axis, keeping the direction of y: world
// y = yFrom lands on the screen's yFrom. The product comes before the division, and the
// division truncates toward zero.
class CWorldMap {
public:
    virtual ~CWorldMap() = default;
    int ToScreenX(int wx) const;
    int ToScreenY(int wy) const;

    CExtent m_world;
    CExtent m_screen;
};

class CDoublePoint {
public:
    virtual ~CDoublePoint() = default;
    double x = 0.0;
    double y = 0.0;
};

// Mirrors rectangles about a horizontal line, so that world y = 0 ends on the board's
// bottom edge.
class CFlipY {
public:
    virtual ~CFlipY() = default;
    void SetCentre(int x, int y);
    RECT Flip(RECT rc) const;

    CDoublePoint m_ptCentre;
};
