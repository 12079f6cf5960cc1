// CMenu: a window's system menu, which the platform draws and tracks itself.
#pragma once

#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_SEPARATOR = 0x0800;

class CMenu {
public:
    // An entry: a separator, or a text with an optional '&' mnemonic and, after a tab, the
    // name of its shortcut key, which MF_CHECKED shows with a check mark.
    struct Item {
        UINT nFlags;
        UINT nID;
        CString strText;
        // An entry that CheckMenuItem has checked or unchecked is an option, on or off.
        bool bCheckable = false;
    };

    BOOL AppendMenu(UINT nFlags, UINT nIDNewItem = 0, const char* lpszNewItem = nullptr);
    int GetMenuItemCount() const { return static_cast<int>(m_items.size()); }
    UINT GetMenuItemID(int nPos) const;  // 0 for a separator, -1 outside the menu
    CString GetMenuString(int nPos) const;
    // Checks (MF_CHECKED) or unchecks (MF_UNCHECKED) the entry with the command nIDCheckItem,
    // which is an option from then on; answers its previous state, or -1 when there is no
    // such entry.
    int CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    const std::vector<Item>& Items() const { return m_items; }

private:
    std::vector<Item> m_items;
};
