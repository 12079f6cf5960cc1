// What the desktop says of assistive technology: org.a11y.Status on the session bus, which
// at-spi-bus-launcher serves, as GTK and Qt read it. Plain C++ for the code above.
#pragma once

#include <functional>
#include <string>

struct DesktopAccessibility {
    bool bEnabled = false;       // IsEnabled: accessibility is on
    bool bScreenReader = false;  // ScreenReaderEnabled: a screen reader runs
    // Where the accessibility bus listens, when it is on; empty otherwise.
    std::string strBusAddress;
};

// Starts asking, on a thread of its own, so that the answer costs the first frame nothing;
// fnAnswered runs on that thread once the answer has come. Start-up calls it once the
// session bus is known; with no bus, the answer is "off".
void AfxAskDesktopAccessibility(std::function<void()> fnAnswered);
// Whether the answer has come, or the time for it has passed.
bool AfxIsDesktopAccessibilityKnown();
// The answer, waiting for it if it has not come yet; "off" if it does not come in time.
DesktopAccessibility AfxGetDesktopAccessibility();
