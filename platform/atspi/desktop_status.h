// What the desktop says of assistive technology: org.a11y.Status on the session bus, which
// at-spi-bus-launcher serves, as GTK and Qt read it, followed as it changes. Plain C++ for
// the code above.
#pragma once

#include <functional>
#include <string>

struct DesktopAccessibility {
    bool bEnabled = false;       // IsEnabled: accessibility is on
    bool bScreenReader = false;  // ScreenReaderEnabled: a screen reader runs
    // Where the accessibility bus listens, when it is on; empty otherwise.
    std::string strBusAddress;
};

// Starts following the desktop's answer, on a thread of its own that waits on the bus and
// wakes nothing while nothing changes; fnChanged runs on that thread when the answer first
// comes and whenever it changes. Start-up calls it once the session bus is known; with no
// bus, the answer is "off" and stays so.
void AfxWatchDesktopAccessibility(std::function<void()> fnChanged);
// The answer as it stands: "off" until it has come.
DesktopAccessibility AfxGetDesktopAccessibility();
