// The accessibility driver on ATK and its AT-SPI bridge: a module that the program loads only
// when the desktop has accessibility on, so that GLib's objects, ATK and the bridge cost a
// game without it nothing. It runs on the UI thread, whose wait serves GLib's main context.
// The platform's types before GLib's, whose TRUE and FALSE are macros.
#include "platform/atspi/atk_accessible.h"
#include "platform/atspi/atspi_module.h"

#include <atk-bridge.h>
#include <glib.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace {

guint (*g_pfnAddListener)(GSignalEmissionHook, const gchar*) = nullptr;
std::string g_strToolkitName;

const gchar* ToolkitName() {
    return g_strToolkitName.c_str();
}

// GLib and the bridge would say each of their troubles (a bus that went away, say); the game
// plays on without the reader and says nothing more.
void Quiet(const gchar* /*pszDomain*/, GLogLevelFlags /*level*/, const gchar* /*pszMessage*/,
           gpointer /*pData*/) {}

class CAtkDriver : public CAccessibilityDriver {
public:
    explicit CAtkDriver(CAccessibilityHost* pHost) : m_pHost(pHost) {
        m_root.pHost = pHost;
        AfxMakeAccessible(&m_root, ATK_ROLE_APPLICATION, "");
    }

    AccessibleNode* Root() { return &m_root; }

    void Opened(HACCESSIBLE hWindow, const char* pszCaption) override {
        if (m_frames.count(hWindow) != 0) {
            return;
        }
        // The application is known by the name of its first window.
        if (m_root.children.empty() && m_frames.empty()) {
            atk_object_set_name(m_root.pObject, pszCaption);
        }
        auto pFrame = std::make_unique<AccessibleNode>();
        pFrame->pParent = &m_root;
        pFrame->pHost = m_pHost;
        pFrame->hWindow = hWindow;
        AfxMakeAccessible(pFrame.get(), ATK_ROLE_FRAME, pszCaption);
        m_frames[hWindow] = pFrame.get();
        AddChild(&m_root, std::move(pFrame));
    }

    void Closed(HACCESSIBLE hWindow) override {
        AccessibleNode* pFrame = FrameOf(hWindow);
        if (pFrame == nullptr) {
            return;
        }
        m_frames.erase(hWindow);
        auto& frames = m_root.children;
        const auto it = std::find_if(frames.begin(), frames.end(),
                                     [pFrame](const auto& p) { return p.get() == pFrame; });
        const gint nIndex = static_cast<gint>(it - frames.begin());
        std::unique_ptr<AccessibleNode> pGone = std::move(*it);
        frames.erase(it);
        g_signal_emit_by_name(m_root.pObject, "children-changed::remove", nIndex, pGone->pObject);
    }

    void Activated(HACCESSIBLE hWindow, bool bActive) override {
        AccessibleNode* pFrame = FrameOf(hWindow);
        if (pFrame == nullptr || pFrame->bActive == bActive) {
            return;
        }
        pFrame->bActive = bActive;
        atk_object_notify_state_change(pFrame->pObject, ATK_STATE_ACTIVE, bActive);
        g_signal_emit_by_name(pFrame->pObject, bActive ? "activate" : "deactivate");
    }

    // Says again which frames are active and which items have the focus, for readers that
    // were not listened to when it was first said.
    void SayAgain() {
        for (const auto& pFrame : m_root.children) {
            if (pFrame->bActive) {
                atk_object_notify_state_change(pFrame->pObject, ATK_STATE_ACTIVE, TRUE);
                g_signal_emit_by_name(pFrame->pObject, "activate");
            }
            for (const auto& pItem : pFrame->children) {
                if (pItem->bFocused) {
                    atk_object_notify_state_change(pItem->pObject, ATK_STATE_FOCUSED, TRUE);
                }
            }
        }
    }

    void SetItems(HACCESSIBLE hWindow, const std::vector<AccessibleItem>& items) override {
        AccessibleNode* pFrame = FrameOf(hWindow);
        if (pFrame == nullptr) {
            return;
        }
        for (const AccessibleItem& item : items) {
            AccessibleNode* pNode = ItemOf(pFrame, item.nID);
            if (pNode == nullptr) {
                auto pNew = std::make_unique<AccessibleNode>();
                pNew->pParent = pFrame;
                pNew->pHost = m_pHost;
                pNew->hWindow = hWindow;
                pNew->nID = item.nID;
                pNew->bClickable = item.role == AccessibleRole::kPushButton;
                pNew->bShown = item.bShown;
                AfxMakeAccessible(pNew.get(), AfxAtkRoleOf(item.role), item.strName.c_str());
                pNode = pNew.get();
                AddChild(pFrame, std::move(pNew));
            }
            pNode->rc = item.rc;
            if (item.strName != atk_object_get_name(pNode->pObject)) {
                atk_object_set_name(pNode->pObject, item.strName.c_str());
            }
            if (pNode->bShown != item.bShown) {
                pNode->bShown = item.bShown;
                atk_object_notify_state_change(pNode->pObject, ATK_STATE_VISIBLE, item.bShown);
                atk_object_notify_state_change(pNode->pObject, ATK_STATE_SHOWING, item.bShown);
            }
        }
    }

    void SetFocus(HACCESSIBLE hWindow, UINT nID) override {
        AccessibleNode* pFrame = FrameOf(hWindow);
        if (pFrame == nullptr) {
            return;
        }
        for (const auto& pItem : pFrame->children) {
            if (pItem->bFocused && pItem->nID != nID) {
                pItem->bFocused = false;
                atk_object_notify_state_change(pItem->pObject, ATK_STATE_FOCUSED, FALSE);
            }
        }
        AccessibleNode* pNode = ItemOf(pFrame, nID);
        if (pNode != nullptr && !pNode->bFocused) {
            pNode->bFocused = true;
            atk_object_notify_state_change(pNode->pObject, ATK_STATE_FOCUSED, TRUE);
        }
    }

    void Describe(HACCESSIBLE hWindow, UINT nID, const char* pszText) override {
        AccessibleNode* pFrame = FrameOf(hWindow);
        AccessibleNode* pNode = pFrame != nullptr ? ItemOf(pFrame, nID) : nullptr;
        if (pNode == nullptr) {
            return;
        }
        // Cleared first, so that the same text, said again, is spoken again.
        atk_object_set_description(pNode->pObject, "");
        atk_object_set_description(pNode->pObject, pszText);
    }

    // GLib's main context is served in the UI thread's wait: its descriptors (GLib's event
    // bits are poll's) go into the wait list, after whatever is there already.
    int PrepareWait(CWaitList* pWaits) override {
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

    void AfterWait(const CWaitList& waits) override {
        if (!std::exchange(m_bPrepared, false)) {
            return;
        }
        for (size_t i = 0; i < m_nQueried; ++i) {
            const size_t nAt = m_nFirstWait + i;
            m_fds[i].revents = nAt < waits.size() ? static_cast<gushort>(waits[nAt].nReady) : 0;
        }
        GMainContext* pContext = g_main_context_default();
        if (g_main_context_check(pContext, m_nPriority, m_fds.data(),
                                 static_cast<gint>(m_nQueried))) {
            g_main_context_dispatch(pContext);
        }
    }

private:
    AccessibleNode* FrameOf(HACCESSIBLE hWindow) {
        const auto it = m_frames.find(hWindow);
        return it != m_frames.end() ? it->second : nullptr;
    }
    static AccessibleNode* ItemOf(AccessibleNode* pFrame, UINT nID) {
        for (const auto& pItem : pFrame->children) {
            if (pItem->nID == nID) {
                return pItem.get();
            }
        }
        return nullptr;
    }
    static void AddChild(AccessibleNode* pParent, std::unique_ptr<AccessibleNode> pChild) {
        AtkObject* pObject = pChild->pObject;
        pParent->children.push_back(std::move(pChild));
        g_signal_emit_by_name(pParent->pObject, "children-changed::add",
                              static_cast<gint>(pParent->children.size() - 1), pObject);
    }

    CAccessibilityHost* m_pHost;
    AccessibleNode m_root;
    std::map<HACCESSIBLE, AccessibleNode*> m_frames;
    std::vector<GPollFD> m_fds = std::vector<GPollFD>(8);
    size_t m_nQueried = 0;
    size_t m_nFirstWait = 0;
    bool m_bPrepared = false;
    gint m_nPriority = 0;
};

CAtkDriver* g_pDriver = nullptr;

AtkObject* GetRoot() {
    return g_pDriver != nullptr ? g_pDriver->Root()->pObject : nullptr;
}

gboolean SayAgain(gpointer /*pData*/) {
    g_pDriver->SayAgain();
    return G_SOURCE_REMOVE;
}

// The bridge hooks ATK's signals only once the registry says that a reader listens, which is
// after the game has told what is open, active and focused, and whenever a reader comes back:
// then that is told again, once all the hooks are in.
guint AddListener(GSignalEmissionHook pfnListener, const gchar* pszEventType) {
    const guint nID = g_pfnAddListener(pfnListener, pszEventType);
    if (g_strcmp0(pszEventType, "Atk:AtkWindow:activate") == 0) {
        g_idle_add(SayAgain, nullptr);
    }
    return nID;
}

}  // namespace

extern "C" CAccessibilityDriver* hoplin_atspi_start(CAccessibilityHost* pHost,
                                                    const char* pszToolkit) {
    g_strToolkitName = pszToolkit;
    g_log_set_default_handler(Quiet, nullptr);
    // The UI thread serves GLib's default context from now on, in its own wait.
    g_main_context_acquire(g_main_context_default());
    auto* pUtil = static_cast<AtkUtilClass*>(g_type_class_ref(ATK_TYPE_UTIL));
    pUtil->get_root = GetRoot;
    pUtil->get_toolkit_name = ToolkitName;
    g_pfnAddListener = pUtil->add_global_event_listener;
    pUtil->add_global_event_listener = AddListener;
    g_pDriver = new CAtkDriver(pHost);
    if (atk_bridge_adaptor_init(nullptr, nullptr) != 0) {
        return nullptr;
    }
    return g_pDriver;
}
