// Paints the title screen and a playing screen at the dialog's layout, at 96 and 192 DPI, and
// saves them under the build folder, for people to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "dialog_layout.h"
#include "render/game_field.h"
#include "tests/support/dpi_scope.h"

using testing_dpi::CDpiScope;

namespace {

std::string FramePath(const char* pszName, const char* pszSuffix) {
    return std::string(HOPLIN_FRAMES_DIR) + "/" + pszName + pszSuffix + ".bmp";
}

TEST(Frames, TheTitleAndPlayingScreensAreSavedAsImagesAtTheDesignDpiAndTwiceIt) {
    for (const auto& [nDpi, pszSuffix] : {std::make_pair(96, ""), std::make_pair(192, "-192dpi")}) {
        CDpiScope dpi(nDpi);
        CGameField field;
        testing_layout::LayOut(field);
        testing_layout::CClientSurface client(testing_layout::ClientSize());

        field.Paint(&client.DC(), "");
        EXPECT_TRUE(client.Bitmap().SaveToFile(FramePath("title", pszSuffix).c_str()));

        std::srand(7);
        field.ScatterObstacles(5);
        field.ResetJumper();
        for (int i = 0; i < 14; ++i) {
            field.StepJumper();
        }
        field.Jump();
        field.StepJumper();
        field.StepJumper();
        field.m_nMode = CFieldView::kModePlaying;
        field.Paint(&client.DC(), "FAIL!!");
        EXPECT_TRUE(client.Bitmap().SaveToFile(FramePath("playing", pszSuffix).c_str()));
    }
}

}  // namespace
