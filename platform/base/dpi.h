// The program's logical DPI, which fonts, dialog units and system metrics follow, as for a
// Windows program that is aware of the system DPI.
#pragma once

#include <string>

// Windows' name for the DPI at which every length is as designed.
constexpr int USER_DEFAULT_SCREEN_DPI = 96;

// USER_DEFAULT_SCREEN_DPI until the platform sets the desktop's at start-up.
int AfxGetLogicalDpi();
void AfxSetLogicalDpi(int nDpi);
// A length designed at 96 DPI, at the logical DPI (rounded as MulDiv rounds).
int AfxScaleByDpi(int n);

// What a desktop says about its scale, as GTK programs on it read it. Each may be null.
struct DesktopScale {
    // The X server's resource database text (its RESOURCE_MANAGER property), whose Xft.dpi
    // gives the base, 96 without it.
    const char* pszResources;
    // GDK_SCALE, a whole factor, and GDK_DPI_SCALE, a factor for text, on top.
    const char* pszGdkScale;
    const char* pszGdkDpiScale;
    // On Wayland, the output's integer scale, and the base is 96.
    int nOutputScale;
};

// The DPI that the desktop asks for: the base times the factors. A value that cannot be used
// is left out (Xft.dpi as if absent, a factor as if unset), and a product beyond reason falls
// back to 96; *pstrProblem then says what was wrong, and is empty otherwise.
int AfxDesktopDpi(const DesktopScale& scale, std::string* pstrProblem);

// Takes the desktop's DPI as the logical DPI, and its output scale as the pixel density, once
// the screen is open. A problem with them is reported in one line.
void AfxTakeDesktopScale(const DesktopScale& scale);
// How many pixels a window has, each way, per unit of its size in the desktop's
// coordinates: the Wayland output's scale, 1 on X11.
int AfxGetPixelDensity();
