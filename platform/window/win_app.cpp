#include "platform/window/win_app.h"

#include "platform/base/diagnostics.h"

namespace {

CWinApp* g_pApp = nullptr;

}  // namespace

CWinApp::CWinApp(const char* pszAppName)
    : m_pszAppName(pszAppName != nullptr ? pszAppName : AfxGetProgramName()) {
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
