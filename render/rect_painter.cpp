#include "render/rect_painter.h"

#include "render/colours.h"

CPenBrushScope::~CPenBrushScope() {
    m_pDC->SelectObject(m_pOldPen);
    m_pDC->SelectObject(m_pOldBrush);
    m_pen.DeleteObject();
    m_brush.DeleteObject();
    m_pDC->SetROP2(R2_COPYPEN);
}

void CRectPainter::FillRect(RECT rc, COLORREF crPen, COLORREF crBrush) {
    CSolidPenBrushScope scope(m_pDC);
    m_pDC->SetBkColor(colours::kBlack);
    scope.m_pen.CreatePen(PS_SOLID, 1, crPen);
    scope.m_brush.CreateSolidBrush(crBrush);
    scope.m_pOldPen = m_pDC->SelectObject(&scope.m_pen);
    scope.m_pOldBrush = m_pDC->SelectObject(&scope.m_brush);
    m_pDC->Rectangle(rc.left, rc.top, rc.right, rc.bottom);
}

void CRectPainter::DrawLabel(RECT rc, CString strText, int nPointSize, COLORREF crText) {
    CFont font;
    font.CreatePointFont(nPointSize, kLabelFace);
    CFont* pOldFont = m_pDC->SelectObject(&font);
    const COLORREF crOldText = m_pDC->SetTextColor(crText);
    m_pDC->SetBkMode(TRANSPARENT);
    m_pDC->DrawText(strText, strText.GetLength(), &rc, kLabelFormat);
    m_pDC->SetTextColor(crOldText);
    m_pDC->SelectObject(pOldFont);
    font.DeleteObject();
}
