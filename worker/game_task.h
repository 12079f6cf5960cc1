// CGameTask: one game, played on the worker thread.
#pragma once

#include <atomic>

#include "render/game_field.h"
#include "worker/thread_task.h"

// Sets up the course, advances the jumper one tick at a time, asks the owner to repaint,
// decides the outcome and finally returns the field to the title screen. It never paints:
// it only marks parts of the owner window for the UI thread to repaint.
class CGameTask : public CDialogTask {
public:
    static constexpr int kObstaclesPerGame = 5;
    static constexpr DWORD kTickMs = 300;
    static constexpr DWORD kOutcomePauseMs = 2000;
    static constexpr const char* kGoalText = "GOAL!!";
    static constexpr const char* kFailText = "FAIL!!";

    CGameTask() = default;
    ~CGameTask() override { EndWorker(); }

    void Run() override;

    CGameField* m_pField = nullptr;  // set by the owner before the first Start
    // Whether the run sounds a tick on every tick and "jump now" where a jump must begin, for
    // a player who cannot see the board. Set by the owner at any time.
    std::atomic<BOOL> m_bAudioCues{FALSE};
};
