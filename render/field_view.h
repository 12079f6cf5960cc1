// CFieldView: the screen state of the game field.
#pragma once

#include <atomic>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"

// The layout (the board and the drawn buttons, in the dialog's client coordinates), the
// screen mode and the title, and the painting of each frame through two back buffers. The
// dialog writes the layout before any worker exists; the mode is switched by the dialog and
// by the game's worker, so it is atomic. Painting happens on the UI thread only.
class CFieldView {
public:
    static constexpr int kModeTitle = 0;
    static constexpr int kModePlaying = 1;
    // Label sizes, in tenths of a point.
    static constexpr int kTitlePointSize = 400;
    static constexpr int kButtonPointSize = 200;
    static constexpr int kStatusPointSize = 200;
    // The drawn buttons' words.
    static constexpr const char* kStartText = "Start";
    static constexpr const char* kExitText = "Exit";
    static constexpr const char* kStopText = "Stop";
    // How far the title's ink stays inside the edge of its box: the outline, and one pixel.
    static constexpr int kTitleClearance = 2;

    CFieldView() { ResetView(); }
    virtual ~CFieldView() = default;
    CFieldView(const CFieldView&) = delete;
    CFieldView& operator=(const CFieldView&) = delete;

    void ResetView();
    // Draws the frame into the back buffers and copies the board, and while playing the Stop
    // button, to pDC. Each buffer is made at the first paint that needs it, from the layout
    // of then.
    void Paint(CDC* pDC, CString strStatus);
    virtual void Draw(CDC* pDC, CString strStatus) = 0;
    virtual void SetBoardRect(RECT rc) { m_rcBoard = rc; }
    void SetTitle(CString strTitle) { m_strTitle = strTitle; }

    BOOL HitStart(POINT pt) const { return PtInRect(&m_rcStart, pt); }
    BOOL HitExit(POINT pt) const { return PtInRect(&m_rcExit, pt); }
    BOOL HitStop(POINT pt) const { return PtInRect(&m_rcStop, pt); }

    void FillBoard(CDC* pDC, COLORREF crColour);
    void DrawTitle(CDC* pDC);
    void DrawMenuButtons(CDC* pDC, int nPointSize);
    void DrawStopButton(CDC* pDC);
    void DrawStatusLabel(CDC* pDC, CString strText, int nPointSize, COLORREF crColour);
    // The focus frame on the button at rc, if it has the focus.
    void DrawFocus(CDC* pDC, const RECT& rc);

    RECT m_rcBoard;
    RECT m_rcTitle;
    RECT m_rcStart;
    RECT m_rcStop;
    RECT m_rcExit;
    RECT m_rcRead;  // no control feeds it, so it stays empty
    // The drawn button that shows the keyboard's focus, or empty for none.
    RECT m_rcFocus;
    std::atomic<int> m_nMode{kModeTitle};
    CString m_strTitle;

    BOOL m_bRebuildBoard = TRUE;
    BOOL m_bRebuildStop = TRUE;
    CDC m_dcBoard;
    CDC m_dcStop;
    CBitmap m_bmpBoard;
    CBitmap m_bmpStop;

private:
    // Makes a buffer covering the client area from (0, 0) to rc's right and bottom.
    static void RebuildBuffer(CDC* pDC, const RECT& rc, CDC& dcBuffer, CBitmap& bmpBuffer);
    // Copies rc from the buffer to the same place on pDC.
    static void CopyBuffer(CDC* pDC, const RECT& rc, CDC& dcBuffer);
};
