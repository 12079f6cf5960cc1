// CJumper: the player's body, running right at a fixed pace and jumping on request.
#pragma once

#include <atomic>

#include "model/sprite.h"

// One call of Advance is one tick. Advance runs on the worker while Jump comes from the UI
// thread at any moment; both work on single atomic words, so a Jump that collides with an
// Advance either takes effect or is lost, and never leaves a torn state.
class CJumper : public CSprite {
public:
    static constexpr int kRunPace = 10;            // world units of x per tick
    static constexpr int kJumpSpeed = 20;          // initial upward speed, units per tick
    static constexpr double kPullDown = 4.9;       // the arc's pull-down coefficient
    static constexpr double kRestingFactor = 0.5;  // centre height = this times body height

    CJumper() { Reset(); }
    ~CJumper() override = default;

    void Reset();
    void Jump();
    void Advance();

    BOOL IsJumping() const { return m_bJumping; }
    int GetTick() const { return m_nTick; }

protected:
    std::atomic<BOOL> m_bJumping{FALSE};
    std::atomic<int> m_nTick{0};
    std::atomic<int> m_nJumpSpeed{kJumpSpeed};
};

// The height at which a body of the given rectangle stands on the ground line.
int RestingHeight(const RECT& rc);
// Resets the jumper and stands it on the ground at the start line.
void StandOnStartLine(CJumper& jumper);
