// The keys a screen reader hears before the program: ATK's key-event listeners, which the
// AT-SPI bridge adds to hand every key to the registry and the readers. The AT-SPI module's
// own; UI thread.
#pragma once

// The platform's types before GLib's, whose TRUE and FALSE are macros.
#include "platform/window/screen.h"

#include <atk/atk.h>

// AtkUtil's add_key_event_listener and remove_key_event_listener.
guint AfxAddKeyListener(AtkKeySnoopFunc pfnListener, gpointer pData);
void AfxRemoveKeyListener(guint nListener);
// Hands the key to every listener; answers whether one of them takes it.
bool AfxDeliverKey(const KeyStroke& stroke, bool bPress);
