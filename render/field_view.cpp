#include "render/field_view.h"

void CFieldView::ResetView() {
    SetRectEmpty(&m_rcBoard);
    SetRectEmpty(&m_rcTitle);
    SetRectEmpty(&m_rcStart);
    SetRectEmpty(&m_rcStop);
    SetRectEmpty(&m_rcExit);
    SetRectEmpty(&m_rcRead);
    m_strTitle = "";
    m_nMode = kModeTitle;
}
