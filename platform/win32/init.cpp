// Starting the platform on Windows: the drivers installed, the windows' class registered, and
// the screen's DPI taken as the program's logical DPI.
#include "platform/base/dpi.h"
#include "platform/base/sound.h"
#include "platform/base/translate.h"
#include "platform/platform.h"
#include "platform/win32/gdi_rasterizer.h"
#include "platform/win32/native_window.h"
#include "platform/win32/win32_screen.h"
#include "platform/win32/winmm_audio.h"
#include "platform/window/top_windows.h"

BOOL AfxInitPlatform(const char* /*pszWindowClass*/) {
    AfxInitTranslations();
    AfxSetScreenDriver(&AfxWin32Screen());
    AfxSetSoundDriver(&AfxWinmmAudio());
    AfxSetTextRasterizer(&AfxGdiRasterizer());
    if (!AfxWin32Screen().Start()) {
        AfxReportWindowError();
        return FALSE;
    }
    AfxSetLogicalDpi(native::ScreenDpi());
    return TRUE;
}

void AfxTermPlatform() {
    AfxCloseSound();
    AfxSetSoundDriver(nullptr);
    AfxSetScreenDriver(nullptr);
    AfxSetTextRasterizer(nullptr);
    AfxWin32Screen().Stop();
}
