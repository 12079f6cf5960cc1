// Paints the title screen and a playing screen at the dialog's layout and saves them under
// the build folder, for people to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "dialog_layout.h"
#include "render/game_field.h"

namespace {

std::string FramePath(const char* pszName) {
    return std::string(HOPLIN_FRAMES_DIR) + "/" + pszName;
}

TEST(Frames, TheTitleAndPlayingScreensAreSavedAsImages) {
    CGameField field;
    testing_layout::LayOut(field);
    testing_layout::CClientSurface client(testing_layout::ClientSize());

    field.Paint(&client.DC(), "");
    EXPECT_TRUE(client.Bitmap().SaveToFile(FramePath("title.bmp").c_str()));

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
    EXPECT_TRUE(client.Bitmap().SaveToFile(FramePath("playing.bmp").c_str()));
}

}  // namespace
