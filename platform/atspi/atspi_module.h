// The one entry of the AT-SPI module, which the program finds with dlsym.
#pragma once

#include "platform/window/accessibility.h"

// Starts ATK and its AT-SPI bridge on the UI thread, which from then on serves GLib's default
// main context, for the program named pszToolkit; answers the driver, or null when the
// bridge cannot start.
extern "C" CAccessibilityDriver* hoplin_atspi_start(CAccessibilityHost* pHost,
                                                    const char* pszToolkit);
constexpr const char* kAtspiStartSymbol = "hoplin_atspi_start";
using AtspiStart = CAccessibilityDriver* (*)(CAccessibilityHost* pHost, const char* pszToolkit);
