#include "platform/atspi/desktop_status.h"

#include <dbus/dbus.h>

#include <mutex>
#include <thread>

namespace {

constexpr const char* kService = "org.a11y.Bus";
constexpr const char* kPath = "/org/a11y/bus";
constexpr const char* kInterface = "org.a11y.Status";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
// The status changing, and the bus launcher coming or going.
constexpr const char* kChangedRule =
    "type='signal',sender='org.a11y.Bus',path='/org/a11y/bus',"
    "interface='org.freedesktop.DBus.Properties',member='PropertiesChanged'";
constexpr const char* kOwnerRule =
    "type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
    "member='NameOwnerChanged',arg0='org.a11y.Bus'";
// A bus that has not answered by then is taken as saying "off".
constexpr int kReplyTimeoutMs = 1000;
// How long one read of the bus waits: without end, as the thread only waits.
constexpr int kWaitWithoutEnd = -1;

std::mutex g_mutex;
DesktopAccessibility g_answer;

// The reply to a call of org.a11y.Bus, or null when the bus gives none in time.
DBusMessage* Call(DBusConnection* pBus, DBusMessage* pCall) {
    if (pCall == nullptr) {
        return nullptr;
    }
    // Asking must not start the accessibility bus where nothing has started it.
    dbus_message_set_auto_start(pCall, FALSE);
    DBusMessage* pReply =
        dbus_connection_send_with_reply_and_block(pBus, pCall, kReplyTimeoutMs, nullptr);
    dbus_message_unref(pCall);
    return pReply;
}

// One boolean property of org.a11y.Status; false when the bus cannot tell.
bool AskProperty(DBusConnection* pBus, const char* pszProperty) {
    DBusMessage* pCall = dbus_message_new_method_call(kService, kPath, kProperties, "Get");
    if (pCall != nullptr) {
        dbus_message_append_args(pCall, DBUS_TYPE_STRING, &kInterface, DBUS_TYPE_STRING,
                                 &pszProperty, DBUS_TYPE_INVALID);
    }
    DBusMessage* pReply = Call(pBus, pCall);
    if (pReply == nullptr) {
        return false;
    }
    dbus_bool_t bValue = FALSE;
    DBusMessageIter reply, variant;
    if (dbus_message_iter_init(pReply, &reply) &&
        dbus_message_iter_get_arg_type(&reply) == DBUS_TYPE_VARIANT) {
        dbus_message_iter_recurse(&reply, &variant);
        if (dbus_message_iter_get_arg_type(&variant) == DBUS_TYPE_BOOLEAN) {
            dbus_message_iter_get_basic(&variant, &bValue);
        }
    }
    dbus_message_unref(pReply);
    return bValue != FALSE;
}

// Where the accessibility bus listens; empty when the bus does not say.
std::string AskBusAddress(DBusConnection* pBus) {
    DBusMessage* pReply =
        Call(pBus, dbus_message_new_method_call(kService, kPath, kService, "GetAddress"));
    if (pReply == nullptr) {
        return std::string();
    }
    const char* pszAddress = nullptr;
    std::string strAddress;
    if (dbus_message_get_args(pReply, nullptr, DBUS_TYPE_STRING, &pszAddress, DBUS_TYPE_INVALID)) {
        strAddress = pszAddress;
    }
    dbus_message_unref(pReply);
    return strAddress;
}

DesktopAccessibility Ask(DBusConnection* pBus) {
    DesktopAccessibility answer;
    answer.bEnabled = AskProperty(pBus, "IsEnabled");
    answer.bScreenReader = AskProperty(pBus, "ScreenReaderEnabled");
    if (answer.bEnabled || answer.bScreenReader) {
        answer.strBusAddress = AskBusAddress(pBus);
    }
    return answer;
}

// Takes the answer; tells of it when it is the first or a change.
void Take(const DesktopAccessibility& answer, bool bFirst, const std::function<void()>& fnChanged) {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        const bool bSame = answer.bEnabled == g_answer.bEnabled &&
                           answer.bScreenReader == g_answer.bScreenReader &&
                           answer.strBusAddress == g_answer.strBusAddress;
        if (bSame && !bFirst) {
            return;
        }
        g_answer = answer;
    }
    fnChanged();
}

// Whether a message that came is one of the watched signals, which ask for a new answer.
bool IsChange(DBusMessage* pMessage) {
    return dbus_message_is_signal(pMessage, kProperties, "PropertiesChanged") ||
           dbus_message_is_signal(pMessage, DBUS_INTERFACE_DBUS, "NameOwnerChanged");
}

void Watch(const std::function<void()>& fnChanged) {
    DBusConnection* pBus = dbus_bus_get_private(DBUS_BUS_SESSION, nullptr);
    if (pBus == nullptr) {
        Take(DesktopAccessibility(), true, fnChanged);
        return;
    }
    // libdbus would end the program when the bus goes; this connection is the program's own.
    dbus_connection_set_exit_on_disconnect(pBus, FALSE);
    dbus_bus_add_match(pBus, kChangedRule, nullptr);
    dbus_bus_add_match(pBus, kOwnerRule, nullptr);
    Take(Ask(pBus), true, fnChanged);
    while (dbus_connection_read_write(pBus, kWaitWithoutEnd)) {
        bool bChanged = false;
        while (DBusMessage* pMessage = dbus_connection_pop_message(pBus)) {
            bChanged = IsChange(pMessage) || bChanged;
            dbus_message_unref(pMessage);
        }
        if (bChanged) {
            Take(Ask(pBus), false, fnChanged);
        }
    }
    // The bus has gone, and with it whatever it said.
    Take(DesktopAccessibility(), false, fnChanged);
    dbus_connection_close(pBus);
    dbus_connection_unref(pBus);
}

}  // namespace

void AfxWatchDesktopAccessibility(std::function<void()> fnChanged) {
    // The thread is never waited for: a bus that hangs must not hold the game at its end.
    std::thread([fnChanged = std::move(fnChanged)] { Watch(fnChanged); }).detach();
}

DesktopAccessibility AfxGetDesktopAccessibility() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_answer;
}
