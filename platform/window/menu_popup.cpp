#include "platform/window/menu_popup.h"

#include <algorithm>
#include <cctype>

#include "platform/base/dpi.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/theme.h"
#include "platform/window/dialog_units.h"
#include "platform/window/messages.h"

namespace {

// A one-pixel border at every DPI, as Windows draws it; the other lengths are at 96 DPI.
constexpr int kBorder = 1;
constexpr int kPadding = 2;

// Spacing in multiples of the font's height, so that the menu scales with it: room for
// the check-mark column left of the text, the gap before a shortcut, and the right margin.
constexpr int kTextIndentLines = 2;
constexpr int kShortcutGapLines = 2;
constexpr int kRightMarginLines = 1;
constexpr int kItemExtraPixels = 8;
constexpr int kSeparatorHeight = 9;
// The check mark's stroke, in eighths of the font's height.
constexpr int kCheckStrokeEighths = 1;
constexpr int kEighths = 8;

char MnemonicOf(const CString& str) {
    const std::string& s = str.GetString();
    for (size_t i = 0; i + 1 < s.size(); ++i) {
        if (s[i] == '&') {
            if (s[i + 1] != '&') {
                return static_cast<char>(std::toupper(static_cast<unsigned char>(s[i + 1])));
            }
            ++i;
        }
    }
    return 0;
}

void Split(const CString& str, CString* pLabel, CString* pShortcut) {
    const std::string& s = str.GetString();
    const size_t nTab = s.find('\t');
    *pLabel = CString(s.substr(0, nTab));
    *pShortcut = nTab == std::string::npos ? CString() : CString(s.substr(nTab + 1));
}

// The menu's font, selected into a context for as long as this lives.
class CMenuFont {
public:
    CMenuFont(CDC& dc, const char* pszFace, int nPointSize) : m_dc(dc) {
        AfxCreateDialogFont(&m_font, pszFace, nPointSize);
        m_pOld = dc.SelectObject(&m_font);
    }
    ~CMenuFont() { m_dc.SelectObject(m_pOld); }
    CMenuFont(const CMenuFont&) = delete;
    CMenuFont& operator=(const CMenuFont&) = delete;

    int LineHeight() const {
        TEXTMETRIC tm{};
        m_dc.GetTextMetrics(&tm);
        return std::max<int>(tm.tmHeight, 1);
    }

private:
    CDC& m_dc;
    CFont m_font;
    CFont* m_pOld = nullptr;
};

// A check mark in rcColumn, the column left of an entry's text: a short stroke down to the
// right, then a long one up to the right, each a run of squares.
void DrawCheckMark(CDC& dc, const RECT& rcColumn, int nLine) {
    const int nStroke = std::max(1, nLine * kCheckStrokeEighths / kEighths);
    const int nSize = nLine / 2;
    const int xLeft = (rcColumn.left + rcColumn.right - nSize) / 2;
    const int yBottom = (rcColumn.top + rcColumn.bottom + nSize) / 2;
    const int nShort = nSize / 3;
    for (int i = 0; i <= nSize; ++i) {
        const int y = i <= nShort ? yBottom - nShort + i : yBottom - (i - nShort);
        const RECT rc{xLeft + i, y - nStroke, xLeft + i + nStroke, y};
        dc.FillSolidRect(&rc, theme::kText);
    }
}

}  // namespace

CMenuPopup::CMenuPopup(CWnd* pOwner, const CMenu& menu, POINT ptClient, const char* pszFace,
                       int nPointSize)
    : m_strFace(pszFace), m_nPointSize(nPointSize) {
    // Measured in a memory context: only the font matters here.
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    const CMenuFont font(dc, pszFace, nPointSize);
    const int nLine = font.LineHeight();
    const Metrics metrics{nLine, nLine + AfxScaleByDpi(kItemExtraPixels), AfxScaleByDpi(kPadding),
                          AfxScaleByDpi(kSeparatorHeight)};
    const SIZE sizeTexts = MeasureEntries(menu, dc);
    Place(pOwner, ptClient, metrics, sizeTexts);
}

SIZE CMenuPopup::MeasureEntries(const CMenu& menu, CDC& dc) {
    SIZE sizeTexts{0, 0};  // the widest label, and the widest shortcut
    for (const CMenu::Item& item : menu.Items()) {
        Entry entry{item, RECT{0, 0, 0, 0}, CString(), CString(), 0};
        if (item.nFlags != MF_SEPARATOR) {
            Split(item.strText, &entry.strLabel, &entry.strShortcut);
            entry.chMnemonic = MnemonicOf(entry.strLabel);
            // The '&' is not shown, so measure without it.
            std::string strShown = entry.strLabel.GetString();
            strShown.erase(std::remove(strShown.begin(), strShown.end(), '&'), strShown.end());
            sizeTexts.cx = std::max<LONG>(sizeTexts.cx, dc.GetTextExtent(strShown.c_str(), -1).cx);
            sizeTexts.cy = std::max<LONG>(sizeTexts.cy, dc.GetTextExtent(entry.strShortcut, -1).cx);
        }
        m_entries.push_back(entry);
    }
    return sizeTexts;
}

void CMenuPopup::Place(CWnd* pOwner, POINT ptClient, const Metrics& metrics, SIZE sizeTexts) {
    const int nLine = metrics.nLine;
    const int nWidth = 2 * kBorder + kTextIndentLines * nLine + sizeTexts.cx +
                       (sizeTexts.cy > 0 ? kShortcutGapLines * nLine + sizeTexts.cy : 0) +
                       kRightMarginLines * nLine;
    int nHeight = 2 * (kBorder + metrics.nPadding);
    for (const Entry& entry : m_entries) {
        nHeight +=
            entry.item.nFlags == MF_SEPARATOR ? metrics.nSeparatorHeight : metrics.nItemHeight;
    }
    // Kept inside the client area, which is all of the window that can be drawn on.
    RECT rcClient;
    pOwner->GetClientRect(&rcClient);
    const int x = std::max(0, std::min<int>(ptClient.x, rcClient.right - nWidth));
    const int y = std::max(0, std::min<int>(ptClient.y, rcClient.bottom - nHeight));
    m_rcMenu = RECT{x, y, x + nWidth, y + nHeight};
    int nTop = y + kBorder + metrics.nPadding;
    for (Entry& entry : m_entries) {
        const int nBottom = nTop + (entry.item.nFlags == MF_SEPARATOR ? metrics.nSeparatorHeight
                                                                      : metrics.nItemHeight);
        entry.rc = RECT{x + kBorder, nTop, x + nWidth - kBorder, nBottom};
        nTop = nBottom;
    }
}

RECT CMenuPopup::Draw(CDC& dc) const {
    const CMenuFont font(dc, m_strFace, m_nPointSize);
    const int nLine = font.LineHeight();
    dc.FillSolidRect(&m_rcMenu, theme::kMenuBorder);
    const RECT rcInside{m_rcMenu.left + kBorder, m_rcMenu.top + kBorder, m_rcMenu.right - kBorder,
                        m_rcMenu.bottom - kBorder};
    dc.FillSolidRect(&rcInside, theme::kMenuFace);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(theme::kText);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        if (entry.item.nFlags == MF_SEPARATOR) {
            const int yLine = (entry.rc.top + entry.rc.bottom) / 2;
            const RECT rcLine{entry.rc.left + nLine, yLine, entry.rc.right - nLine / 2, yLine + 1};
            dc.FillSolidRect(&rcLine, theme::kMenuSeparator);
            continue;
        }
        if (static_cast<int>(i) == m_nHover) {
            dc.FillSolidRect(&entry.rc, theme::kMenuHighlight);
        }
        RECT rcText{entry.rc.left + kTextIndentLines * nLine, entry.rc.top,
                    entry.rc.right - kRightMarginLines * nLine, entry.rc.bottom};
        if ((entry.item.nFlags & MF_CHECKED) != 0) {
            DrawCheckMark(dc, RECT{entry.rc.left, entry.rc.top, rcText.left, entry.rc.bottom},
                          nLine);
        }
        dc.DrawText(entry.strLabel, &rcText, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        dc.DrawText(entry.strShortcut, &rcText,
                    DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    return m_rcMenu;
}

std::vector<AccessibleMenuItem> CMenuPopup::AccessibleItems() const {
    std::vector<AccessibleMenuItem> items;
    for (const Entry& entry : m_entries) {
        std::string strName = entry.strLabel.GetString();
        strName.erase(std::remove(strName.begin(), strName.end(), '&'), strName.end());
        items.push_back(AccessibleMenuItem{strName, entry.item.nFlags == MF_SEPARATOR,
                                           entry.item.bCheckable,
                                           (entry.item.nFlags & MF_CHECKED) != 0});
    }
    return items;
}

int CMenuPopup::HitTest(POINT pt) const {
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (PtInRect(&m_entries[i].rc, pt)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

CMenuPopup::Outcome CMenuPopup::Choose(int nIndex) {
    if (nIndex < 0 || m_entries[static_cast<size_t>(nIndex)].item.nFlags == MF_SEPARATOR) {
        return Outcome::kStayOpen;
    }
    m_nChosenID = m_entries[static_cast<size_t>(nIndex)].item.nID;
    return Outcome::kChoose;
}

int CMenuPopup::NextSelectable(int nFrom, int nStep) const {
    const int nCount = static_cast<int>(m_entries.size());
    int nIndex = nFrom;
    for (int n = 0; n < nCount; ++n) {
        nIndex = ((nIndex + nStep) % nCount + nCount) % nCount;
        if (m_entries[static_cast<size_t>(nIndex)].item.nFlags != MF_SEPARATOR) {
            return nIndex;
        }
    }
    return -1;
}

CMenuPopup::Outcome CMenuPopup::OnMouseMove(POINT pt) {
    const int nHit = HitTest(pt);
    m_nHover =
        nHit >= 0 && m_entries[static_cast<size_t>(nHit)].item.nFlags != MF_SEPARATOR ? nHit : -1;
    return Outcome::kStayOpen;
}

CMenuPopup::Outcome CMenuPopup::OnButtonDown(POINT pt) {
    return PtInRect(&m_rcMenu, pt) ? Outcome::kStayOpen : Outcome::kClose;
}

CMenuPopup::Outcome CMenuPopup::OnButtonUp(POINT pt) {
    return Choose(HitTest(pt));
}

CMenuPopup::Outcome CMenuPopup::OnKey(UINT nKey) {
    switch (nKey) {
        case VK_ESCAPE:
            return Outcome::kClose;
        case VK_RETURN:
            return m_nHover >= 0 ? Choose(m_nHover) : Outcome::kClose;
        case VK_UP:
            m_nHover = NextSelectable(m_nHover < 0 ? 0 : m_nHover, -1);
            return Outcome::kStayOpen;
        case VK_DOWN:
            m_nHover = NextSelectable(m_nHover < 0 ? -1 : m_nHover, 1);
            return Outcome::kStayOpen;
        default:
            for (size_t i = 0; i < m_entries.size(); ++i) {
                if (m_entries[i].chMnemonic != 0 &&
                    static_cast<UINT>(m_entries[i].chMnemonic) == nKey) {
                    return Choose(static_cast<int>(i));
                }
            }
            return Outcome::kStayOpen;
    }
}
