#include "platform/menu_popup.h"

#include <algorithm>
#include <cctype>

#include "platform/dc.h"
#include "platform/dialog_template.h"
#include "platform/dpi.h"
#include "platform/gdi_impl.h"
#include "platform/messages.h"

namespace {

constexpr COLORREF kMenuBack = RGB(242, 242, 242);
constexpr COLORREF kMenuBorder = RGB(160, 160, 160);
constexpr COLORREF kMenuHover = RGB(145, 201, 247);
constexpr COLORREF kMenuText = RGB(0, 0, 0);
constexpr COLORREF kMenuSeparator = RGB(215, 215, 215);
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

// A context on the owner's surface with the menu's font selected.
class CMenuDC : public CDC {
public:
    CMenuDC(SDL_Surface* pSurface, const char* pszFace, int nPointSize) {
        AfxAttachSurface(*this, pSurface);
        AfxCreateDialogFont(&m_font, pszFace, nPointSize);
        SelectObject(&m_font);
    }

private:
    CFont m_font;
};

}  // namespace

CMenuPopup::CMenuPopup(CWnd* pOwner, const CMenu& menu, POINT ptClient, const char* pszFace,
                       int nPointSize)
    : m_strFace(pszFace), m_nPointSize(nPointSize) {
    // Measured on a scratch surface: only the font matters here.
    SDL_Surface* pScratch = SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_XRGB8888);
    CMenuDC dc(pScratch, pszFace, nPointSize);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    const int nLine = std::max<int>(tm.tmHeight, 1);
    const int nItemHeight = nLine + AfxScaleByDpi(kItemExtraPixels);
    const int nPadding = AfxScaleByDpi(kPadding);
    const int nSeparatorHeight = AfxScaleByDpi(kSeparatorHeight);

    int nLabelWidth = 0;
    int nShortcutWidth = 0;
    for (const CMenu::Item& item : menu.Items()) {
        Entry entry{item, RECT{0, 0, 0, 0}, CString(), CString(), 0};
        if (item.nFlags != MF_SEPARATOR) {
            Split(item.strText, &entry.strLabel, &entry.strShortcut);
            entry.chMnemonic = MnemonicOf(entry.strLabel);
            // The '&' is not shown, so measure without it.
            std::string strShown = entry.strLabel.GetString();
            strShown.erase(std::remove(strShown.begin(), strShown.end(), '&'), strShown.end());
            nLabelWidth = std::max<int>(nLabelWidth, dc.GetTextExtent(strShown.c_str(), -1).cx);
            nShortcutWidth =
                std::max<int>(nShortcutWidth, dc.GetTextExtent(entry.strShortcut, -1).cx);
        }
        m_entries.push_back(entry);
    }
    SDL_FreeSurface(pScratch);

    const int nWidth = 2 * kBorder + kTextIndentLines * nLine + nLabelWidth +
                       (nShortcutWidth > 0 ? kShortcutGapLines * nLine + nShortcutWidth : 0) +
                       kRightMarginLines * nLine;
    int nHeight = 2 * (kBorder + nPadding);
    for (const Entry& entry : m_entries) {
        nHeight += entry.item.nFlags == MF_SEPARATOR ? nSeparatorHeight : nItemHeight;
    }

    // Kept inside the client area, which is all of the window that can be drawn on.
    RECT rcClient;
    pOwner->GetClientRect(&rcClient);
    const int x = std::max(0, std::min<int>(ptClient.x, rcClient.right - nWidth));
    const int y = std::max(0, std::min<int>(ptClient.y, rcClient.bottom - nHeight));
    m_rcMenu = RECT{x, y, x + nWidth, y + nHeight};
    int nTop = y + kBorder + nPadding;
    for (Entry& entry : m_entries) {
        const int nBottom =
            nTop + (entry.item.nFlags == MF_SEPARATOR ? nSeparatorHeight : nItemHeight);
        entry.rc = RECT{x + kBorder, nTop, x + nWidth - kBorder, nBottom};
        nTop = nBottom;
    }
}

RECT CMenuPopup::Draw(SDL_Surface* pSurface) const {
    CMenuDC dc(pSurface, m_strFace, m_nPointSize);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    const int nLine = std::max<int>(tm.tmHeight, 1);
    dc.FillSolidRect(&m_rcMenu, kMenuBorder);
    const RECT rcInside{m_rcMenu.left + kBorder, m_rcMenu.top + kBorder, m_rcMenu.right - kBorder,
                        m_rcMenu.bottom - kBorder};
    dc.FillSolidRect(&rcInside, kMenuBack);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kMenuText);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        if (entry.item.nFlags == MF_SEPARATOR) {
            const int yLine = (entry.rc.top + entry.rc.bottom) / 2;
            const RECT rcLine{entry.rc.left + nLine, yLine, entry.rc.right - nLine / 2, yLine + 1};
            dc.FillSolidRect(&rcLine, kMenuSeparator);
            continue;
        }
        if (static_cast<int>(i) == m_nHover) {
            dc.FillSolidRect(&entry.rc, kMenuHover);
        }
        RECT rcText{entry.rc.left + kTextIndentLines * nLine, entry.rc.top,
                    entry.rc.right - kRightMarginLines * nLine, entry.rc.bottom};
        dc.DrawText(entry.strLabel, &rcText, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        dc.DrawText(entry.strShortcut, &rcText,
                    DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    return m_rcMenu;
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
