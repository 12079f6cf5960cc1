#include "platform/base/win_thread.h"

#include <pthread.h>

#include <chrono>

namespace {

// How a worker shows in the thread lists of debuggers and of top: 15 characters at most.
constexpr const char* kWorkerThreadName = "hoplin-worker";

std::atomic<double> g_dSleepScale{1.0};

std::chrono::microseconds ScaledPause(DWORD dwMilliseconds) {
    const double dMicroseconds = dwMilliseconds * 1000.0 * g_dSleepScale.load();
    return std::chrono::microseconds(static_cast<long long>(dMicroseconds));
}

}  // namespace

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, std::function<void()> fnEnded)
    : m_thread([this, pfnThreadProc, pParam, fnEnded = std::move(fnEnded)] {
          pthread_setname_np(pthread_self(), kWorkerThreadName);
          pfnThreadProc(pParam);
          m_bEnded.store(TRUE);
          if (fnEnded) {
              fnEnded();
          }
      }) {}

CWinThread::~CWinThread() {
    Join();
}

void CWinThread::Join() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

std::unique_ptr<CWinThread> AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                                           int /*nPriority*/, UINT /*nStackSize*/,
                                           std::function<void()> fnEnded) {
    return std::make_unique<CWinThread>(pfnThreadProc, pParam, std::move(fnEnded));
}

void Sleep(DWORD dwMilliseconds) {
    std::this_thread::sleep_for(ScaledPause(dwMilliseconds));
}

void CEvent::SetEvent() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bSet = true;
    }
    m_cv.notify_all();
}

void CEvent::ResetEvent() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bSet = false;
}

BOOL CEvent::Lock(DWORD dwMilliseconds) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cv.wait_for(lock, ScaledPause(dwMilliseconds), [this] { return m_bSet; });
}

void AfxSetSleepScaleForTesting(double dScale) {
    g_dSleepScale.store(dScale);
}
