// The screen on Win32: the program's windows as Windows' own, each with its pixels in a DIB
// section that paint contexts draw on and Present copies to the window; the UI thread's wait
// on the message queue and an event that other threads set to wake it. The win32 layer's own.
#pragma once

#include <deque>
#include <map>
#include <memory>

#include "platform/gdi/gdi_impl.h"
#include "platform/window/screen.h"

struct HSCREEN__ {
    void* hWindow = nullptr;
    HSCREEN hOwner = nullptr;
    bool bBigIcon = false;
    HSURFACE__ surface;
};

class CWin32Screen : public CScreenDriver {
public:
    // Registers the windows' class; false, with LastError saying why, when it cannot.
    bool Start();
    void Stop();

    HSCREEN Open(const ScreenWindowSpec& wanted, RECT* prcClient) override;
    void Show(HSCREEN hScreen) override;
    void Activate(HSCREEN hScreen) override;
    void Minimize(HSCREEN hScreen) override;
    bool IsMinimized(HSCREEN hScreen) const override;
    void Close(HSCREEN hScreen) override;
    const char* LastError() const override;
    HSURFACE Surface(HSCREEN hScreen) override;
    void Present(HSCREEN hScreen, const RECT* prc) override;
    void SetIcon(HSCREEN hScreen, HICON hIcon, bool bBig) override;
    bool OpenSystemMenu(HSCREEN hScreen) override;
    void Gather(int nTimeoutMs, CWaitList* pWaits) override;
    bool NextEvent(ScreenEvent* pEvent) override;
    void Wake() override;

private:
    HSCREEN FindByWindow(void* hWindow) const;

    std::map<void*, std::unique_ptr<HSCREEN__>> m_windows;
    std::deque<ScreenEvent> m_events;
};

// The screen that AfxInitPlatform installs.
CWin32Screen& AfxWin32Screen();
