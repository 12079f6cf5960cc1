#include "platform/win32/win32_screen.h"

#include <vector>

#include "platform/base/icon.h"
#include "platform/base/system_metrics.h"
#include "platform/win32/native_window.h"
#include "platform/window/menu.h"
#include "platform/window/top_windows.h"

namespace {

// Windows' own entries of a system menu carry commands from here up; the window layer's
// Close is one of them, and Windows shows its own.
constexpr UINT kFirstWindowsCommand = 0xF000;
constexpr std::uint32_t kOpaque = 0xFF000000;

native::Rect ToNative(const RECT& rc) {
    return native::Rect{rc.left, rc.top, rc.right, rc.bottom};
}

RECT FromNative(const native::Rect& rc) {
    return RECT{rc.left, rc.top, rc.right, rc.bottom};
}

MouseButton ButtonOf(native::Button button) {
    switch (button) {
        case native::Button::kLeft:
            return MouseButton::kLeft;
        case native::Button::kMiddle:
            return MouseButton::kMiddle;
        case native::Button::kRight:
            return MouseButton::kRight;
        case native::Button::kOther:
            break;
    }
    return MouseButton::kOther;
}

ScreenEventKind KindOf(native::EventKind kind) {
    switch (kind) {
        case native::EventKind::kClose:
            return ScreenEventKind::kClose;
        case native::EventKind::kMinimized:
            return ScreenEventKind::kMinimized;
        case native::EventKind::kRestored:
            return ScreenEventKind::kRestored;
        case native::EventKind::kActivated:
            return ScreenEventKind::kActivated;
        case native::EventKind::kDeactivated:
            return ScreenEventKind::kDeactivated;
        case native::EventKind::kMoved:
            return ScreenEventKind::kMoved;
        case native::EventKind::kMouseMove:
            return ScreenEventKind::kMouseMove;
        case native::EventKind::kButtonDown:
            return ScreenEventKind::kButtonDown;
        case native::EventKind::kButtonUp:
            return ScreenEventKind::kButtonUp;
        case native::EventKind::kKeyDown:
            return ScreenEventKind::kKeyDown;
        case native::EventKind::kSystemCommand:
            return ScreenEventKind::kSystemCommand;
        case native::EventKind::kQuit:
            break;
    }
    return ScreenEventKind::kQuit;
}

// The program's entries of the window's menu, as they are now.
std::vector<native::MenuEntry> ProgramEntries(HSCREEN hScreen) {
    std::vector<native::MenuEntry> entries;
    CWnd* pWnd = hScreen != nullptr ? AfxFindScreenWindow(hScreen) : nullptr;
    const CMenu* pMenu = pWnd != nullptr ? pWnd->GetSystemMenu(FALSE) : nullptr;
    if (pMenu == nullptr) {
        return entries;
    }
    for (const CMenu::Item& item : pMenu->Items()) {
        if (item.nID < kFirstWindowsCommand) {
            entries.push_back(native::MenuEntry{item.nID, static_cast<const char*>(item.strText),
                                                (item.nFlags & MF_SEPARATOR) != 0,
                                                (item.nFlags & MF_CHECKED) != 0});
        }
    }
    return entries;
}

// The icon's image at the size the desktop shows, as ARGB pixels, top row first.
std::vector<std::uint32_t> IconPixels(HICON hIcon, const ICONIMAGE& image, int nScale) {
    const int cx = image.cx * nScale;
    std::vector<std::uint32_t> argb(static_cast<size_t>(cx) * static_cast<size_t>(image.cy) *
                                    static_cast<size_t>(nScale));
    for (size_t i = 0; i < argb.size(); ++i) {
        const int x = static_cast<int>(i % cx) / nScale;
        const int y = static_cast<int>(i / cx) / nScale;
        const COLORREF cr = AfxGetIconPixel(hIcon, image, x, y);
        const std::uint32_t nColour = (static_cast<std::uint32_t>(GetRValue(cr)) << 16) |
                                      (static_cast<std::uint32_t>(GetGValue(cr)) << 8) |
                                      GetBValue(cr);
        argb[i] = AfxIsIconPixelTransparent(image, x, y) ? 0 : kOpaque | nColour;
    }
    return argb;
}

}  // namespace

bool CWin32Screen::Start() {
    native::Listener listener;
    listener.fnEvent = [this](const native::Event& from) {
        ScreenEvent event;
        event.kind = KindOf(from.kind);
        event.hScreen = FindByWindow(from.hWindow);
        event.pt = POINT{from.x, from.y};
        event.button = ButtonOf(from.button);
        event.nClicks = from.nClicks;
        event.bLeftDown = from.bLeftDown;
        event.nKey = from.nKey;
        event.bAlt = from.bAlt;
        event.bShift = from.bShift;
        event.bRepeat = from.bRepeat;
        event.rcClient = FromNative(from.rcClient);
        event.bResized = from.bResized;
        event.nCommand = from.nCommand;
        if (event.hScreen != nullptr || event.kind == ScreenEventKind::kQuit) {
            m_events.push_back(event);
        }
    };
    listener.fnSystemMenu = [this](void* hWindow) { return ProgramEntries(FindByWindow(hWindow)); };
    return native::Start(listener);
}

void CWin32Screen::Stop() {
    native::Stop();
}

HSCREEN CWin32Screen::Open(const ScreenWindowSpec& wanted, RECT* prcClient) {
    native::Rect rcActual{0, 0, 0, 0};
    void* hWindow =
        native::OpenWindow(wanted.pszCaption, ToNative(wanted.rcClient), wanted.bCentred,
                           wanted.hOwner != nullptr ? wanted.hOwner->hWindow : nullptr, &rcActual);
    if (hWindow == nullptr) {
        return nullptr;
    }
    auto pScreen = std::make_unique<HSCREEN__>();
    pScreen->hWindow = hWindow;
    pScreen->hOwner = wanted.hOwner;
    *prcClient = FromNative(rcActual);
    HSCREEN hScreen = pScreen.get();
    m_windows[hWindow] = std::move(pScreen);
    return hScreen;
}

void CWin32Screen::Show(HSCREEN hScreen) {
    native::ShowWindow(hScreen->hWindow);
}

void CWin32Screen::Activate(HSCREEN hScreen) {
    native::ActivateWindow(hScreen->hWindow);
}

void CWin32Screen::Minimize(HSCREEN hScreen) {
    native::MinimizeWindow(hScreen->hWindow);
}

bool CWin32Screen::IsMinimized(HSCREEN hScreen) const {
    return native::IsWindowMinimized(hScreen->hWindow);
}

void CWin32Screen::Close(HSCREEN hScreen) {
    void* hWindow = hScreen->hWindow;
    native::CloseWindow(hWindow);
    m_windows.erase(hWindow);
}

const char* CWin32Screen::LastError() const {
    return native::LastError();
}

HSURFACE CWin32Screen::Surface(HSCREEN hScreen) {
    const native::Pixels pixels = native::WindowPixels(hScreen->hWindow);
    if (pixels.pPixels == nullptr) {
        return nullptr;
    }
    hScreen->surface.pixels = PixelBuffer{pixels.cx, pixels.cy, pixels.nPitch, pixels.pPixels};
    return &hScreen->surface;
}

void CWin32Screen::Present(HSCREEN hScreen, const RECT* prc) {
    const native::Rect rc = prc != nullptr ? ToNative(*prc) : native::Rect{0, 0, 0, 0};
    native::PresentWindow(hScreen->hWindow, prc != nullptr ? &rc : nullptr);
}

void CWin32Screen::SetIcon(HSCREEN hScreen, HICON hIcon, bool bBig) {
    int nScale = 1;
    const ICONIMAGE* pImage =
        AfxFindIconImage(hIcon, GetSystemMetrics(bBig ? SM_CXICON : SM_CXSMICON), &nScale);
    if (pImage != nullptr) {
        native::SetWindowIcon(hScreen->hWindow, IconPixels(hIcon, *pImage, nScale),
                              pImage->cx * nScale, pImage->cy * nScale, bBig);
    }
}

bool CWin32Screen::OpenSystemMenu(HSCREEN hScreen) {
    native::OpenSystemMenu(hScreen->hWindow);
    return true;
}

void CWin32Screen::Gather(int nTimeoutMs, CWaitList* /*pWaits*/) {
    // No driver here has handles of its own to wait on: the screen reader's bus is Linux's.
    native::WaitAndDispatch(m_events.empty() ? nTimeoutMs : 0);
}

bool CWin32Screen::NextEvent(ScreenEvent* pEvent) {
    if (m_events.empty()) {
        return false;
    }
    *pEvent = m_events.front();
    m_events.pop_front();
    return true;
}

void CWin32Screen::Wake() {
    native::Wake();
}

HSCREEN CWin32Screen::FindByWindow(void* hWindow) const {
    auto it = m_windows.find(hWindow);
    return it != m_windows.end() ? it->second.get() : nullptr;
}

CWin32Screen& AfxWin32Screen() {
    static CWin32Screen s_screen;
    return s_screen;
}
