// CWinApp and AfxWinMain: the one application object and the program's entry.
#pragma once

#include "platform/base/icon.h"
#include "platform/window/msg_map.h"
#include "platform/window/wnd.h"

class CWinApp : public CCmdTarget {
public:
    // Without a name the program's own name, as the build gives it, serves.
    explicit CWinApp(const char* pszAppName = nullptr);
    ~CWinApp() override;

    // Answers FALSE to end the program without a message loop of its own.
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return m_nExitCode; }
    HICON LoadIcon(UINT nIDResource) const { return ::LoadIcon(nIDResource); }
    // There is no help file; a program that has one overrides WinHelp.
    void OnHelp() { WinHelp(0, 0); }
    virtual void WinHelp(DWORD dwData, UINT nCmd);

    const char* m_pszAppName;
    // The class of the program's windows; SDL's default when null.
    const char* m_pszWindowClass = nullptr;
    CWnd* m_pMainWnd = nullptr;
    // What the program exits with; set when a window cannot be opened.
    int m_nExitCode = 0;
};

CWinApp* AfxGetApp();
