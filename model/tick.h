// One tick of a run: the one order of events that the game's worker, the jump plan and the
// tests all play by, so that a "jump now" worked out ahead holds in the real run.
#pragma once

#include "model/jumper.h"
#include "platform/base/win_types.h"

// How a tick leaves the run.
enum class TickOutcome { kRunning, kGoal, kHit };

// Whether a body's centre has passed the far end at nGoal.
inline bool IsPastGoal(CSprite& body, int nGoal) {
    return body.GetPos().x > nGoal;
}

// Whether two bodies' rectangles share any area: half-open, so that bodies that only share
// an edge do not touch.
inline bool Overlaps(const RECT& a, const RECT& b) {
    RECT rcOverlap;
    return IntersectRect(&rcOverlap, &a, &b) != FALSE;
}

// A jump asked for before the tick begins on it; then the jumper steps; then the goal is
// tested before a hit, so that passing the far end wins over touching an obstacle in the
// same tick. fnHits(rcJumper) answers whether the jumper's rectangle touches an obstacle.
template <class FnHits>
TickOutcome PlayTick(CJumper& jumper, bool bJump, int nGoal, FnHits fnHits) {
    if (bJump) {
        jumper.Jump();
    }
    jumper.Advance();
    if (IsPastGoal(jumper, nGoal)) {
        return TickOutcome::kGoal;
    }
    return fnHits(jumper.GetRect()) ? TickOutcome::kHit : TickOutcome::kRunning;
}
