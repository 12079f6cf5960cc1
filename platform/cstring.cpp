#include "platform/cstring.h"

#include <mutex>

namespace {

std::mutex g_mutexStrings;
const STRINGRESOURCE* g_pStrings = nullptr;
int g_nStrings = 0;

}  // namespace

void AfxSetStringTable(const STRINGRESOURCE* pTable, int nCount) {
    std::lock_guard<std::mutex> lock(g_mutexStrings);
    g_pStrings = pTable;
    g_nStrings = pTable != nullptr ? nCount : 0;
}

BOOL CString::LoadString(UINT nID) {
    std::lock_guard<std::mutex> lock(g_mutexStrings);
    for (int i = 0; i < g_nStrings; ++i) {
        if (g_pStrings[i].nID == nID && g_pStrings[i].pszText != nullptr) {
            m_str = g_pStrings[i].pszText;
            return TRUE;
        }
    }
    return FALSE;
}
