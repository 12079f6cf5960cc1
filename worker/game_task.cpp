#include "worker/game_task.h"

#include "model/jump_plan.h"
#include "platform/base/sound.h"
#include "worker/game_sounds.h"

void CGameTask::Run() {
    CGameField& field = *m_pField;
    CWnd* pOwner = GetOwner();

    field.ClearObstacles();
    field.PlaceObstacles(kObstaclesPerGame);
    field.ResetJumper();
    // When to say "jump now", worked out once the obstacles stand; cues may be turned on
    // during the run.
    const CJumpPlan plan(field);

    for (int nTick = 1;; ++nTick) {
        // A jump comes from the UI thread whenever the player asks, not at a tick.
        const TickOutcome outcome = field.Tick(false);
        const RECT rcBoard = field.m_rcBoard;
        pOwner->InvalidateRect(&rcBoard, FALSE);
        if (outcome == TickOutcome::kGoal) {
            SetStatus(CString(kGoalText));
            AfxPlaySound(kSoundGoal);
            break;
        }
        if (outcome == TickOutcome::kHit) {
            SetStatus(CString(kFailText));
            AfxPlaySound(kSoundFail);
            break;
        }
        if (m_bAudioCues) {
            AfxPlaySound(kSoundTick);
            if (plan.IsJumpTick(nTick + 1)) {
                AfxPlaySound(kSoundJumpNow);
            }
        }
        PauseUnlessAborted(kTickMs);
        CheckPoint();
    }

    // The outcome's status is already set, so this repaint shows it.
    const RECT rcBoard = field.m_rcBoard;
    pOwner->InvalidateRect(&rcBoard, TRUE);
    // Cut short by an abort, so that leaving or starting anew need not wait for it; the
    // title screen still follows.
    PauseUnlessAborted(kOutcomePauseMs);
    field.m_nMode = CFieldView::kModeTitle;
    pOwner->InvalidateRect(nullptr, TRUE);
}
