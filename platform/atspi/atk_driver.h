// The accessibility driver on ATK: the window layer's windows, items, menus and announcements
// as a tree of accessible objects, which the AT-SPI bridge hands to screen readers, and
// GLib's main context served in the UI thread's wait. The AT-SPI module's own; UI thread.
#pragma once

// The platform's types before GLib's, whose TRUE and FALSE are macros.
#include "platform/atspi/atk_accessible.h"

#include <glib.h>

#include <deque>
#include <map>
#include <memory>
#include <vector>

class CAtkDriver : public CAccessibilityDriver {
public:
    explicit CAtkDriver(CAccessibilityHost* pHost);

    AccessibleNode* Root() { return &m_root; }
    // Says again which frames are active and what has the focus, for readers that were not
    // listened to when it was first said.
    void SayAgain();

    void Opened(HACCESSIBLE hWindow, const char* pszCaption, bool bDialog) override;
    void Closed(HACCESSIBLE hWindow) override;
    void Activated(HACCESSIBLE hWindow, bool bActive) override;
    void SetItems(HACCESSIBLE hWindow, const std::vector<AccessibleItem>& items) override;
    void SetFocus(HACCESSIBLE hWindow, UINT nID) override;
    void Describe(HACCESSIBLE hWindow, UINT nID, const char* pszText) override;
    void Announce(HACCESSIBLE hWindow, const char* pszText) override;
    void MenuOpened(HACCESSIBLE hWindow, const std::vector<AccessibleMenuItem>& items) override;
    void MenuHighlighted(HACCESSIBLE hWindow, int nIndex) override;
    void MenuClosed(HACCESSIBLE hWindow) override;
    bool KeyEvent(const KeyStroke& stroke, bool bPress) override;
    int PrepareWait(CWaitList* pWaits) override;
    void AfterWait(const CWaitList& waits) override;

private:
    // What a window holds beyond its items: its open menu, and what it has said lately.
    struct Frame {
        AccessibleNode* pNode;
        AccessibleNode* pMenu = nullptr;
        std::deque<AccessibleNode*> said;
    };

    Frame* FrameOf(HACCESSIBLE hWindow);
    // The window's item nID, or null; 0 is no item.
    static AccessibleNode* ItemOf(AccessibleNode* pFrame, UINT nID);
    static AccessibleNode* FocusedItemOf(AccessibleNode* pFrame);
    std::unique_ptr<AccessibleNode> MakeNode(AccessibleNode* pParent, AtkRole role,
                                             const char* pszName);
    static void AddChild(AccessibleNode* pParent, std::unique_ptr<AccessibleNode> pChild);
    static void RemoveChild(AccessibleNode* pParent, AccessibleNode* pChild);
    static void SetFocused(AccessibleNode* pNode, bool bFocused);
    static void SetShown(AccessibleNode* pNode, bool bShown);

    CAccessibilityHost* m_pHost;
    AccessibleNode m_root;
    std::map<HACCESSIBLE, Frame> m_frames;
    std::vector<GPollFD> m_fds = std::vector<GPollFD>(8);
    size_t m_nQueried = 0;
    size_t m_nFirstWait = 0;
    bool m_bPrepared = false;
    gint m_nPriority = 0;
};
