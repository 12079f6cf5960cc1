// Runs with a fontconfig setup of its own, chosen by HOPLIN_TEST_FONTS before anything opens
// a font: "latin" offers only DejaVu, which has no kana; "gothic" adds IPAGothic but not
// IPAPGothic; "none" offers no font at all. The system's matching rules apply throughout.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "app/resources.h"
#include "pixels.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/window/dialog_units.h"

namespace {

constexpr const char* kLatinFontDir = "/usr/share/fonts/truetype/dejavu";
constexpr const char* kGothicFontFile = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
constexpr const char* kSystemRules = "/etc/fonts/conf.d";
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

// The pixels of the text drawn in white on black.
std::vector<COLORREF> Drawn(CFont& font, const char* pszText) {
    testing_pixels::CCanvas canvas(200, 60);
    canvas.DC().SelectObject(&font);
    canvas.DC().SetTextColor(RGB(255, 255, 255));
    RECT rc{0, 0, 200, 60};
    canvas.DC().DrawText(pszText, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    std::vector<COLORREF> pixels;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            pixels.push_back(canvas.DC().GetPixel(x, y));
        }
    }
    return pixels;
}

int InkOf(CFont& font, const char* pszText) {
    int n = 0;
    for (COLORREF px : Drawn(font, pszText)) {
        n += px != RGB(0, 0, 0) ? 1 : 0;
    }
    return n;
}

SIZE MainWindowSize() {
    const RECT rc =
        AfxMapDialogRect(0, 0, g_dlgGame.cx, g_dlgGame.cy, AfxGetDialogBaseUnits(g_dlgGame));
    return SIZE{rc.right, rc.bottom};
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
    EXPECT_EQ(MainWindowSize().cx, 407);
    EXPECT_EQ(MainWindowSize().cy, 245);
}

TEST(FontFallback, TextThatTheNamedFaceLacksComesFromAFaceWithItsCharacters) {
    ASSERT_EQ(Mode(), "gothic");
    testing::internal::CaptureStderr();
    CFont proportional;
    CFont fixed;
    ASSERT_TRUE(proportional.CreatePointFont(400, "ＭＳ Ｐゴシック"));
    ASSERT_TRUE(fixed.CreatePointFont(400, kLabelFace));
    const std::string strErrors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountLines(strErrors), 1) << strErrors;
    EXPECT_NE(strErrors.find("IPAPGothic"), std::string::npos) << strErrors;
    // The desktop's sans-serif stands in: DejaVu, not IPAGothic. It has no kana, so those
    // come from IPAGothic.
    ASSERT_NE(Drawn(proportional, "Start"), Drawn(fixed, "Start"));
    EXPECT_EQ(Drawn(proportional, "ぽよるん"), Drawn(fixed, "ぽよるん"));
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
    EXPECT_EQ(MainWindowSize().cx, 407);
    EXPECT_EQ(MainWindowSize().cy, 245);
}

}  // namespace

int main(int argc, char** argv) {
    // A fontconfig setup that knows only the fonts this mode allows, with a cache of its own.
    const std::string strDir = std::string(HOPLIN_FONT_TEST_DIR) + "/" + Mode();
    std::filesystem::create_directories(strDir + "/cache");
    const std::string strConfig = strDir + "/fonts.conf";
    std::ofstream config(strConfig);
    config << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n";
    if (Mode() == "latin" || Mode() == "gothic") {
        config << "  <dir>" << kLatinFontDir << "</dir>\n";
    }
    if (Mode() == "gothic") {
        // A folder that holds IPAGothic alone; a rerun finds its link already there.
        const std::filesystem::path gothic = strDir + "/gothic";
        std::filesystem::create_directories(gothic);
        std::error_code error;
        std::filesystem::create_symlink(kGothicFontFile, gothic / "ipag.ttf", error);
        config << "  <dir>" << gothic.string() << "</dir>\n";
    }
    config << "  <include ignore_missing=\"yes\">" << kSystemRules << "</include>\n";
    config << "  <cachedir>" << strDir << "/cache</cachedir>\n</fontconfig>\n";
    config.close();
    setenv("FONTCONFIG_FILE", strConfig.c_str(), 1);
    // The language of the desktop's defaults, which a Japanese locale would change.
    setenv("FC_LANG", "en", 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
