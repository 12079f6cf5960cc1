// Runs with a fontconfig setup of its own, chosen by HOPLIN_TEST_FONTS before anything opens
// a font: "latin" offers only DejaVu, which has no kana; "none" offers no font at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "pixels.h"
#include "platform/dc.h"
#include "platform/gdi.h"

namespace {

constexpr const char* kLatinFontDir = "/usr/share/fonts/truetype/dejavu";
constexpr const char* kLabelFace = "ＭＳ ゴシック";

std::string Mode() {
    const char* pszMode = std::getenv("HOPLIN_TEST_FONTS");
    return pszMode != nullptr ? pszMode : "";
}

int CountLines(const std::string& str) {
    int n = 0;
    for (char ch : str) {
        n += ch == '\n' ? 1 : 0;
    }
    return n;
}

int InkOf(CFont& font, const char* pszText) {
    testing_pixels::CCanvas canvas(200, 60);
    canvas.DC().SelectObject(&font);
    canvas.DC().SetTextColor(RGB(255, 255, 255));
    RECT rc{0, 0, 200, 60};
    canvas.DC().DrawText(pszText, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return testing_pixels::CountPixels(canvas.DC(), rc,
                                       [](COLORREF px) { return px != RGB(0, 0, 0); });
}

TEST(FontFallback, WithoutJapaneseFacesAnyFaceServesAfterOneWarningLine) {
    ASSERT_EQ(Mode(), "latin");
    testing::internal::CaptureStderr();
    CFont title;
    CFont button;
    EXPECT_TRUE(title.CreatePointFont(400, kLabelFace));
    EXPECT_TRUE(button.CreatePointFont(200, "ＭＳ Ｐゴシック"));
    const std::string strErrors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountLines(strErrors), 1) << strErrors;
    EXPECT_NE(strErrors.find("hoplin: warning:"), std::string::npos) << strErrors;
    EXPECT_GT(InkOf(button, "Start"), 50);
}

TEST(FontFallback, WithNoFontAtAllTextDrawsNothingAndNothingBreaks) {
    ASSERT_EQ(Mode(), "none");
    testing::internal::CaptureStderr();
    CFont font;
    EXPECT_FALSE(font.CreatePointFont(200, kLabelFace));
    EXPECT_FALSE(font.CreatePointFont(400, kLabelFace));
    const std::string strErrors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountLines(strErrors), 1) << strErrors;
    EXPECT_EQ(InkOf(font, "Start"), 0);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    EXPECT_EQ(dc.GetTextExtent("Start", -1).cx, 0);
}

}  // namespace

int main(int argc, char** argv) {
    // A fontconfig setup that knows only the fonts this mode allows, with a cache of its own.
    const std::string strDir = std::string(HOPLIN_FONT_TEST_DIR) + "/" + Mode();
    std::filesystem::create_directories(strDir + "/cache");
    const std::string strConfig = strDir + "/fonts.conf";
    std::ofstream config(strConfig);
    config << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n";
    if (Mode() == "latin") {
        config << "  <dir>" << kLatinFontDir << "</dir>\n";
    }
    config << "  <cachedir>" << strDir << "/cache</cachedir>\n</fontconfig>\n";
    config.close();
    setenv("FONTCONFIG_FILE", strConfig.c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
