#include "platform/window/win_app.h"

#include <cerrno>

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
