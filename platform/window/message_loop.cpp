#include "platform/window/message_loop.h"

#include <algorithm>
#include <vector>

#include "platform/window/accessibility.h"
#include "platform/window/frame_trace.h"
#include "platform/window/messages.h"
#include "platform/window/screen_input.h"
#include "platform/window/top_windows.h"
#include "platform/window/wnd_system.h"

namespace {

// The milliseconds until the next timer is due, 0 when one is, or -1 when no timer runs: the
// timeout of the loop's wait.
int TimeToNextTimer() {
    const WndClock::time_point now = WndClock::now();
    int nTimeout = -1;
    for (CWnd* pWnd : AfxOpenWindows()) {
        for (const auto& entry : pWnd->System()->timers) {
            const auto until = std::chrono::ceil<std::chrono::milliseconds>(entry.second.due - now);
            const int nUntil = static_cast<int>(std::max<long long>(0, until.count()));
            nTimeout = nTimeout < 0 ? nUntil : std::min(nTimeout, nUntil);
        }
    }
    return nTimeout;
}

// Posts WM_TIMER for every timer that is due. A timer that fell behind fires once and starts
// afresh, as Windows' timers coalesce.
void PostDueTimers() {
    const WndClock::time_point now = WndClock::now();
    for (CWnd* pWnd : AfxOpenWindows()) {
        for (auto& [nIDEvent, timer] : pWnd->System()->timers) {
            if (timer.due <= now) {
                pWnd->PostMessage(WM_TIMER, nIDEvent, 0);
                timer.due += timer.period;
                if (timer.due <= now) {
                    timer.due = now + timer.period;
                }
            }
        }
    }
}

// The shorter of two waits, where -1 is a wait without end.
int Shorter(int nMs, int nOtherMs) {
    return nMs < 0 ? nOtherMs : (nOtherMs < 0 ? nMs : std::min(nMs, nOtherMs));
}

bool HasPending() {
    const std::vector<CWnd*>& windows = AfxOpenWindows();
    return std::any_of(windows.begin(), windows.end(), [](const CWnd* pWnd) {
        return pWnd->GetPostedCount() > 0 || pWnd->HasUpdate();
    });
}

// Posted messages first, then paints, for every window that is still there. Only what was
// posted before this pass is delivered in it, so that a message that posts itself again
// cannot keep the loop from the screen's events.
void DeliverPending() {
    const std::vector<CWnd*> windows = AfxOpenWindows();
    for (CWnd* pWnd : windows) {
        MSG msg;
        for (int n = pWnd->GetPostedCount();
             n > 0 && AfxIsWindowOpen(pWnd) && pWnd->TakePostedMessage(&msg); --n) {
            pWnd->SendMessage(msg.message, msg.wParam, msg.lParam);
        }
    }
    for (CWnd* pWnd : windows) {
        if (AfxIsWindowOpen(pWnd) && pWnd->HasUpdate()) {
            pWnd->SendMessage(WM_PAINT, 0, 0);
        }
    }
}

}  // namespace

void AfxPumpMessages(BOOL bWait) {
    // The display is asked once a pass, by the gathering; the rest of the pass takes what
    // that brought. Every question to the display is a system call.
    const CFrameTracePass pass;
    // The drivers with input of their own say what the wait watches for them.
    CAccessibilityDriver& accessibility = AfxAccessibility();
    CWaitList waits;
    const int nDriverTimeout = accessibility.PrepareWait(&waits);
    AfxScreen().Gather(bWait && !HasPending() ? Shorter(TimeToNextTimer(), nDriverTimeout) : 0,
                       &waits);
    accessibility.AfterWait(waits);
    ScreenEvent event;
    while (AfxScreen().NextEvent(&event)) {
        AfxDispatchScreenEvent(event);
    }
    PostDueTimers();
    DeliverPending();
}

UINT CWnd::SetTimer(UINT nIDEvent, UINT nElapse, void* /*lpfnTimer*/) {
    if (m_pSystem == nullptr || nElapse == 0) {
        return 0;
    }
    const std::chrono::milliseconds period(nElapse);
    m_pSystem->timers[nIDEvent] = WndTimer{period, WndClock::now() + period};
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT nIDEvent) {
    if (m_pSystem == nullptr) {
        return FALSE;
    }
    return m_pSystem->timers.erase(nIDEvent) != 0;
}
