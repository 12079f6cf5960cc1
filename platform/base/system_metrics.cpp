#include "platform/base/system_metrics.h"

#include "platform/base/dpi.h"

namespace {

// Sizes at 96 DPI.
constexpr int kIconSize = 32;
constexpr int kSmallIconSize = 16;
// The box around a first click that a second one must fall in to make a double-click, and
// the time it has, as on Windows.
constexpr int kDoubleClickBox = 4;
constexpr UINT kDoubleClickTimeMs = 500;
// A quarter of an inch.
constexpr int kDoubleTapDistance = 24;

}  // namespace

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
        case SM_CXICON:
        case SM_CYICON:
            return AfxScaleByDpi(kIconSize);
        case SM_CXSMICON:
            return AfxScaleByDpi(kSmallIconSize);
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return AfxScaleByDpi(kDoubleClickBox);
        default:
            return 0;
    }
}

UINT GetDoubleClickTime() {
    return kDoubleClickTimeMs;
}

int AfxDoubleTapDistance() {
    return AfxScaleByDpi(kDoubleTapDistance);
}
