#include "platform/win_app.h"

#include <cerrno>

#include "platform/message_loop.h"

namespace {

CWinApp* g_pApp = nullptr;

}  // namespace

CWinApp::CWinApp(const char* pszAppName)
    : m_pszAppName(pszAppName != nullptr ? pszAppName : program_invocation_short_name) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this) {
        g_pApp = nullptr;
    }
}

void CWinApp::WinHelp(DWORD /*dwData*/, UINT /*nCmd*/) {}

CWinApp* AfxGetApp() {
    return g_pApp;
}

int AfxWinMain() {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || !AfxInitPlatform(pApp->m_pszAppName, pApp->m_pszWindowClass)) {
        return 1;
    }
    pApp->InitInstance();
    const int nExitCode = pApp->ExitInstance();
    AfxTermPlatform();
    return nExitCode;
}
