// A window that records every repaint request it receives, in order.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/window/wnd.h"

namespace testing_window {

struct Repaint {
    RECT rc;
    BOOL bErase;
    std::chrono::steady_clock::time_point when;
};

// Each invalidation wakes the window; the wake hook takes the pending area at once, so that
// every request is seen on its own. fnOnRepaint runs on the invalidating thread. Posted
// messages stay queued, which keeps the window from being woken for later ones.
class CRecordingWnd : public CWnd {
public:
    explicit CRecordingWnd(const RECT& rcClient) {
        CreateTopLevel(0, rcClient);
        SetWakeHook([this] { Record(); });
    }

    void SetOnRepaint(std::function<void(const Repaint&)> fn) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_fnOnRepaint = std::move(fn);
    }

    std::vector<Repaint> Repaints() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_repaints;
    }

    // Blocks until at least n repaints have been recorded.
    void WaitForRepaints(size_t n) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [this, n] { return m_repaints.size() >= n; });
    }

private:
    void Record() {
        Repaint repaint{};
        if (!TakeUpdate(&repaint.rc, &repaint.bErase)) {
            return;  // a posted message, not a repaint
        }
        repaint.when = std::chrono::steady_clock::now();
        std::function<void(const Repaint&)> fn;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_repaints.push_back(repaint);
            fn = m_fnOnRepaint;
        }
        m_cv.notify_all();
        if (fn) {
            fn(repaint);
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<Repaint> m_repaints;
    std::function<void(const Repaint&)> m_fnOnRepaint;
};

}  // namespace testing_window
