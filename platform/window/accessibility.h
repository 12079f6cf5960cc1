// What a screen reader is told of the program's windows. The code above says what each window
// holds (its items: role, name, rectangle, whether drawn), which item has the keyboard focus,
// and what an item's description says; the window layer keeps that, tells it as window
// events (win_event.h), and this layer's listener hands it to the accessibility driver,
// which platform/atspi/ implements on ATK and its AT-SPI bridge once the desktop asks for
// it. UI thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/base/win_types.h"
#include "platform/window/screen.h"
#include "platform/window/wait_list.h"

class CWnd;

enum class AccessibleRole { kPushButton, kLabel, kPanel };

struct AccessibleItem {
    UINT nID;
    AccessibleRole role;
    std::string strName;
    RECT rc;  // in the window's client coordinates
    bool bShown;
    std::string strDescription;
};

// An entry of a window's menu, as a screen reader reads it.
struct AccessibleMenuItem {
    std::string strName;
    bool bSeparator;
    bool bCheckable;
    bool bChecked;
};

// A window as the driver knows it: an opaque handle that stays the same while the window is
// open.
using HACCESSIBLE = const void*;

// What the driver asks of the window layer.
class CAccessibilityHost {
public:
    virtual ~CAccessibilityHost() = default;
    // The window's client area on the screen; empty for a window that has closed.
    virtual RECT ClientRect(HACCESSIBLE hWindow) = 0;
    // Clicks the middle of the item, as the mouse would, once the current event is done.
    virtual void Click(HACCESSIBLE hWindow, UINT nID) = 0;
};

// What the window layer tells the driver. Until a backend installs a driver, one that is told
// everything and does nothing serves (platform/README.md).
class CAccessibilityDriver {
public:
    virtual ~CAccessibilityDriver() = default;
    // A dialog is a window that an owner's modal loop runs; the rest are frames.
    virtual void Opened(HACCESSIBLE hWindow, const char* pszCaption, bool bDialog) = 0;
    virtual void Closed(HACCESSIBLE hWindow) = 0;
    virtual void Activated(HACCESSIBLE hWindow, bool bActive) = 0;
    virtual void SetItems(HACCESSIBLE hWindow, const std::vector<AccessibleItem>& items) = 0;
    // nID 0: no item has the focus.
    virtual void SetFocus(HACCESSIBLE hWindow, UINT nID) = 0;
    virtual void Describe(HACCESSIBLE hWindow, UINT nID, const char* pszText) = 0;
    // Says pszText once, whatever has the focus and whether the window is shown or not.
    virtual void Announce(HACCESSIBLE hWindow, const char* pszText) = 0;
    // The window's menu has opened with these entries and none highlighted, its highlight has
    // moved to entry nIndex (-1: none), and it has closed.
    virtual void MenuOpened(HACCESSIBLE hWindow, const std::vector<AccessibleMenuItem>& items) = 0;
    virtual void MenuHighlighted(HACCESSIBLE hWindow, int nIndex) = 0;
    virtual void MenuClosed(HACCESSIBLE hWindow) = 0;
    // A key pressed or released (bPress), before the program sees it; answers true when the
    // screen reader takes it (one of its own commands), and then the program does not see it.
    virtual bool KeyEvent(const KeyStroke& stroke, bool bPress) = 0;
    // The driver's own input: before the UI thread waits, it adds what to wait on to *pWaits
    // and answers the longest wait in milliseconds (-1: no limit); after the wait, it
    // handles what came, and only what its PrepareWait asked for.
    virtual int PrepareWait(CWaitList* pWaits) = 0;
    virtual void AfterWait(const CWaitList& waits) = 0;
};

CAccessibilityDriver& AfxAccessibility();
// Installs pDriver and tells it of every window that is open; null puts back the driver that
// does nothing.
void AfxSetAccessibilityDriver(CAccessibilityDriver* pDriver);
CAccessibilityHost& AfxAccessibilityHost();

// The items of pWnd, its focused item and what an item says.
void AfxSetAccessibleItems(CWnd* pWnd, std::vector<AccessibleItem> items);
void AfxSetAccessibleFocus(CWnd* pWnd, UINT nID);
UINT AfxGetAccessibleFocus(const CWnd* pWnd);
void AfxDescribeAccessible(CWnd* pWnd, UINT nID, const char* pszText);
// Has a screen reader say pszText once, as from pWnd.
void AfxAnnounce(CWnd* pWnd, const char* pszText);
// Clicks the item nID of pWnd as the mouse would, as BM_CLICK clicks a button: a press and
// a release in its middle; WM_ACCESSIBLECLICK's default processing.
void AfxClickAccessible(CWnd* pWnd, UINT nID);
