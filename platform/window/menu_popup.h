// The system menu while it is open: drawn by the platform over its window and worked with
// the mouse and the keyboard. Platform code only, UI thread only.
#pragma once

#include <vector>

#include "platform/gdi/dc.h"
#include "platform/window/accessibility.h"
#include "platform/window/menu.h"
#include "platform/window/wnd.h"

class CMenuPopup {
public:
    // What an input event did to the menu.
    enum class Outcome { kStayOpen, kClose, kChoose };

    CMenuPopup(CWnd* pOwner, const CMenu& menu, POINT ptClient, const char* pszFace,
               int nPointSize);

    // Draws the menu with dc, a context on the owner's pixels; answers the rectangle it covers.
    RECT Draw(CDC& dc) const;
    const RECT& GetRect() const { return m_rcMenu; }
    UINT GetChosenID() const { return m_nChosenID; }
    // The highlighted entry, -1 for none; and the entries as a screen reader reads them.
    int GetHighlight() const { return m_nHover; }
    std::vector<AccessibleMenuItem> AccessibleItems() const;

    Outcome OnMouseMove(POINT pt);
    Outcome OnButtonDown(POINT pt);
    Outcome OnButtonUp(POINT pt);
    Outcome OnKey(UINT nKey);

private:
    // The text and spacing of the menu's entries, at the menu's font.
    struct Metrics {
        int nLine;  // the font's height
        int nItemHeight;
        int nPadding;
        int nSeparatorHeight;
    };

    struct Entry {
        CMenu::Item item;
        RECT rc;
        CString strLabel;     // before the tab
        CString strShortcut;  // after it
        char chMnemonic;      // upper case; 0 for none
    };

    // Measures the entries' texts in dc; answers the widths of the widest label and shortcut.
    SIZE MeasureEntries(const CMenu& menu, CDC& dc);
    // Places the menu at ptClient, moved to fit in the owner's client area, and its entries.
    void Place(CWnd* pOwner, POINT ptClient, const Metrics& metrics, SIZE sizeTexts);
    int HitTest(POINT pt) const;
    Outcome Choose(int nIndex);
    // The next entry that can be chosen, from nFrom in direction nStep, wrapping round.
    int NextSelectable(int nFrom, int nStep) const;

    CString m_strFace;
    int m_nPointSize;
    std::vector<Entry> m_entries;
    RECT m_rcMenu{0, 0, 0, 0};
    int m_nHover = -1;
    UINT m_nChosenID = 0;
};
