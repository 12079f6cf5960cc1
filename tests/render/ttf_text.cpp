// Render tests draw text as the game does on Linux: with the SDL_ttf rasteriser installed.
#include <gtest/gtest.h>

#include "platform/sdl/ttf_rasterizer.h"

namespace {

class CTtfText : public ::testing::Environment {
public:
    void SetUp() override { AfxSetTextRasterizer(&AfxTtfRasterizer()); }
    void TearDown() override { AfxSetTextRasterizer(nullptr); }
};

const ::testing::Environment* const g_pTtfText = ::testing::AddGlobalTestEnvironment(new CTtfText);

}  // namespace
