// A game field laid out as the main dialog lays it out, and a client surface to paint on.
#pragma once

#include "app/resource.h"
#include "app/resources.h"
#include "platform/gdi/dc.h"
#include "platform/window/dialog_units.h"
#include "render/game_field.h"
#include "tests/support/board_setup.h"

namespace testing_layout {

inline RECT ControlRect(int nID, SIZE sizeBase) {
    for (int i = 0; i < g_dlgGame.nItems; ++i) {
        const DLGITEMTEMPLATE& item = g_dlgGame.pItems[i];
        if (item.nID == nID) {
            return AfxMapDialogRect(item.x, item.y, item.cx, item.cy, sizeBase);
        }
    }
    return RECT{0, 0, 0, 0};
}

inline SIZE ClientSize() {
    const RECT rc =
        AfxMapDialogRect(0, 0, g_dlgGame.cx, g_dlgGame.cy, AfxGetDialogBaseUnits(g_dlgGame));
    return SIZE{rc.right, rc.bottom};
}

// What the dialog's initialisation gives the field.
inline void LayOut(CGameField& field) {
    const SIZE sizeBase = AfxGetDialogBaseUnits(g_dlgGame);
    const RECT rcBoard = ControlRect(IDC_BOARD, sizeBase);
    testing_board::SetUpBoard(field, rcBoard);
    field.m_nGoal = 500;
    field.m_rcTitle = ControlRect(IDC_TITLE, sizeBase);
    field.SetTitle("ぽよるん");
    field.m_rcStart = ControlRect(IDCANCEL, sizeBase);
    field.m_rcStop = ControlRect(IDC_STOP, sizeBase);
    field.m_rcExit = ControlRect(IDOK, sizeBase);
}

// A memory context standing in for the dialog's client area, erased to the dialog face.
class CClientSurface {
public:
    explicit CClientSurface(SIZE size) {
        m_bitmap.CreateCompatibleBitmap(nullptr, size.cx, size.cy);
        m_dc.CreateCompatibleDC(nullptr);
        m_dc.SelectObject(&m_bitmap);
        const RECT rc{0, 0, size.cx, size.cy};
        m_dc.FillSolidRect(&rc, GetSysColor(COLOR_BTNFACE));
    }
    CDC& DC() { return m_dc; }
    CBitmap& Bitmap() { return m_bitmap; }

private:
    CBitmap m_bitmap;
    CDC m_dc;
};

}  // namespace testing_layout
