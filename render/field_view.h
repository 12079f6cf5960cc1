// CFieldView: the screen state of the game field.
#pragma once

#include <atomic>

#include "platform/cstring.h"
#include "platform/win_types.h"

// The layout (the board and the drawn buttons, in the dialog's client coordinates), the
// screen mode and the title. The dialog writes the layout before any worker exists; the
// mode is switched by the dialog and by the game's worker, so it is atomic.
class CFieldView {
public:
    static constexpr int kModeTitle = 0;
    static constexpr int kModePlaying = 1;

    CFieldView() { ResetView(); }
    virtual ~CFieldView() = default;
    CFieldView(const CFieldView&) = delete;
    CFieldView& operator=(const CFieldView&) = delete;

    void ResetView();
    virtual void SetBoardRect(RECT rc) { m_rcBoard = rc; }
    void SetTitle(CString strTitle) { m_strTitle = strTitle; }

    BOOL HitStart(POINT pt) const { return PtInRect(&m_rcStart, pt); }
    BOOL HitExit(POINT pt) const { return PtInRect(&m_rcExit, pt); }
    BOOL HitStop(POINT pt) const { return PtInRect(&m_rcStop, pt); }

    RECT m_rcBoard;
    RECT m_rcTitle;
    RECT m_rcStart;
    RECT m_rcStop;
    RECT m_rcExit;
    RECT m_rcRead;  // no control feeds it, so it stays empty
    std::atomic<int> m_nMode{kModeTitle};
    CString m_strTitle;
};
