"""A screen reader's view of the game, as a separate process: AT-SPI clients see one
accessibility bus for their whole life, so each test starts one of these on its own bus.

Reads one JSON command a line on stdin and answers one JSON line on stdout:
  {"cmd": "tree"}                      the application named Hoplin, as nested objects
  {"cmd": "click", "path": [names]}    does the "click" action of the object at path
  {"cmd": "events"}                    the events seen since the last time, and forgets them
  {"cmd": "keys", "consume": [names]}  listens to the keys that applications hand over, as a
                                       screen reader does, taking those named (keysym names)
                                       for itself; answers the keys heard since the last time
Every object is {"name", "role", "description", "states", "extents", "actions", "children"};
every event {"type", "source", "role", "detail1", "text"}.

usage: python3 -m hoplin_e2e.atspi_client
"""

import json
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

APP_NAME = "Hoplin"
EVENTS = ("object:state-changed:focused", "object:property-change:accessible-description",
          "object:state-changed:showing", "window:activate")
KEY_EVENTS = (1 << Atspi.EventType.KEY_PRESSED_EVENT) | (1 << Atspi.EventType.KEY_RELEASED_EVENT)
# The modifiers the tests' keys come with: none, or Num Lock's (X's Mod2), whatever the
# keyboard's state.
KEY_MODIFIERS = (0, 1 << 4)
seen = []
keys_heard = []
keys_taken = set()
key_listener = None


def describe(accessible):
    states = accessible.get_state_set().get_states()
    try:
        extents = accessible.get_extents(Atspi.CoordType.SCREEN)
        box = [extents.x, extents.y, extents.width, extents.height]
    except GLib.Error:
        box = None
    action = accessible.get_action_iface()
    actions = [action.get_action_name(i) for i in range(action.get_n_actions())] if action else []
    return {
        "name": accessible.get_name(),
        "role": accessible.get_role_name(),
        "description": accessible.get_description(),
        "states": sorted(Atspi.StateType(s).value_nick for s in states),
        "extents": box,
        "actions": actions,
        "children": [describe(accessible.get_child_at_index(i))
                     for i in range(accessible.get_child_count())],
    }


def application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == APP_NAME:
            return app
    return None


def find(path):
    found = application()
    for name in path:
        children = [found.get_child_at_index(i) for i in range(found.get_child_count())]
        found = next(c for c in children if c.get_name() == name)
    return found


def on_event(event):
    source = event.source
    seen.append({"type": event.type, "source": source.get_name() if source else None,
                 "role": source.get_role_name() if source else None, "detail1": event.detail1,
                 "text": event.any_data if isinstance(event.any_data, str) else None})


def on_key(event):
    name = event.event_string
    keys_heard.append({"pressed": event.type == Atspi.EventType.KEY_PRESSED_EVENT,
                       "keysym": event.id, "keycode": event.hw_code, "name": name})
    return name in keys_taken


def listen_to_keys(consume):
    global key_listener
    keys_taken.clear()
    keys_taken.update(consume)
    if key_listener is None:
        key_listener = Atspi.DeviceListener.new(on_key)
        sync = Atspi.KeyListenerSyncType.SYNCHRONOUS | Atspi.KeyListenerSyncType.CANCONSUME
        for modifiers in KEY_MODIFIERS:
            Atspi.register_keystroke_listener(key_listener, None, modifiers, KEY_EVENTS, sync)
    heard = list(keys_heard)
    keys_heard.clear()
    return heard


def answer(command):
    if command["cmd"] == "tree":
        app = application()
        return describe(app) if app is not None else None
    if command["cmd"] == "click":
        action = find(command["path"]).get_action_iface()
        return action.do_action(0)
    if command["cmd"] == "events":
        events = list(seen)
        seen.clear()
        return events
    if command["cmd"] == "keys":
        return listen_to_keys(command.get("consume", []))
    raise ValueError(f"no command {command['cmd']!r}")


def on_input(channel, _condition):
    line = sys.stdin.readline()
    if not line:
        loop.quit()
        return False
    try:
        reply = {"ok": answer(json.loads(line))}
    except Exception as error:  # the test reads what went wrong
        reply = {"error": f"{type(error).__name__}: {error}"}
    print(json.dumps(reply), flush=True)
    return True


Atspi.init()
listener = Atspi.EventListener.new(on_event)
for kind in EVENTS:
    listener.register(kind)
loop = GLib.MainLoop()
GLib.io_add_watch(GLib.IOChannel.unix_new(sys.stdin.fileno()), GLib.IO_IN | GLib.IO_HUP, on_input)
print(json.dumps({"ok": "ready"}), flush=True)
loop.run()
