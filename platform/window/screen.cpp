#include "platform/window/screen.h"

#include <atomic>

namespace {

// No screen: no window opens, and nothing ever arrives.
class CNoScreen : public CScreenDriver {
public:
    HSCREEN Open(const ScreenWindowSpec& /*wanted*/, RECT* /*prcClient*/) override {
        return nullptr;
    }
    void Show(HSCREEN /*hScreen*/) override {}
    void Activate(HSCREEN /*hScreen*/) override {}
    void Minimize(HSCREEN /*hScreen*/) override {}
    bool IsMinimized(HSCREEN /*hScreen*/) const override { return false; }
    void Close(HSCREEN /*hScreen*/) override {}
    const char* LastError() const override { return "no screen"; }
    HSURFACE Surface(HSCREEN /*hScreen*/) override { return nullptr; }
    void Present(HSCREEN /*hScreen*/, const RECT* /*prc*/) override {}
    void SetIcon(HSCREEN /*hScreen*/, HICON /*hIcon*/, bool /*bBig*/) override {}
    bool OpenSystemMenu(HSCREEN /*hScreen*/) override { return false; }
    void Gather(int /*nTimeoutMs*/, CWaitList* /*pWaits*/) override {}
    bool NextEvent(ScreenEvent* /*pEvent*/) override { return false; }
    void Wake() override {}
};

CNoScreen g_noScreen;
// Read by every thread that wakes the UI thread, so written atomically.
std::atomic<CScreenDriver*> g_pDriver{&g_noScreen};

}  // namespace

CScreenDriver& AfxScreen() {
    return *g_pDriver.load();
}

void AfxSetScreenDriver(CScreenDriver* pDriver) {
    g_pDriver = pDriver != nullptr ? pDriver : &g_noScreen;
}
