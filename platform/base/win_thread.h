// CWinThread and AfxBeginThread over std::thread, and Sleep.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/base/win_types.h"

using AFX_THREADPROC = UINT (*)(LPVOID);

constexpr int THREAD_PRIORITY_NORMAL = 0;

// A running worker thread. Unlike MFC's, the object is never deleted by the thread itself:
// whoever begins a thread owns it, and deleting it waits for the thread to end, so nothing
// that the thread uses can be destroyed under it.
class CWinThread {
public:
    // fnEnded, if given, runs on the thread once the procedure has returned and the thread
    // counts as ended.
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, std::function<void()> fnEnded);
    ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Whether the thread procedure has returned.
    BOOL HasEnded() const { return m_bEnded.load(); }
    // Blocks until the thread procedure has returned. Must not be called by the thread itself.
    void Join();

private:
    std::atomic<BOOL> m_bEnded{FALSE};
    std::thread m_thread;
};

// Begins pfnThreadProc(pParam) on a new thread at once. The priority and stack size are
// accepted for the callers' sake; every thread runs at the normal priority with the default
// stack. fnEnded is as for CWinThread.
std::unique_ptr<CWinThread> AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                                           int nPriority = THREAD_PRIORITY_NORMAL,
                                           UINT nStackSize = 0, std::function<void()> fnEnded = {});

// Pauses the calling thread for at least dwMilliseconds, times the test scale.
void Sleep(DWORD dwMilliseconds);

// A manual-reset event, as Win32's: once set, it stays set until it is reset. Any thread.
class CEvent {
public:
    void SetEvent();
    void ResetEvent();
    // Waits until the event is set or dwMilliseconds, times the test scale, have passed.
    // Answers whether it is set.
    BOOL Lock(DWORD dwMilliseconds);

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bSet = false;
};

// Tests speed the game's pauses up with this; the product never calls it. A scale of 0.01
// turns a 300 ms pause into 3 ms.
void AfxSetSleepScaleForTesting(double dScale);
