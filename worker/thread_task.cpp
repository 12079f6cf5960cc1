#include "worker/thread_task.h"

CThreadTask::CThreadTask() {
    Reset();
}

CThreadTask::~CThreadTask() {
    EndWorker();
}

void CThreadTask::Reset() {
    m_pThread.reset();  // joins a worker that has ended but not yet been waited for
    m_bPaused = FALSE;
    m_bRunning = FALSE;
    m_bAbort = FALSE;
    m_evAbort.ResetEvent();
    m_bWaiting = FALSE;
    m_strStatus = "";
    m_strPrompt = "";
}

void CThreadTask::Start() {
    if (IsBusy()) {
        return;
    }
    Reset();
    CWnd* pOwner = m_pOwner;
    m_pThread = AfxBeginThread(ThreadProc, this, THREAD_PRIORITY_NORMAL, 0, [pOwner] {
        if (pOwner != nullptr) {
            pOwner->PostMessage(WM_TASKENDED, 0, 0);
        }
    });
}

void CThreadTask::Abort() {
    m_bAbort = TRUE;
    m_evAbort.SetEvent();
}

void CThreadTask::PauseUnlessAborted(DWORD nMilliseconds) {
    m_evAbort.Lock(nMilliseconds);
}

UINT CThreadTask::ThreadProc(LPVOID pParam) {
    auto* pTask = static_cast<CThreadTask*>(pParam);
    pTask->m_bRunning = TRUE;
    try {
        pTask->Run();
    } catch (...) {
        // The abort signal ends up here, as does anything else that leaves Run.
    }
    pTask->m_bRunning = FALSE;
    return 0;
}

// The worker owns no window, so unlike on Windows there is no message queue to drain here.
void CThreadTask::CheckPoint() {
    while (m_bPaused) {
        HoldCycle();
    }
    while (m_bWaiting) {
        HoldCycle();
    }
    if (m_bAbort) {
        AbortExit();
    }
}

void CThreadTask::HoldCycle() {
    Sleep(kHoldPollMs);
    if (m_bAbort) {
        AbortExit();
    }
}

void CThreadTask::AbortExit() {
    OnAbort();
    m_bAbort = FALSE;
    m_evAbort.ResetEvent();
    throw kAbortSignal;
}

void CThreadTask::SetStatus(UINT nID) {
    CString strStatus;
    strStatus.LoadString(nID);
    SetStatus(strStatus);
}

void CThreadTask::SetStatus(CString strStatus) {
    {
        CSingleLock lock(&m_csStatus, TRUE);
        m_strStatus = strStatus;
    }
    if (m_pOwner != nullptr) {
        m_pOwner->PostMessage(WM_TASKSTATUS, 0, 0);
    }
}

CString CThreadTask::GetStatus() {
    CSingleLock lock(&m_csStatus, TRUE);
    return m_strStatus;
}

void CThreadTask::SetPrompt(CString strPrompt) {
    CSingleLock lock(&m_csPrompt, TRUE);
    m_strPrompt = strPrompt;
}

void CThreadTask::Prompt(UINT nID) {
    CString strPrompt;
    strPrompt.LoadString(nID);
    Prompt(strPrompt);
}

void CThreadTask::Prompt(CString strPrompt) {
    SetPrompt(strPrompt);
    m_bWaiting = TRUE;
    OnPrompt();
    CheckPoint();
}

BOOL CThreadTask::IsBusy() const {
    return m_pThread != nullptr && !m_pThread->HasEnded();
}

void CThreadTask::Wait() {
    if (m_pThread != nullptr) {
        m_pThread->Join();
    }
}

void CThreadTask::EndWorker() {
    Abort();
    Wait();
}

CDialogTask::CDialogTask() {
    m_listRunIDs.RemoveAll();
    m_listIdleIDs.RemoveAll();
}

CDialogTask::~CDialogTask() {
    EndWorker();
    m_listRunIDs.RemoveAll();
    m_listIdleIDs.RemoveAll();
}

void CDialogTask::UpdateControls() {
    const BOOL bRunning = m_bRunning;
    EnableListed(m_listRunIDs, bRunning == TRUE);
    EnableListed(m_listIdleIDs, bRunning == FALSE);
}

void CDialogTask::EnableListed(CLockedList<int>& list, BOOL bEnable) {
    for (int i = 0; i < list.GetCount(); ++i) {
        const int* pID = list.GetAt(i);
        CWnd* pControl = pID != nullptr ? m_pOwner->GetDlgItem(*pID) : nullptr;
        if (pControl != nullptr) {
            pControl->EnableWindow(bEnable);
        }
    }
}
