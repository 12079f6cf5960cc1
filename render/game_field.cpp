#include "render/game_field.h"

#include "render/colours.h"
#include "render/rect_painter.h"

RECT CGameField::ToScreenRect(RECT rcWorld, const CFlipY& flip) const {
    const RECT rcScaled{ToScreenX(rcWorld.left), ToScreenY(rcWorld.top), ToScreenX(rcWorld.right),
                        ToScreenY(rcWorld.bottom)};
    return flip.Flip(rcScaled);
}

void CGameField::Draw(CDC* pDC, CString strStatus) {
    FillBoard(pDC, colours::kBlack);
    if (m_nMode == kModeTitle) {
        DrawTitle(pDC);
        DrawMenuButtons(pDC, kButtonPointSize);
    } else {
        DrawObstacles(pDC);
        DrawJumper(pDC);
        DrawStatusLabel(pDC, strStatus, kStatusPointSize, colours::kWhite);
        DrawStopButton(pDC);
    }
}

CFlipY CGameField::BoardFlip() const {
    CFlipY flip;
    flip.SetCentre((m_rcBoard.left + m_rcBoard.right) / 2, (m_rcBoard.top + m_rcBoard.bottom) / 2);
    return flip;
}

void CGameField::DrawObstacles(CDC* pDC) {
    CRectPainter painter(pDC);
    const CFlipY flip = BoardFlip();
    // An obstacle that the worker removes meanwhile yields an empty rectangle and no shape.
    const int nCount = GetObstacleCount();
    for (int i = 0; i < nCount; ++i) {
        painter.FillRect(ToScreenRect(GetObstacleRect(i), flip), colours::kRed, colours::kGrey);
    }
}

void CGameField::DrawJumper(CDC* pDC) {
    CRectPainter painter(pDC);
    painter.FillRect(ToScreenRect(GetJumperRect(), BoardFlip()), colours::kRed, colours::kRed);
}
