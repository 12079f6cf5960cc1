// CThreadTask and CDialogTask: long work on a worker thread on behalf of a window.
#pragma once

#include <atomic>
#include <memory>

#include "model/locked_list.h"
#include "platform/base/critical_section.h"
#include "platform/base/cstring.h"
#include "platform/base/win_thread.h"
#include "platform/window/messages.h"
#include "platform/window/wnd.h"

// Posted to a task's owner when its worker has ended; wParam is 0.
constexpr UINT WM_TASKENDED = WM_APP + 1;
// Posted to a task's owner when its worker has set a new status text; wParam is 0.
constexpr UINT WM_TASKSTATUS = WM_APP + 2;

// The work is the virtual Run of a derived class, which calls CheckPoint wherever it may be
// held or stopped. The owner's thread starts it, asks for its end with Abort, and reads the
// status text that the work publishes.
//
// There is never more than one worker on a task: Start does nothing while the previous
// worker has not ended. When a worker has ended, the owner window receives WM_TASKENDED, so
// that it can begin a Start it had to hold back. A task's destructor requests the abort and
// waits for the worker. Because the worker makes virtual calls into the task, every class
// that overrides Run calls EndWorker() in its own destructor, while the whole object still
// exists.
class CThreadTask {
public:
    // Thrown at a check point to leave Run when an abort was requested.
    static constexpr int kAbortSignal = -1;
    // How often a held worker looks at its flags.
    static constexpr DWORD kHoldPollMs = 10;

    CThreadTask();
    virtual ~CThreadTask();
    CThreadTask(const CThreadTask&) = delete;
    CThreadTask& operator=(const CThreadTask&) = delete;

    // Clears the flags and the texts. Only while no worker exists.
    void Reset();
    // Resets the task and begins a worker, unless one is still busy.
    void Start();
    // Asks the worker to leave at its next check point, and cuts short a pause it is in.
    // Any thread.
    void Abort();
    static UINT ThreadProc(LPVOID pParam);

    virtual void CheckPoint();
    virtual void Run() = 0;
    virtual void OnPrompt() {}
    virtual void OnAbort() {}
    virtual void SetStatus(UINT nID);
    virtual void SetStatus(CString strStatus);
    virtual void Prompt(UINT nID);
    virtual void Prompt(CString strPrompt);

    CString GetStatus();
    void SetPrompt(CString strPrompt);
    void SetOwner(CWnd* pOwner) { m_pOwner = pOwner; }
    CWnd* GetOwner() const { return m_pOwner; }

    // Whether a worker exists that has not yet ended, whatever m_bRunning says.
    BOOL IsBusy() const;
    // Blocks until the worker, if any, has ended.
    void Wait();

protected:
    // Requests the abort and waits for the worker. See the class comment.
    void EndWorker();
    // Pauses the worker for nMilliseconds, or less when an abort is requested; the request
    // stays pending for the next check point.
    void PauseUnlessAborted(DWORD nMilliseconds);

    std::atomic<BOOL> m_bPaused{FALSE};
    std::atomic<BOOL> m_bAbort{FALSE};
    // Set with m_bAbort, so that a pause ends as soon as an abort is requested.
    CEvent m_evAbort;
    std::unique_ptr<CWinThread> m_pThread;
    std::atomic<BOOL> m_bRunning{FALSE};
    std::atomic<BOOL> m_bWaiting{FALSE};
    CCriticalSection m_csStatus;
    CString m_strStatus;
    CCriticalSection m_csPrompt;
    CString m_strPrompt;
    CWnd* m_pOwner = nullptr;

private:
    // One cycle of a hold: pause, then leave if an abort was requested.
    void HoldCycle();
    [[noreturn]] void AbortExit();
};

// A task bound to a dialog, which enables the dialog's listed controls by whether the work
// runs.
class CDialogTask : public CThreadTask {
public:
    CDialogTask();
    ~CDialogTask() override;

    void Run() override {}
    virtual void UpdateControls();

    CLockedList<int> m_listRunIDs;   // enabled while the work runs
    CLockedList<int> m_listIdleIDs;  // enabled while it does not

private:
    void EnableListed(CLockedList<int>& list, BOOL bEnable);
};
