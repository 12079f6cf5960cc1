// The application's resources of one kind: handed to the platform once, looked up by ID.
#pragma once

#include <mutex>

#include "platform/base/ui_language.h"
#include "platform/base/win_types.h"

// Entries are either resources, with an nID and a wLanguage, or pointers to such resources.
template <class T>
const T& ResourceOf(const T& entry) {
    return entry;
}
template <class T>
const T& ResourceOf(const T* pEntry) {
    return *pEntry;
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
            if (ResourceOf(m_pEntries[i]).nID == nID) {
                return &m_pEntries[i];
            }
        }
        return nullptr;
    }

    // The entry with that ID for a user who reads langUser, as Windows picks a resource's
    // language: the one in that language; for a user with a language, else one in English;
    // else the first. Null when there is none.
    const Entry* FindForLanguage(UINT nID, LANGID langUser) const {
        std::lock_guard<std::mutex> lock(m_mutex);
        const Entry* pFirst = nullptr;
        const Entry* pEnglish = nullptr;
        for (int i = 0; i < m_nEntries; ++i) {
            const Entry& entry = m_pEntries[i];
            if (ResourceOf(entry).nID != nID) {
                continue;
            }
            const LANGID primary = PRIMARYLANGID(ResourceOf(entry).wLanguage);
            if (langUser != LANG_NEUTRAL && primary == PRIMARYLANGID(langUser)) {
                return &entry;
            }
            pFirst = pFirst != nullptr ? pFirst : &entry;
            pEnglish = primary == LANG_ENGLISH && pEnglish == nullptr ? &entry : pEnglish;
        }
        return langUser != LANG_NEUTRAL && pEnglish != nullptr ? pEnglish : pFirst;
    }

private:
    mutable std::mutex m_mutex;
    const Entry* m_pEntries = nullptr;
    int m_nEntries = 0;
};
