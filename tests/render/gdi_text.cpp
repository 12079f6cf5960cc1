// Render tests draw text as the game does on Windows: with the GDI rasteriser installed.
#include <gtest/gtest.h>

#include "platform/win32/gdi_rasterizer.h"

namespace {

class CGdiText : public ::testing::Environment {
public:
    void SetUp() override { AfxSetTextRasterizer(&AfxGdiRasterizer()); }
    void TearDown() override { AfxSetTextRasterizer(nullptr); }
};

const ::testing::Environment* const g_pGdiText = ::testing::AddGlobalTestEnvironment(new CGdiText);

}  // namespace
