// The application's resources of one kind: handed to the platform once, looked up by ID.
#pragma once

#include <mutex>

#include "platform/base/win_types.h"

// Entries are either resources with an nID, or pointers to such resources.
template <class T>
UINT ResourceIdOf(const T& entry) {
    return entry.nID;
}
template <class T>
UINT ResourceIdOf(const T* pEntry) {
    return pEntry->nID;
}

template <class Entry>
class CResourceTable {
public:
    void Set(const Entry* pEntries, int nCount) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pEntries = pEntries;
        m_nEntries = pEntries != nullptr ? nCount : 0;
    }

    // The entry with that ID, or null.
    const Entry* Find(UINT nID) const {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (int i = 0; i < m_nEntries; ++i) {
            if (ResourceIdOf(m_pEntries[i]) == nID) {
                return &m_pEntries[i];
            }
        }
        return nullptr;
    }

private:
    mutable std::mutex m_mutex;
    const Entry* m_pEntries = nullptr;
    int m_nEntries = 0;
};
