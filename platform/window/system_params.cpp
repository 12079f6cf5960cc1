#include "platform/window/system_params.h"

#include <vector>

#include "platform/window/messages.h"
#include "platform/window/top_windows.h"

namespace {

BOOL g_bScreenReader = FALSE;

void SendSettingChange(UINT uiAction) {
    // A window may close others while it handles the message.
    const std::vector<CWnd*> windows = AfxOpenWindows();
    for (CWnd* pWnd : windows) {
        if (AfxIsWindowOpen(pWnd)) {
            pWnd->SendMessage(WM_SETTINGCHANGE, uiAction, 0);
        }
    }
}

}  // namespace

BOOL SystemParametersInfo(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni) {
    switch (uiAction) {
        case SPI_GETSCREENREADER:
            if (pvParam == nullptr) {
                return FALSE;
            }
            *static_cast<BOOL*>(pvParam) = g_bScreenReader;
            return TRUE;
        case SPI_SETSCREENREADER: {
            const BOOL bOn = uiParam != 0 ? TRUE : FALSE;
            const bool bChanged = bOn != g_bScreenReader;
            g_bScreenReader = bOn;
            if (bChanged && (fWinIni & SPIF_SENDCHANGE) != 0) {
                SendSettingChange(uiAction);
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}
