// The UI thread's own wait, on X11 and on Wayland. SDL_WaitEventTimeout asks the display
// several times each time it returns, polls every millisecond while a game controller is
// plugged in, and watches nothing but the display; the program's own wait watches the
// display's connection, the devices that SDL reads, the other drivers' handles and a wake-up
// from other threads, and costs a fraction of it. The sdl layer's own.
#pragma once

#include <SDL.h>

#include <vector>

#include "platform/window/wait_list.h"

class CDisplayWait {
public:
    CDisplayWait() = default;
    ~CDisplayWait();
    CDisplayWait(const CDisplayWait&) = delete;
    CDisplayWait& operator=(const CDisplayWait&) = delete;

    // Makes the wake-up; answers false, and SDL_WaitEventTimeout has to serve, when SDL's
    // display is neither X11 nor Wayland. Call it once SDL's video runs.
    bool Open();
    // Ends a wait at once. Any thread.
    void Wake();
    // Blocks until pWindow's display has input, one of devices has (open descriptors of input
    // devices that SDL reads too, whose input this reads away), one of the handles of
    // *pOthers is ready (their nReady then say what came), a wake-up comes, or nTimeoutMs
    // (-1: no limit) have passed; at once when the display has events at hand already.
    // Answers whether SDL has input to pump: the display's, a device's, or a timeout, after
    // which SDL's own delayed work is due.
    bool Wait(SDL_Window* pWindow, int nTimeoutMs, const std::vector<int>& devices,
              CWaitList* pOthers);

private:
    bool m_bWayland = false;
    int m_nWakeFd = -1;
};
