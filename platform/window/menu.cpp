#include "platform/window/menu.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT nIDNewItem, const char* lpszNewItem) {
    if ((nFlags & MF_SEPARATOR) != 0) {
        m_items.push_back(Item{MF_SEPARATOR, 0, CString(), false});
        return TRUE;
    }
    if (lpszNewItem == nullptr) {
        return FALSE;
    }
    m_items.push_back(
        Item{MF_STRING | (nFlags & MF_CHECKED), nIDNewItem, CString(lpszNewItem), false});
    return TRUE;
}

UINT CMenu::GetMenuItemID(int nPos) const {
    if (nPos < 0 || nPos >= GetMenuItemCount()) {
        return static_cast<UINT>(-1);
    }
    return m_items[static_cast<size_t>(nPos)].nID;
}

CString CMenu::GetMenuString(int nPos) const {
    if (nPos < 0 || nPos >= GetMenuItemCount()) {
        return CString();
    }
    return m_items[static_cast<size_t>(nPos)].strText;
}

int CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    for (Item& item : m_items) {
        if (item.nFlags != MF_SEPARATOR && item.nID == nIDCheckItem) {
            const int nPrevious = static_cast<int>(item.nFlags & MF_CHECKED);
            item.nFlags = MF_STRING | (nCheck & MF_CHECKED);
            item.bCheckable = true;
            return nPrevious;
        }
    }
    return -1;
}
