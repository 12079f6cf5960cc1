// CPaintDC: the context a WM_PAINT handler draws the window's pending update area with.
#pragma once

#include "platform/gdi/dc.h"
#include "platform/window/wnd.h"

// Takes the window's pending update area, erases it first when that was asked for, limits
// drawing to it, and shows the result on screen when the context goes.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    RECT m_rcPaint{0, 0, 0, 0};

private:
    CWnd* m_pWnd;
    // Painted while the window is minimised.
    bool m_bIconic;
};
