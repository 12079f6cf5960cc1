#include "platform/gdi/theme.h"

#include "platform/base/dpi.h"

namespace theme {

RECT FocusFrameIn(const RECT& rcButton) {
    const int nInset = AfxScaleByDpi(kFocusInset);
    return RECT{rcButton.left + nInset, rcButton.top + nInset, rcButton.right - nInset,
                rcButton.bottom - nInset};
}

}  // namespace theme
