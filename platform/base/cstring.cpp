#include "platform/base/cstring.h"

#include "platform/base/resource_table.h"

namespace {

CResourceTable<STRINGRESOURCE> g_strings;

}  // namespace

void AfxSetStringTable(const STRINGRESOURCE* pTable, int nCount) {
    g_strings.Set(pTable, nCount);
}

BOOL CString::LoadString(UINT nID) {
    const STRINGRESOURCE* pString = g_strings.FindForLanguage(nID, GetUserDefaultUILanguage());
    if (pString == nullptr || pString->pszText == nullptr) {
        return FALSE;
    }
    m_str = pString->pszText;
    return TRUE;
}
