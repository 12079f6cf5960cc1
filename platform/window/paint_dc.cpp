#include "platform/window/paint_dc.h"

#include "platform/window/frame_trace.h"
#include "platform/window/system_menu.h"
#include "platform/window/wnd_system.h"

CPaintDC::CPaintDC(CWnd* pWnd) : m_pWnd(pWnd), m_bIconic(pWnd->IsIconic()) {
    BOOL bErase = FALSE;
    if (!pWnd->BeginPaint(&m_rcPaint, &bErase) || pWnd->System() == nullptr) {
        SetRectEmpty(&m_rcPaint);
        return;
    }
    AttachSurface(AfxScreen().Surface(pWnd->System()->hScreen));
    SetClipRect(&m_rcPaint);
    if (bErase) {
        pWnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(GetSafeHdc()), 0);
    }
}

CPaintDC::~CPaintDC() {
    WndSystem* pSystem = m_pWnd->System();
    if (IsRectEmpty(&m_rcPaint) || pSystem == nullptr) {
        return;
    }
    // The minimised picture stays off the screen: the window repaints whole when it is
    // restored, and until a whole repaint, showing the pixels again repaints rather than
    // shows it.
    if (m_bIconic) {
        pSystem->bMinimisedPicture = true;
        return;
    }
    RECT rcShown = m_rcPaint;
    RECT rcClient;
    m_pWnd->GetClientRect(&rcClient);
    if (EqualRect(&m_rcPaint, &rcClient)) {
        pSystem->bMinimisedPicture = false;
    }
    // An open menu stays on top of whatever the window has just painted.
    const RECT rcMenu = AfxDrawSystemMenu(m_pWnd);
    UnionRect(&rcShown, &rcShown, &rcMenu);
    AfxScreen().Present(pSystem->hScreen, &rcShown);
    AfxTraceFrame();
}
