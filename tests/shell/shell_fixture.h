// Runs the real dialogs on SDL's dummy video driver and drives them with messages.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "app/resources.h"
#include "platform/base/win_thread.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/window/message_loop.h"
#include "platform/window/top_windows.h"

namespace testing_shell {

// Starts the platform once for the whole test program.
class CPlatformEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // The platform's own words in English, whatever the machine's locale, unless a test
        // picks another.
        setenv("LC_ALL", "C", 1);
        RegisterResources();
        ASSERT_TRUE(AfxInitPlatform(nullptr));
    }
    void TearDown() override { AfxTermPlatform(); }
};

// The SDL window behind a top-level window, or null, for tests that reach under the window
// layer.
inline SDL_Window* SdlWindowOf(const CWnd& wnd) {
    const HSCREEN hScreen = AfxScreenOf(&wnd);
    return hScreen != nullptr ? hScreen->pWindow : nullptr;
}

// Delivers messages until fnDone holds or the time is up; answers whether it held.
inline bool PumpUntil(const std::function<bool()>& fnDone,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!fnDone()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        AfxPumpMessages(FALSE);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Delivers whatever is waiting, and keeps doing so for a while.
inline void PumpFor(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

// Game pauses at a hundredth of their length, for tests that play games out.
class CFastSleep {
public:
    explicit CFastSleep(double dScale = 0.01) { AfxSetSleepScaleForTesting(dScale); }
    ~CFastSleep() { AfxSetSleepScaleForTesting(1.0); }
};

}  // namespace testing_shell
