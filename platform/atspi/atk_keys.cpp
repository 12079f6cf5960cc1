#include "platform/atspi/atk_keys.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct KeyListener {
    guint nID;
    AtkKeySnoopFunc pfnListener;
    gpointer pData;
};

std::vector<KeyListener> g_listeners;
guint g_nLastID = 0;

}  // namespace

guint AfxAddKeyListener(AtkKeySnoopFunc pfnListener, gpointer pData) {
    g_listeners.push_back(KeyListener{++g_nLastID, pfnListener, pData});
    return g_nLastID;
}

void AfxRemoveKeyListener(guint nListener) {
    g_listeners.erase(std::remove_if(g_listeners.begin(), g_listeners.end(),
                                     [nListener](const KeyListener& listener) {
                                         return listener.nID == nListener;
                                     }),
                      g_listeners.end());
}

bool AfxDeliverKey(const KeyStroke& stroke, bool bPress) {
    std::string strText = stroke.strText;
    AtkKeyEventStruct event{};
    event.type = bPress ? ATK_KEY_EVENT_PRESS : ATK_KEY_EVENT_RELEASE;
    event.state = stroke.nModifiers;
    event.keyval = stroke.nKeySym;
    event.length = static_cast<gint>(strText.size());
    event.string = strText.data();
    event.keycode = static_cast<guint16>(stroke.nKeyCode);
    event.timestamp = stroke.dwTime;
    // Every listener hears the key, as toolkits hand it round; any of them may take it.
    const std::vector<KeyListener> listeners = g_listeners;
    bool bTaken = false;
    for (const KeyListener& listener : listeners) {
        bTaken = listener.pfnListener(&event, listener.pData) != FALSE || bTaken;
    }
    return bTaken;
}
