// Starting SDL's video on the display the environment names, with the program's hints.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/atspi/desktop_status.h"
#include "platform/base/diagnostics.h"
#include "platform/base/dpi.h"
#include "platform/base/sound.h"
#include "platform/base/system_metrics.h"
#include "platform/base/translate.h"
#include "platform/platform.h"
#include "platform/sdl/desktop_scale.h"
#include "platform/sdl/lost_display.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/ttf_rasterizer.h"
#include "platform/sdl/x11_window.h"
#include "platform/window/accessibility.h"
#include "platform/window/top_windows.h"

namespace {

// The displays a window can open on, in the order they are tried.
struct DisplayKind {
    const char* pszVariable;
    const char* pszDriver;
};
constexpr DisplayKind kDisplays[] = {{"DISPLAY", "x11"}, {"WAYLAND_DISPLAY", "wayland"}};

// Where D-Bus finds the session bus when no address is set (the user's bus of systemd), and
// the address that tells it there is none.
constexpr const char* kSessionBusAddress = "DBUS_SESSION_BUS_ADDRESS";
constexpr const char* kUserBusInRuntimeDir = "/bus";
constexpr const char* kNoBus = "disabled:";

bool IsSet(const char* pszVariable) {
    const char* pszValue = std::getenv(pszVariable);
    return pszValue != nullptr && *pszValue != '\0';
}

// The X11 window class and the Wayland app id, which desktops match to the program's desktop
// file.
void NameWindowClass(const char* pszWindowClass) {
    if (pszWindowClass != nullptr) {
        setenv("SDL_VIDEO_X11_WMCLASS", pszWindowClass, 1);
        setenv("SDL_VIDEO_WAYLAND_WMCLASS", pszWindowClass, 1);
    }
}

void SetHints() {
    SDL_SetHint(SDL_HINT_APP_NAME, AfxGetProgramName());
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The click that activates a window also acts, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_TIME, std::to_string(GetDoubleClickTime()).c_str());
}

// Only a real display will do. Left to itself SDL would fall back to drivers that show
// nothing, and a game nobody can see is worse than a clear error. Answers false, after the
// one line, when the environment names no display; *pstrDisplays receives those it names.
bool ChooseDisplays(std::string* pstrDisplays) {
    if (IsSet("SDL_VIDEODRIVER")) {
        return true;
    }
    std::string strDrivers;
    for (const auto& display : kDisplays) {
        if (IsSet(display.pszVariable)) {
            strDrivers += (strDrivers.empty() ? "" : ",") + std::string(display.pszDriver);
            *pstrDisplays += std::string(pstrDisplays->empty() ? "" : ", ") + display.pszVariable +
                             "=" + std::getenv(display.pszVariable);
        }
    }
    if (strDrivers.empty()) {
        SDL_SetError("%s", AfxTranslate("no display (neither DISPLAY nor WAYLAND_DISPLAY is set)"));
        AfxReportWindowError();
        return false;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, strDrivers.c_str());
    return true;
}

// Without a session bus, D-Bus would start one for the display (dbus-launch's autolaunch),
// which outlives the game. SDL's bus features, the screensaver inhibit and the input-method
// bridge, are then simply absent.
void NeverStartASessionBus() {
    if (IsSet(kSessionBusAddress)) {
        return;
    }
    const char* pszRuntime = std::getenv("XDG_RUNTIME_DIR");
    if (pszRuntime != nullptr &&
        access((std::string(pszRuntime) + kUserBusInRuntimeDir).c_str(), F_OK) == 0) {
        return;
    }
    setenv(kSessionBusAddress, kNoBus, 1);
}

bool StartVideo(const std::string& strDisplays) {
    if (SDL_Init(SDL_INIT_VIDEO) == 0) {
        return true;
    }
    if (!strDisplays.empty()) {
        SDL_SetError("%s (%s)", std::string(SDL_GetError()).c_str(), strDisplays.c_str());
    }
    AfxReportWindowError();
    return false;
}

// The double-click box follows the DPI; SDL measures it in the desktop's units.
void SetDoubleClickBox() {
    SDL_SetHint(
        SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS,
        std::to_string(GetSystemMetrics(SM_CXDOUBLECLK) / 2 / AfxGetPixelDensity()).c_str());
}

}  // namespace

BOOL AfxInitPlatform(const char* pszWindowClass) {
    AfxInitTranslations();
    AfxSetScreenDriver(&AfxSdlScreen());
    AfxSetSoundDriver(&AfxSdlAudio());
    AfxSetTextRasterizer(&AfxTtfRasterizer());
    NameWindowClass(pszWindowClass);
    SetHints();
    std::string strDisplays;
    if (!ChooseDisplays(&strDisplays)) {
        return FALSE;
    }
    AfxInstallX11Handlers();
    NeverStartASessionBus();
    if (!StartVideo(strDisplays)) {
        return FALSE;
    }
    AfxTakeScreenScale();
    SetDoubleClickBox();
    AfxSdlScreen().ChoosePresentation();
    AfxSdlScreen().PrepareWaiting();
    AfxWatchDesktopAccessibility([] { AfxScreen().Wake(); });
    return TRUE;
}

void AfxTermPlatform() {
    AfxCloseSound();
    AfxSetAccessibilityDriver(nullptr);
    AfxSetSoundDriver(nullptr);
    AfxSetScreenDriver(nullptr);
    AfxSetTextRasterizer(nullptr);
    SDL_Quit();
}
