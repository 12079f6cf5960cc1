// The objects a screen reader finds: one GObject type, an AtkObject with the component, action
// and window interfaces, behind each node of the tree. The AT-SPI module's own.
#pragma once

// The platform's types before GLib's, whose TRUE and FALSE are macros.
#include "platform/window/accessibility.h"

#include <atk/atk.h>

#include <memory>
#include <string>
#include <vector>

// A node of the tree: the application, a window's frame, or an item of a window.
struct AccessibleNode {
    AtkObject* pObject = nullptr;  // one reference, the node's
    AccessibleNode* pParent = nullptr;
    std::vector<std::unique_ptr<AccessibleNode>> children;
    CAccessibilityHost* pHost = nullptr;
    HACCESSIBLE hWindow = nullptr;  // the frame's window, or the item's; null for the application
    UINT nID = 0;                   // the item's; 0 for a frame and the application
    RECT rc{0, 0, 0, 0};            // an item's, in its window's client coordinates
    bool bShown = true;
    bool bActive = false;  // a frame's
    bool bFocused = false;
    bool bClickable = false;
    bool bCheckable = false;  // an option of a menu: checked or not
    bool bChecked = false;
    bool bSelectable = false;  // an entry of a menu: highlighted or not
    bool bSelected = false;

    AccessibleNode() = default;
    ~AccessibleNode();
    AccessibleNode(const AccessibleNode&) = delete;
    AccessibleNode& operator=(const AccessibleNode&) = delete;
};

// Makes pNode's object, with its role and name, under pNode->pParent's.
void AfxMakeAccessible(AccessibleNode* pNode, AtkRole role, const char* pszName);
// What pNode's role is for one of the window layer's items.
AtkRole AfxAtkRoleOf(AccessibleRole role);
