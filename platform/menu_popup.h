// The system menu while it is open: drawn by the platform over its window and worked with
// the mouse and the keyboard. Platform code only, UI thread only.
#pragma once

#include <SDL.h>

#include <vector>

#include "platform/menu.h"
#include "platform/wnd.h"

class CMenuPopup {
public:
    // What an input event did to the menu.
    enum class Outcome { kStayOpen, kClose, kChoose };

    CMenuPopup(CWnd* pOwner, const CMenu& menu, POINT ptClient, const char* pszFace,
               int nPointSize);

    // Draws the menu onto the owner's surface; answers the rectangle it covers.
    RECT Draw(SDL_Surface* pSurface) const;
    const RECT& GetRect() const { return m_rcMenu; }
    UINT GetChosenID() const { return m_nChosenID; }

    Outcome OnMouseMove(POINT pt);
    Outcome OnButtonDown(POINT pt);
    Outcome OnButtonUp(POINT pt);
    Outcome OnKey(UINT nKey);

private:
    struct Entry {
        CMenu::Item item;
        RECT rc;
        CString strLabel;     // before the tab
        CString strShortcut;  // after it
        char chMnemonic;      // upper case; 0 for none
    };

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
