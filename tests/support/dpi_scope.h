// A logical DPI for the span of a test.
#pragma once

#include "platform/base/dpi.h"

namespace testing_dpi {

// Sets the logical DPI, and puts the design DPI back when it goes.
class CDpiScope {
public:
    explicit CDpiScope(int nDpi) { AfxSetLogicalDpi(nDpi); }
    ~CDpiScope() { AfxSetLogicalDpi(USER_DEFAULT_SCREEN_DPI); }
    CDpiScope(const CDpiScope&) = delete;
    CDpiScope& operator=(const CDpiScope&) = delete;
};

}  // namespace testing_dpi
