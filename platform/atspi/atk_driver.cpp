#include "platform/atspi/atk_driver.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/atspi/atk_keys.h"

namespace {

// How many of a window's announcements stay in the tree: a reader that hears of one reads its
// name after the event, by which time the next may have come.
constexpr size_t kAnnouncementsKept = 4;

AtkRole MenuItemRole(const AccessibleMenuItem& item) {
    if (item.bSeparator) {
        return ATK_ROLE_SEPARATOR;
    }
    return item.bCheckable ? ATK_ROLE_CHECK_MENU_ITEM : ATK_ROLE_MENU_ITEM;
}

}  // namespace

CAtkDriver::CAtkDriver(CAccessibilityHost* pHost) : m_pHost(pHost) {
    m_root.pHost = pHost;
    AfxMakeAccessible(&m_root, ATK_ROLE_APPLICATION, "");
}

std::unique_ptr<AccessibleNode> CAtkDriver::MakeNode(AccessibleNode* pParent, AtkRole role,
                                                     const char* pszName) {
    auto pNode = std::make_unique<AccessibleNode>();
    pNode->pParent = pParent;
    pNode->pHost = m_pHost;
    pNode->hWindow = pParent->hWindow;
    AfxMakeAccessible(pNode.get(), role, pszName);
    return pNode;
}

void CAtkDriver::AddChild(AccessibleNode* pParent, std::unique_ptr<AccessibleNode> pChild) {
    AtkObject* pObject = pChild->pObject;
    pParent->children.push_back(std::move(pChild));
    g_signal_emit_by_name(pParent->pObject, "children-changed::add",
                          static_cast<gint>(pParent->children.size() - 1), pObject);
}

void CAtkDriver::RemoveChild(AccessibleNode* pParent, AccessibleNode* pChild) {
    auto& children = pParent->children;
    const auto it = std::find_if(children.begin(), children.end(),
                                 [pChild](const auto& p) { return p.get() == pChild; });
    if (it == children.end()) {
        return;
    }
    const gint nIndex = static_cast<gint>(it - children.begin());
    std::unique_ptr<AccessibleNode> pGone = std::move(*it);
    children.erase(it);
    g_signal_emit_by_name(pParent->pObject, "children-changed::remove", nIndex, pGone->pObject);
}

void CAtkDriver::SetFocused(AccessibleNode* pNode, bool bFocused) {
    if (pNode != nullptr && pNode->bFocused != bFocused) {
        pNode->bFocused = bFocused;
        atk_object_notify_state_change(pNode->pObject, ATK_STATE_FOCUSED, bFocused);
    }
}

void CAtkDriver::SetShown(AccessibleNode* pNode, bool bShown) {
    if (pNode->bShown != bShown) {
        pNode->bShown = bShown;
        atk_object_notify_state_change(pNode->pObject, ATK_STATE_VISIBLE, bShown);
        atk_object_notify_state_change(pNode->pObject, ATK_STATE_SHOWING, bShown);
    }
}

CAtkDriver::Frame* CAtkDriver::FrameOf(HACCESSIBLE hWindow) {
    const auto it = m_frames.find(hWindow);
    return it != m_frames.end() ? &it->second : nullptr;
}

AccessibleNode* CAtkDriver::ItemOf(AccessibleNode* pFrame, UINT nID) {
    for (const auto& pItem : pFrame->children) {
        if (nID != 0 && pItem->nID == nID) {
            return pItem.get();
        }
    }
    return nullptr;
}

AccessibleNode* CAtkDriver::FocusedItemOf(AccessibleNode* pFrame) {
    for (const auto& pItem : pFrame->children) {
        if (pItem->bFocused) {
            return pItem.get();
        }
    }
    return nullptr;
}

void CAtkDriver::Opened(HACCESSIBLE hWindow, const char* pszCaption, bool bDialog) {
    if (m_frames.count(hWindow) != 0) {
        return;
    }
    // The application is known by the name of its first window.
    if (m_root.children.empty()) {
        atk_object_set_name(m_root.pObject, pszCaption);
    }
    // A dialog's readers read its texts as it opens, as they do for a toolkit's dialogs.
    auto pFrame = MakeNode(&m_root, bDialog ? ATK_ROLE_DIALOG : ATK_ROLE_FRAME, pszCaption);
    pFrame->hWindow = hWindow;
    m_frames[hWindow] = Frame{pFrame.get(), nullptr, {}};
    AddChild(&m_root, std::move(pFrame));
}

void CAtkDriver::Closed(HACCESSIBLE hWindow) {
    if (const Frame* pFrame = FrameOf(hWindow)) {
        AccessibleNode* pNode = pFrame->pNode;
        m_frames.erase(hWindow);
        RemoveChild(&m_root, pNode);
    }
}

void CAtkDriver::Activated(HACCESSIBLE hWindow, bool bActive) {
    Frame* pFrame = FrameOf(hWindow);
    if (pFrame == nullptr || pFrame->pNode->bActive == bActive) {
        return;
    }
    pFrame->pNode->bActive = bActive;
    atk_object_notify_state_change(pFrame->pNode->pObject, ATK_STATE_ACTIVE, bActive);
    g_signal_emit_by_name(pFrame->pNode->pObject, bActive ? "activate" : "deactivate");
}

void CAtkDriver::SayAgain() {
    for (const auto& pFrame : m_root.children) {
        if (pFrame->bActive) {
            atk_object_notify_state_change(pFrame->pObject, ATK_STATE_ACTIVE, TRUE);
            g_signal_emit_by_name(pFrame->pObject, "activate");
        }
        if (const AccessibleNode* pItem = FocusedItemOf(pFrame.get())) {
            atk_object_notify_state_change(pItem->pObject, ATK_STATE_FOCUSED, TRUE);
        }
    }
}

void CAtkDriver::SetItems(HACCESSIBLE hWindow, const std::vector<AccessibleItem>& items) {
    Frame* pFrame = FrameOf(hWindow);
    if (pFrame == nullptr) {
        return;
    }
    for (const AccessibleItem& item : items) {
        AccessibleNode* pNode = ItemOf(pFrame->pNode, item.nID);
        if (pNode == nullptr) {
            auto pNew = MakeNode(pFrame->pNode, AfxAtkRoleOf(item.role), item.strName.c_str());
            pNew->nID = item.nID;
            pNew->bClickable = item.role == AccessibleRole::kPushButton;
            pNew->bShown = item.bShown;
            pNode = pNew.get();
            AddChild(pFrame->pNode, std::move(pNew));
        }
        pNode->rc = item.rc;
        if (item.strName != atk_object_get_name(pNode->pObject)) {
            atk_object_set_name(pNode->pObject, item.strName.c_str());
        }
        if (item.strDescription != atk_object_get_description(pNode->pObject)) {
            atk_object_set_description(pNode->pObject, item.strDescription.c_str());
        }
        SetShown(pNode, item.bShown);
    }
}

void CAtkDriver::SetFocus(HACCESSIBLE hWindow, UINT nID) {
    Frame* pFrame = FrameOf(hWindow);
    if (pFrame == nullptr) {
        return;
    }
    AccessibleNode* pNode = ItemOf(pFrame->pNode, nID);
    for (const auto& pItem : pFrame->pNode->children) {
        if (pItem.get() != pNode) {
            SetFocused(pItem.get(), false);
        }
    }
    SetFocused(pNode, true);
}

void CAtkDriver::Describe(HACCESSIBLE hWindow, UINT nID, const char* pszText) {
    Frame* pFrame = FrameOf(hWindow);
    AccessibleNode* pNode = pFrame != nullptr ? ItemOf(pFrame->pNode, nID) : nullptr;
    if (pNode != nullptr) {
        atk_object_set_description(pNode->pObject, pszText);
    }
}

// Said as a notification that shows: screen readers speak those from any window, whatever has
// the focus, as they speak the desktop's notifications.
void CAtkDriver::Announce(HACCESSIBLE hWindow, const char* pszText) {
    Frame* pFrame = FrameOf(hWindow);
    if (pFrame == nullptr) {
        return;
    }
    auto pNote = MakeNode(pFrame->pNode, ATK_ROLE_NOTIFICATION, pszText);
    pNote->bShown = false;
    AccessibleNode* pSaid = pNote.get();
    AddChild(pFrame->pNode, std::move(pNote));
    SetShown(pSaid, true);
    pFrame->said.push_back(pSaid);
    if (pFrame->said.size() > kAnnouncementsKept) {
        RemoveChild(pFrame->pNode, pFrame->said.front());
        pFrame->said.pop_front();
    }
}

void CAtkDriver::MenuOpened(HACCESSIBLE hWindow, const std::vector<AccessibleMenuItem>& items) {
    MenuClosed(hWindow);
    Frame* pFrame = FrameOf(hWindow);
    if (pFrame == nullptr) {
        return;
    }
    auto pMenu = MakeNode(pFrame->pNode, ATK_ROLE_MENU, "");
    pMenu->bShown = false;
    for (const AccessibleMenuItem& item : items) {
        auto pEntry = MakeNode(pMenu.get(), MenuItemRole(item), item.strName.c_str());
        pEntry->bCheckable = item.bCheckable;
        pEntry->bChecked = item.bChecked;
        pEntry->bSelectable = !item.bSeparator;
        pMenu->children.push_back(std::move(pEntry));
    }
    pFrame->pMenu = pMenu.get();
    AddChild(pFrame->pNode, std::move(pMenu));
    SetShown(pFrame->pMenu, true);
    // The keyboard's focus goes into the menu, and comes back when it closes.
    if (AccessibleNode* pItem = FocusedItemOf(pFrame->pNode)) {
        atk_object_notify_state_change(pItem->pObject, ATK_STATE_FOCUSED, FALSE);
    }
    SetFocused(pFrame->pMenu, true);
}

void CAtkDriver::MenuHighlighted(HACCESSIBLE hWindow, int nIndex) {
    Frame* pFrame = FrameOf(hWindow);
    AccessibleNode* pMenu = pFrame != nullptr ? pFrame->pMenu : nullptr;
    if (pMenu == nullptr) {
        return;
    }
    for (size_t i = 0; i < pMenu->children.size(); ++i) {
        AccessibleNode* pEntry = pMenu->children[i].get();
        const bool bHighlighted = static_cast<int>(i) == nIndex;
        if (pEntry->bSelected != bHighlighted) {
            pEntry->bSelected = bHighlighted;
            atk_object_notify_state_change(pEntry->pObject, ATK_STATE_SELECTED, bHighlighted);
        }
        if (!bHighlighted) {
            SetFocused(pEntry, false);
        }
    }
    const bool bEntry = nIndex >= 0 && nIndex < static_cast<int>(pMenu->children.size());
    SetFocused(pMenu, !bEntry);
    if (bEntry) {
        SetFocused(pMenu->children[static_cast<size_t>(nIndex)].get(), true);
    }
}

void CAtkDriver::MenuClosed(HACCESSIBLE hWindow) {
    Frame* pFrame = FrameOf(hWindow);
    if (pFrame == nullptr || pFrame->pMenu == nullptr) {
        return;
    }
    SetShown(pFrame->pMenu, false);
    RemoveChild(pFrame->pNode, std::exchange(pFrame->pMenu, nullptr));
    if (const AccessibleNode* pItem = FocusedItemOf(pFrame->pNode)) {
        atk_object_notify_state_change(pItem->pObject, ATK_STATE_FOCUSED, TRUE);
    }
}

bool CAtkDriver::KeyEvent(const KeyStroke& stroke, bool bPress) {
    return AfxDeliverKey(stroke, bPress);
}

// GLib's main context is served in the UI thread's wait: its descriptors (GLib's event bits
// are poll's) go into the wait list, after whatever is there already.
int CAtkDriver::PrepareWait(CWaitList* pWaits) {
    GMainContext* pContext = g_main_context_default();
    g_main_context_prepare(pContext, &m_nPriority);
    gint nTimeout = -1;
    gint nCount = 0;
    while ((nCount = g_main_context_query(pContext, m_nPriority, &nTimeout, m_fds.data(),
                                          static_cast<gint>(m_fds.size()))) >
           static_cast<gint>(m_fds.size())) {
        m_fds.resize(static_cast<size_t>(nCount));
    }
    m_nQueried = static_cast<size_t>(nCount);
    m_nFirstWait = pWaits->size();
    for (size_t i = 0; i < m_nQueried; ++i) {
        pWaits->push_back(WaitHandle{m_fds[i].fd, m_fds[i].events, 0});
    }
    m_bPrepared = true;
    return nTimeout;
}

void CAtkDriver::AfterWait(const CWaitList& waits) {
    if (!std::exchange(m_bPrepared, false)) {
        return;
    }
    for (size_t i = 0; i < m_nQueried; ++i) {
        const size_t nAt = m_nFirstWait + i;
        m_fds[i].revents = nAt < waits.size() ? static_cast<gushort>(waits[nAt].nReady) : 0;
    }
    GMainContext* pContext = g_main_context_default();
    if (g_main_context_check(pContext, m_nPriority, m_fds.data(), static_cast<gint>(m_nQueried))) {
        g_main_context_dispatch(pContext);
    }
}
