#include "render/field_view.h"

#include "platform/gdi/theme.h"
#include "render/colours.h"
#include "render/rect_painter.h"

namespace {

struct MenuButton {
    const RECT CFieldView::*prc;
    const char* pszText;
};

// The title screen's buttons, in drawing order. "Read" has no area, so it never shows.
constexpr MenuButton kMenuButtons[] = {
    {&CFieldView::m_rcStart, CFieldView::kStartText},
    {&CFieldView::m_rcExit, CFieldView::kExitText},
    {&CFieldView::m_rcRead, "Read"},
};

}  // namespace

void CFieldView::ResetView() {
    SetRectEmpty(&m_rcBoard);
    SetRectEmpty(&m_rcTitle);
    SetRectEmpty(&m_rcStart);
    SetRectEmpty(&m_rcStop);
    SetRectEmpty(&m_rcExit);
    SetRectEmpty(&m_rcRead);
    SetRectEmpty(&m_rcFocus);
    m_strTitle = "";
    m_nMode = kModeTitle;
}

void CFieldView::Paint(CDC* pDC, CString strStatus) {
    if (m_bRebuildBoard) {
        RebuildBuffer(pDC, m_rcBoard, m_dcBoard, m_bmpBoard);
        m_bRebuildBoard = FALSE;
    }
    Draw(&m_dcBoard, strStatus);
    CopyBuffer(pDC, m_rcBoard, m_dcBoard);
    if (m_nMode == kModePlaying) {
        // Made with the first run's frame: the title screen has no Stop button to hold.
        if (m_bRebuildStop) {
            RebuildBuffer(pDC, m_rcStop, m_dcStop, m_bmpStop);
            m_bRebuildStop = FALSE;
        }
        DrawStopButton(&m_dcStop);
        CopyBuffer(pDC, m_rcStop, m_dcStop);
    }
}

void CFieldView::RebuildBuffer(CDC* pDC, const RECT& rc, CDC& dcBuffer, CBitmap& bmpBuffer) {
    bmpBuffer.DeleteObject();
    bmpBuffer.CreateCompatibleBitmap(pDC, rc.right, rc.bottom);
    dcBuffer.DeleteDC();
    dcBuffer.CreateCompatibleDC(pDC);
    dcBuffer.SelectObject(&bmpBuffer);
}

void CFieldView::CopyBuffer(CDC* pDC, const RECT& rc, CDC& dcBuffer) {
    pDC->BitBlt(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, &dcBuffer, rc.left, rc.top,
                SRCCOPY);
}

void CFieldView::FillBoard(CDC* pDC, COLORREF crColour) {
    CRectPainter painter(pDC);
    painter.FillRect(m_rcBoard, crColour, crColour);
}

void CFieldView::DrawTitle(CDC* pDC) {
    CRectPainter painter(pDC);
    painter.FillRect(m_rcTitle, colours::kGrey, colours::kDarkGrey);
    // The title's face draws some glyphs above its line; they keep clear of the outline.
    const RECT rcInside{m_rcTitle.left + kTitleClearance, m_rcTitle.top + kTitleClearance,
                        m_rcTitle.right - kTitleClearance, m_rcTitle.bottom - kTitleClearance};
    painter.DrawFittedLabel(rcInside, m_strTitle, kTitlePointSize, kButtonPointSize, colours::kRed);
}

void CFieldView::DrawMenuButtons(CDC* pDC, int nPointSize) {
    CRectPainter painter(pDC);
    for (const MenuButton& button : kMenuButtons) {
        const RECT& rc = this->*button.prc;
        painter.FillRect(rc, colours::kGrey, colours::kDarkGrey);
        painter.DrawLabel(rc, button.pszText, nPointSize, colours::kYellow);
        DrawFocus(pDC, rc);
    }
}

void CFieldView::DrawStopButton(CDC* pDC) {
    CRectPainter painter(pDC);
    painter.FillRect(m_rcStop, colours::kDarkGrey, colours::kDarkGrey);
    painter.DrawLabel(m_rcStop, kStopText, kButtonPointSize, colours::kYellow);
    DrawFocus(pDC, m_rcStop);
}

void CFieldView::DrawFocus(CDC* pDC, const RECT& rc) {
    if (IsRectEmpty(&rc) || !EqualRect(&rc, &m_rcFocus)) {
        return;
    }
    const RECT rcFrame = theme::FocusFrameIn(rc);
    const COLORREF crOld = pDC->SetTextColor(colours::kYellow);
    pDC->DrawFocusRect(&rcFrame);
    pDC->SetTextColor(crOld);
}

void CFieldView::DrawStatusLabel(CDC* pDC, CString strText, int nPointSize, COLORREF crColour) {
    CRectPainter painter(pDC);
    painter.DrawLabel(m_rcBoard, strText, nPointSize, crColour);
}
