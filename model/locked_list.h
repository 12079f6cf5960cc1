// CLockedList: an owning list of heap objects that two threads may share.
#pragma once

#include <memory>

#include "platform/base/critical_section.h"
#include "platform/base/plex_list.h"

// Every structural operation holds the list's critical section for its own length. The list
// owns its elements: RemoveAll deletes them, newest first. The destructor releases the nodes
// but deletes no element, so owners call RemoveAll before they let the list go.
template <class T>
class CLockedList {
public:
    CLockedList() = default;
    virtual ~CLockedList() = default;
    CLockedList(const CLockedList&) = delete;
    CLockedList& operator=(const CLockedList&) = delete;

    // Creates a default T at the tail and returns it.
    T* AddNew() {
        CSingleLock lock(&m_cs, TRUE);
        auto pNew = std::make_unique<T>();
        m_list.AddTail(pNew.get());
        return pNew.release();
    }

    // The element at nIndex, or null outside 0 ... count - 1. The element stays valid only
    // until the next RemoveAll, which another thread may run at any time.
    T* GetAt(int nIndex) {
        CSingleLock lock(&m_cs, TRUE);
        const POSITION pos = m_list.FindIndex(nIndex);
        return pos != nullptr ? m_list.GetAt(pos) : nullptr;
    }

    // Calls fn with the element at nIndex while the lock is held, so that the element cannot
    // be deleted under fn. Answers FALSE, without calling fn, when there is no such element.
    template <class Fn>
    BOOL ReadAt(int nIndex, Fn fn) {
        CSingleLock lock(&m_cs, TRUE);
        const POSITION pos = m_list.FindIndex(nIndex);
        if (pos == nullptr) {
            return FALSE;
        }
        fn(*m_list.GetAt(pos));
        return TRUE;
    }

    // Read without the lock; another thread may change the count right after.
    int GetCount() const { return m_list.GetCount(); }

    void RemoveAll() {
        CSingleLock lock(&m_cs, TRUE);
        while (m_list.GetCount() > 0) {
            delete m_list.RemoveTail();
        }
    }

    // How many node blocks the list holds.
    int GetBlockCount() {
        CSingleLock lock(&m_cs, TRUE);
        return m_list.GetBlockCount();
    }

private:
    CCriticalSection m_cs;
    CList<T*, T*> m_list;
};
