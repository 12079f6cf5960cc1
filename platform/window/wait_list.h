// What the UI thread's wait watches besides the display, for the drivers that have input of
// their own (the screen reader's bus, say): handles in the platform's own terms, a
// descriptor with poll's event bits on Linux. The window layer only carries them from the
// drivers that name them to the screen driver, which waits on them.
#pragma once

#include <cstdint>
#include <vector>

struct WaitHandle {
    std::intptr_t nHandle;
    unsigned nEvents;  // what to wait for
    unsigned nReady;   // what came, after the wait
};

using CWaitList = std::vector<WaitHandle>;
