// CGameField: the one field object that the dialog shows and the game plays on.
#pragma once

#include "model/obstacle_course.h"
#include "render/field_view.h"
#include "render/world_map.h"

// The view's screen state, the world-to-screen mapping and the rules of a run, in one object.
class CGameField : public CFieldView, public CWorldMap, public CObstacleCourse {
public:
    CGameField() = default;
    ~CGameField() override = default;

    // Maps a world rectangle onto the board, ready to draw.
    RECT ToScreenRect(RECT rcWorld, const CFlipY& flip) const;

    // The title screen, or the running game with its status text.
    void Draw(CDC* pDC, CString strStatus) override;
    void DrawObstacles(CDC* pDC);
    void DrawJumper(CDC* pDC);

private:
    // A flip about the board's horizontal centre line.
    CFlipY BoardFlip() const;
};
