// A game field, its owner window and a game task, wired as the main dialog wires them.
#pragma once

#include <atomic>

#include "recording_window.h"
#include "render/game_field.h"
#include "tests/support/board_setup.h"
#include "worker/game_task.h"

namespace testing_game {

constexpr RECT kClient{0, 0, 560, 330};
constexpr RECT kBoard{10, 10, 510, 210};
constexpr int kGoal = 500;

// A game task whose abort state and hook count the tests can see.
class CProbeGameTask : public CGameTask {
public:
    ~CProbeGameTask() override { EndWorker(); }
    void OnAbort() override { ++m_nAborts; }
    BOOL IsAbortPending() const { return m_bAbort; }
    std::atomic<int> m_nAborts{0};
};

class CGameHarness {
public:
    CGameHarness() : m_wnd(RECT{100, 100, 100 + kClient.right, 100 + kClient.bottom}) {
        m_task.SetOwner(&m_wnd);
        m_task.m_pField = &m_field;
        testing_board::SetUpBoard(m_field, kBoard);
        m_field.m_nGoal = kGoal;
    }

    // The Start area: the playing screen, then the game.
    void StartFromTitle() {
        m_field.m_nMode = CFieldView::kModePlaying;
        m_task.Start();
    }

    // Declared in the order the dialog holds them, so the task goes first.
    testing_window::CRecordingWnd m_wnd;
    CGameField m_field;
    CProbeGameTask m_task;
};

}  // namespace testing_game
