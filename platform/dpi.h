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

// The DPI that the desktop asks for. pszResources is the X server's resource database text
// (its RESOURCE_MANAGER property), whose Xft.dpi gives the base; pszGdkScale is the
// GDK_SCALE setting, a whole factor on top. Either may be null. On Wayland nOutputScale is
// the output's integer scale and the base is 96. A value that cannot be used is left out
// (Xft.dpi as if absent, GDK_SCALE as if unset), and a product beyond reason falls back to
// 96; *pstrProblem then says what was wrong, and is empty otherwise.
int AfxDesktopDpi(const char* pszResources, const char* pszGdkScale, int nOutputScale,
                  std::string* pstrProblem);

// Takes the desktop's DPI as the logical DPI, once the screen is open: X11's resources and
// GDK_SCALE, or the Wayland output's scale. A problem with them is reported in one line.
void AfxTakeDesktopDpi(const char* pszAppName);
// How many pixels a window has, each way, per unit of its size in the desktop's
// coordinates: the Wayland output's scale, 1 on X11. Taken with the DPI.
int AfxGetPixelDensity();
