// The real main dialog, with its state open to the tests.
#pragma once

#include <functional>
#include <map>
#include <utility>

#include "app/game_dlg.h"

namespace testing_shell {

// The real main dialog, with a record of what reaches the window's default processing, and
// a way to run test code inside a nested modal loop: PostAction queues fn, which runs when a
// message loop (any message loop) delivers it and it is ready.
class CTestGameDlg : public CGameDlg {
public:
    ~CTestGameDlg() override = default;

    CGameField& Field() { return m_field; }
    CGameTask& Task() { return m_task; }
    HICON Icon() const { return m_hIcon; }
    bool IsStartPending() const { return m_pendingStart != PendingStart::kNone; }

    BOOL IsIconic() const override { return m_bIconic || CGameDlg::IsIconic(); }
    BOOL m_bIconic = FALSE;

    std::map<UINT, int> m_defaults;
    // Runs once, inside the next WM_PAINT's default processing.
    std::function<void()> m_fnDuringDefaultPaint;

    // fn runs once fnReady holds, checked each time a message loop delivers posted messages.
    void PostAction(std::function<bool()> fnReady, std::function<void()> fn) {
        m_fnReady = std::move(fnReady);
        m_fnAction = std::move(fn);
        PostMessage(kActionMessage, 0, 0);
    }

protected:
    static constexpr UINT kActionMessage = WM_APP + 0x40;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kActionMessage && m_fnAction) {
            if (!m_fnReady()) {
                PostMessage(kActionMessage, 0, 0);
                return 0;
            }
            auto fn = std::move(m_fnAction);
            m_fnAction = nullptr;
            fn();
            return 0;
        }
        return CGameDlg::WindowProc(message, wParam, lParam);
    }

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        ++m_defaults[message];
        if (message == WM_PAINT && m_fnDuringDefaultPaint) {
            std::exchange(m_fnDuringDefaultPaint, nullptr)();
        }
        return CGameDlg::DefWindowProc(message, wParam, lParam);
    }

private:
    std::function<bool()> m_fnReady;
    std::function<void()> m_fnAction;
};

}  // namespace testing_shell
