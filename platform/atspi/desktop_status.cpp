#include "platform/atspi/desktop_status.h"

#include <dbus/dbus.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace {

constexpr const char* kService = "org.a11y.Bus";
constexpr const char* kPath = "/org/a11y/bus";
constexpr const char* kInterface = "org.a11y.Status";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
// A bus that has not answered by then is taken as saying "off".
constexpr int kReplyTimeoutMs = 1000;
constexpr auto kAnswerTimeout = std::chrono::milliseconds(2 * kReplyTimeoutMs);

// The asking thread is never waited for at exit: a bus that hangs must not hold the game.
std::shared_future<DesktopAccessibility> g_answer;
// When an answer that has not come by then is taken as "off".
std::chrono::steady_clock::time_point g_deadline;

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

DesktopAccessibility Ask() {
    DesktopAccessibility answer;
    DBusConnection* pBus = dbus_bus_get_private(DBUS_BUS_SESSION, nullptr);
    if (pBus == nullptr) {
        return answer;
    }
    // libdbus would end the program when the bus goes; this connection is the program's own.
    dbus_connection_set_exit_on_disconnect(pBus, FALSE);
    answer.bEnabled = AskProperty(pBus, "IsEnabled");
    answer.bScreenReader = AskProperty(pBus, "ScreenReaderEnabled");
    if (answer.bEnabled || answer.bScreenReader) {
        answer.strBusAddress = AskBusAddress(pBus);
    }
    dbus_connection_close(pBus);
    dbus_connection_unref(pBus);
    return answer;
}

}  // namespace

void AfxAskDesktopAccessibility(std::function<void()> fnAnswered) {
    auto pPromise = std::make_shared<std::promise<DesktopAccessibility>>();
    g_answer = pPromise->get_future().share();
    g_deadline = std::chrono::steady_clock::now() + kAnswerTimeout;
    std::thread([pPromise, fnAnswered = std::move(fnAnswered)] {
        pPromise->set_value(Ask());
        fnAnswered();
    }).detach();
}

bool AfxIsDesktopAccessibilityKnown() {
    return !g_answer.valid() ||
           g_answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready ||
           std::chrono::steady_clock::now() >= g_deadline;
}

DesktopAccessibility AfxGetDesktopAccessibility() {
    if (g_answer.valid() && g_answer.wait_until(g_deadline) == std::future_status::ready) {
        return g_answer.get();
    }
    // Asked once in vain, it is not waited for again.
    g_answer = std::shared_future<DesktopAccessibility>();
    return DesktopAccessibility();
}
