// The application's run, as MFC's AfxWinMain has it: the platform started, InitInstance, and
// the platform stopped again. Built into the program with the backend's entry point.
#include "platform/platform.h"
#include "platform/window/win_app.h"

int AfxWinMain() {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || !AfxInitPlatform(pApp->m_pszWindowClass)) {
        return 1;
    }
    pApp->InitInstance();
    const int nExitCode = pApp->ExitInstance();
    AfxTermPlatform();
    return nExitCode;
}
