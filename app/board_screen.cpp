#include "app/board_screen.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "app/resource.h"
#include "platform/base/translate.h"
#include "platform/base/ui_language.h"
#include "platform/window/system_params.h"

namespace {

constexpr CBoardScreen::Button kButtons[] = {
    {IDCANCEL, &CFieldView::m_rcStart, CFieldView::kStartText, CFieldView::kModeTitle,
     CBoardScreen::Action::kStart},
    {IDOK, &CFieldView::m_rcExit, CFieldView::kExitText, CFieldView::kModeTitle,
     CBoardScreen::Action::kExit},
    {IDC_STOP, &CFieldView::m_rcStop, CFieldView::kStopText, CFieldView::kModePlaying,
     CBoardScreen::Action::kStop},
};

}  // namespace

void CBoardScreen::Begin() {
    AfxSetAccessibleItems(m_pWnd, Items());
    AfxSetAccessibleFocus(m_pWnd, Shown().front()->nID);
    AfxDescribeAccessible(m_pWnd, IDC_BOARD, TitleName());
}

std::vector<const CBoardScreen::Button*> CBoardScreen::Shown() const {
    std::vector<const Button*> buttons;
    for (const Button& button : kButtons) {
        if (button.nMode == m_pField->m_nMode) {
            buttons.push_back(&button);
        }
    }
    return buttons;
}

const CBoardScreen::Button* CBoardScreen::ButtonAt(POINT pt) const {
    for (const Button* pButton : Shown()) {
        if (PtInRect(&(m_pField->*pButton->prc), pt)) {
            return pButton;
        }
    }
    return nullptr;
}

const CBoardScreen::Button* CBoardScreen::Focused() const {
    const UINT nFocus = AfxGetAccessibleFocus(m_pWnd);
    for (const Button* pButton : Shown()) {
        if (pButton->nID == nFocus) {
            return pButton;
        }
    }
    return nullptr;
}

void CBoardScreen::MoveFocus(int nStep) {
    const std::vector<const Button*> buttons = Shown();
    const auto it = std::find(buttons.begin(), buttons.end(), Focused());
    const int nCount = static_cast<int>(buttons.size());
    const int nAt = it != buttons.end() ? static_cast<int>(it - buttons.begin()) : -nStep;
    AfxSetAccessibleFocus(
        m_pWnd, buttons[static_cast<size_t>(((nAt + nStep) % nCount + nCount) % nCount)]->nID);
    m_bFocusShown = true;
    m_pWnd->InvalidateRect(nullptr, FALSE);
}

RECT CBoardScreen::FocusRect() const {
    BOOL bScreenReader = FALSE;
    SystemParametersInfo(SPI_GETSCREENREADER, 0, &bScreenReader, 0);
    const Button* pFocused = Focused();
    if (pFocused == nullptr || !(m_bFocusShown || bScreenReader)) {
        return RECT{0, 0, 0, 0};
    }
    return m_pField->*pFocused->prc;
}

std::vector<AccessibleItem> CBoardScreen::Items() const {
    const CGameField& field = *m_pField;
    std::vector<AccessibleItem> items{
        {IDC_BOARD, AccessibleRole::kPanel, kBoardName, field.m_rcBoard, true, ""},
        {IDC_TITLE, AccessibleRole::kLabel, TitleName(), field.m_rcTitle,
         field.m_nMode == CFieldView::kModeTitle, ""},
    };
    for (const Button& button : kButtons) {
        items.push_back({button.nID, AccessibleRole::kPushButton, button.pszLabel,
                         field.*button.prc, button.nMode == field.m_nMode, ""});
    }
    return items;
}

const char* CBoardScreen::TitleName() const {
    const bool bJapanese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
    return bJapanese ? m_pField->m_strTitle.GetString().c_str() : kTitleReading;
}

void CBoardScreen::FollowMode() {
    if (m_pField->m_nMode != m_nMode) {
        m_nMode = m_pField->m_nMode;
        AfxSetAccessibleItems(m_pWnd, Items());
        // There is always a drawn button with the focus, for the reader to speak.
        AfxSetAccessibleFocus(m_pWnd, Shown().front()->nID);
    }
}

void CBoardScreen::Say(const char* pszText) {
    AfxDescribeAccessible(m_pWnd, IDC_BOARD, pszText);
    AfxAnnounce(m_pWnd, pszText);
}

void CBoardScreen::RunStarted(const std::string& strFirst) {
    m_bOutcome = m_bStopped = false;
    FollowMode();
    Say((strFirst.empty() ? kGameStartedText : strFirst + ". " + kGameStartedText).c_str());
}

void CBoardScreen::RunStopped() {
    m_bStopped = true;
    FollowMode();
    Say(kGameStoppedText);
}

void CBoardScreen::OutcomeSet(const CString& strStatus) {
    if (!strStatus.IsEmpty() && !m_bStopped) {
        m_bOutcome = true;
        Say(strStatus);
    }
}

void CBoardScreen::RunEnded() {
    FollowMode();
    if (std::exchange(m_bOutcome, false) && !m_bStopped) {
        Say(TitleName());
    }
}
