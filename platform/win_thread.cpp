#include "platform/win_thread.h"

#include <chrono>

namespace {

std::atomic<double> g_dSleepScale{1.0};

}  // namespace

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, std::function<void()> fnEnded)
    : m_thread([this, pfnThreadProc, pParam, fnEnded = std::move(fnEnded)] {
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
    const double dMicroseconds = dwMilliseconds * 1000.0 * g_dSleepScale.load();
    std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long long>(dMicroseconds)));
}

void AfxSetSleepScaleForTesting(double dScale) {
    g_dSleepScale.store(dScale);
}
