// The AT-SPI module: a library that the program loads only when the desktop has
// accessibility on, so that GLib's objects, ATK and the bridge cost a game without it
// nothing. It runs on the UI thread, whose wait serves GLib's main context.
// The platform's types before GLib's, whose TRUE and FALSE are macros.
#include "platform/atspi/atk_driver.h"
#include "platform/atspi/atk_keys.h"
#include "platform/atspi/atspi_module.h"

#include <atk-bridge.h>

#include <string>

namespace {

guint (*g_pfnAddListener)(GSignalEmissionHook, const gchar*) = nullptr;
std::string g_strToolkitName;
CAtkDriver* g_pDriver = nullptr;

const gchar* ToolkitName() {
    return g_strToolkitName.c_str();
}

// GLib and the bridge would say each of their troubles (a bus that went away, say); the game
// plays on without the reader and says nothing more.
void Quiet(const gchar* /*pszDomain*/, GLogLevelFlags /*level*/, const gchar* /*pszMessage*/,
           gpointer /*pData*/) {}

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
    pUtil->add_key_event_listener = AfxAddKeyListener;
    pUtil->remove_key_event_listener = AfxRemoveKeyListener;
    g_pfnAddListener = pUtil->add_global_event_listener;
    pUtil->add_global_event_listener = AddListener;
    g_pDriver = new CAtkDriver(pHost);
    if (atk_bridge_adaptor_init(nullptr, nullptr) != 0) {
        return nullptr;
    }
    return g_pDriver;
}
