// CCriticalSection and CSingleLock: a recursive mutex and its scoped locker.
#pragma once

#include <mutex>

#include "platform/base/win_types.h"

class CSyncObject {
public:
    virtual ~CSyncObject() = default;
    virtual BOOL Lock() = 0;
    virtual BOOL Unlock() = 0;
};

class CCriticalSection : public CSyncObject {
public:
    CCriticalSection() = default;
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    BOOL Lock() override {
        m_mutex.lock();
        return TRUE;
    }
    BOOL Unlock() override {
        m_mutex.unlock();
        return TRUE;
    }

private:
    // Win32 critical sections may be re-entered by the thread that holds them.
    std::recursive_mutex m_mutex;
};

// Releases its object on every way out of the scope, exceptions included.
class CSingleLock {
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE) : m_pObject(pObject) {
        if (bInitialLock) {
            Lock();
        }
    }
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock() {
        if (m_pObject == nullptr || m_bAcquired) {
            return FALSE;
        }
        m_bAcquired = m_pObject->Lock();
        return m_bAcquired;
    }
    BOOL Unlock() {
        if (m_pObject == nullptr || !m_bAcquired) {
            return FALSE;
        }
        m_bAcquired = FALSE;
        return m_pObject->Unlock();
    }
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CSyncObject* m_pObject;
    BOOL m_bAcquired = FALSE;
};
