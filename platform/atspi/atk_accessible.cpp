#include "platform/atspi/atk_accessible.h"

namespace {

struct HoplinAccessible {
    AtkObject parent;
    AccessibleNode* pNode;
};
struct HoplinAccessibleClass {
    AtkObjectClass parent;
};

void InitComponent(AtkComponentIface* pIface);
void InitAction(AtkActionIface* pIface);
void InitWindow(AtkWindowIface* /*pIface*/) {}

G_DEFINE_TYPE_WITH_CODE(HoplinAccessible, hoplin_accessible, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, InitComponent)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, InitAction)
                                G_IMPLEMENT_INTERFACE(ATK_TYPE_WINDOW, InitWindow))

constexpr const char* kClick = "click";

AccessibleNode* NodeOf(gpointer pObject) {
    return reinterpret_cast<HoplinAccessible*>(pObject)->pNode;
}

gint NChildren(AtkObject* pObject) {
    const AccessibleNode* pNode = NodeOf(pObject);
    return pNode != nullptr ? static_cast<gint>(pNode->children.size()) : 0;
}

AtkObject* RefChild(AtkObject* pObject, gint i) {
    const AccessibleNode* pNode = NodeOf(pObject);
    if (pNode == nullptr || i < 0 || i >= static_cast<gint>(pNode->children.size())) {
        return nullptr;
    }
    return ATK_OBJECT(g_object_ref(pNode->children[static_cast<size_t>(i)]->pObject));
}

gint IndexInParent(AtkObject* pObject) {
    const AccessibleNode* pNode = NodeOf(pObject);
    if (pNode == nullptr || pNode->pParent == nullptr) {
        return -1;
    }
    const auto& siblings = pNode->pParent->children;
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == pNode) {
            return static_cast<gint>(i);
        }
    }
    return -1;
}

AtkStateSet* RefStateSet(AtkObject* pObject) {
    AtkStateSet* pStates = atk_state_set_new();
    const AccessibleNode* pNode = NodeOf(pObject);
    if (pNode == nullptr) {
        atk_state_set_add_state(pStates, ATK_STATE_DEFUNCT);
        return pStates;
    }
    atk_state_set_add_state(pStates, ATK_STATE_ENABLED);
    atk_state_set_add_state(pStates, ATK_STATE_SENSITIVE);
    // Readers skip what is not shown: only what is drawn now is.
    if (pNode->bShown) {
        atk_state_set_add_state(pStates, ATK_STATE_SHOWING);
        atk_state_set_add_state(pStates, ATK_STATE_VISIBLE);
    }
    if (pNode->bActive) {
        atk_state_set_add_state(pStates, ATK_STATE_ACTIVE);
    }
    if (pNode->bClickable) {
        atk_state_set_add_state(pStates, ATK_STATE_FOCUSABLE);
    }
    if (pNode->bFocused) {
        atk_state_set_add_state(pStates, ATK_STATE_FOCUSED);
    }
    if (pNode->bCheckable) {
        atk_state_set_add_state(pStates, ATK_STATE_CHECKABLE);
    }
    if (pNode->bChecked) {
        atk_state_set_add_state(pStates, ATK_STATE_CHECKED);
    }
    if (pNode->bSelectable) {
        atk_state_set_add_state(pStates, ATK_STATE_SELECTABLE);
        atk_state_set_add_state(pStates, ATK_STATE_FOCUSABLE);
    }
    if (pNode->bSelected) {
        atk_state_set_add_state(pStates, ATK_STATE_SELECTED);
    }
    return pStates;
}

void GetExtents(AtkComponent* pComponent, gint* px, gint* py, gint* pcx, gint* pcy,
                AtkCoordType coords) {
    *px = *py = *pcx = *pcy = 0;
    const AccessibleNode* pNode = NodeOf(pComponent);
    if (pNode == nullptr || pNode->hWindow == nullptr) {
        return;
    }
    const RECT rcClient = pNode->pHost->ClientRect(pNode->hWindow);
    RECT rc = pNode->nID != 0
                  ? pNode->rc
                  : RECT{0, 0, rcClient.right - rcClient.left, rcClient.bottom - rcClient.top};
    // In screen coordinates by default; relative to the window when asked.
    const bool bScreen = coords != ATK_XY_WINDOW;
    *px = rc.left + (bScreen ? rcClient.left : 0);
    *py = rc.top + (bScreen ? rcClient.top : 0);
    *pcx = rc.right - rc.left;
    *pcy = rc.bottom - rc.top;
}

void InitComponent(AtkComponentIface* pIface) {
    pIface->get_extents = GetExtents;
}

gint NActions(AtkAction* pAction) {
    const AccessibleNode* pNode = NodeOf(pAction);
    return pNode != nullptr && pNode->bClickable ? 1 : 0;
}

gboolean DoAction(AtkAction* pAction, gint i) {
    const AccessibleNode* pNode = NodeOf(pAction);
    if (pNode == nullptr || !pNode->bClickable || i != 0 || !pNode->bShown) {
        return FALSE;
    }
    pNode->pHost->Click(pNode->hWindow, pNode->nID);
    return TRUE;
}

const gchar* ActionName(AtkAction* pAction, gint i) {
    return NActions(pAction) > i && i == 0 ? kClick : nullptr;
}

void InitAction(AtkActionIface* pIface) {
    pIface->get_n_actions = NActions;
    pIface->do_action = DoAction;
    pIface->get_name = ActionName;
}

void hoplin_accessible_init(HoplinAccessible* pSelf) {
    pSelf->pNode = nullptr;
}

void hoplin_accessible_class_init(HoplinAccessibleClass* pClass) {
    AtkObjectClass* pObjectClass = ATK_OBJECT_CLASS(pClass);
    pObjectClass->get_n_children = NChildren;
    pObjectClass->ref_child = RefChild;
    pObjectClass->get_index_in_parent = IndexInParent;
    pObjectClass->ref_state_set = RefStateSet;
}

}  // namespace

AccessibleNode::~AccessibleNode() {
    children.clear();
    if (pObject != nullptr) {
        // A reader may still hold the object; it answers as defunct from now on.
        reinterpret_cast<HoplinAccessible*>(pObject)->pNode = nullptr;
        atk_object_notify_state_change(pObject, ATK_STATE_DEFUNCT, TRUE);
        g_object_unref(pObject);
    }
}

void AfxMakeAccessible(AccessibleNode* pNode, AtkRole role, const char* pszName) {
    auto* pSelf =
        static_cast<HoplinAccessible*>(g_object_new(hoplin_accessible_get_type(), nullptr));
    pSelf->pNode = pNode;
    pNode->pObject = ATK_OBJECT(pSelf);
    atk_object_initialize(pNode->pObject, nullptr);
    atk_object_set_role(pNode->pObject, role);
    atk_object_set_name(pNode->pObject, pszName);
    // Every description starts empty: ATK says nothing of the first one set.
    atk_object_set_description(pNode->pObject, "");
    if (pNode->pParent != nullptr) {
        atk_object_set_parent(pNode->pObject, pNode->pParent->pObject);
    }
}

AtkRole AfxAtkRoleOf(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::kPushButton:
            return ATK_ROLE_PUSH_BUTTON;
        case AccessibleRole::kLabel:
            return ATK_ROLE_LABEL;
        case AccessibleRole::kPanel:
            break;
    }
    return ATK_ROLE_PANEL;
}
