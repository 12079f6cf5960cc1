#include "model/jumper.h"

int RestingHeight(const RECT& rc) {
    return static_cast<int>((rc.bottom - rc.top) * CJumper::kRestingFactor);
}

void StandOnStartLine(CJumper& jumper) {
    jumper.Reset();
    jumper.SetY(RestingHeight(jumper.GetRect()));
}

void CJumper::Reset() {
    m_nJumpSpeed = kJumpSpeed;
    m_bJumping = FALSE;
    m_nTick = 0;
    Init();
}

void CJumper::Jump() {
    // The tick goes first: an Advance that sees the jump flag then also sees the restarted
    // count, so a jump is never begun from a stale tick.
    m_nTick = 0;
    m_bJumping = TRUE;
}

void CJumper::Advance() {
    m_nX += kRunPace;
    if (!m_bJumping) {
        return;
    }
    const int t = m_nTick;
    const double h = (m_nJumpSpeed * t) - static_cast<double>(t) * t * kPullDown;
    const int nY = static_cast<int>(h);
    m_nTick = t + 1;
    if (nY >= 0) {
        m_nY = nY;
        return;
    }
    // Landed: the body's height does not depend on its position, so the resting height is
    // known before the store, and a reader never sees the body below the ground line.
    m_nY = RestingHeight(GetRect());
    m_bJumping = FALSE;
}
