// System metrics: sizes as Windows gives them at 96 DPI, scaled with the logical DPI.
#pragma once

#include "platform/base/win_types.h"

constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXSMICON = 49;

int GetSystemMetrics(int nIndex);
// The most milliseconds between the clicks of a double-click.
UINT GetDoubleClickTime();
// How far, each way, a touch's second tap may land from the first and make a double-click:
// a fingertip's width, where a mouse's second click must fall in SM_CXDOUBLECLK's box.
int AfxDoubleTapDistance();
