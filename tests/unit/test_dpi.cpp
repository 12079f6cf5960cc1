// The logical DPI: where it comes from, and the layout and metrics that follow it.
#include <gtest/gtest.h>

#include <string>

#include "app/resource.h"
#include "app/resources.h"
#include "platform/base/dialog_resource.h"
#include "platform/base/dpi.h"
#include "platform/base/icon.h"
#include "platform/base/system_metrics.h"
#include "platform/window/dialog_units.h"
#include "tests/support/dpi_scope.h"

using testing_dpi::CDpiScope;

namespace {

TEST(DesktopDpi, XftDpiTimesTheGdkFactorsOrTheWaylandScaleWithUnusableValuesLeftOut) {
    struct Case {
        DesktopScale scale;
        int nDpi;
        bool bWarns;
    };
    const Case kCases[] = {
        // The desktops as they set themselves up: GNOME at 100 % and 200 %, Plasma at 200 %.
        {{"Xft.antialias:\t1\nXft.dpi:\t96\nXft.hinting:\t1\n", nullptr, nullptr, 1}, 96, false},
        {{"Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n", nullptr, nullptr, 1}, 192, false},
        {{"Xft.dpi:\t192\n", "2", "0.5", 1}, 192, false},
        {{nullptr, "2", nullptr, 1}, 192, false},
        {{"Xft.dpi: 120.4", nullptr, nullptr, 1}, 120, false},
        {{nullptr, nullptr, "1.25", 1}, 120, false},
        {{nullptr, nullptr, nullptr, 1}, 96, false},
        {{"Xft.dpi:\t96\nXft.dpi:\t144\n", nullptr, nullptr, 1}, 144, false},
        {{"*dpi:\t192\nXft.dpiScale:\t2\n", nullptr, nullptr, 1}, 96, false},
        {{nullptr, "3", nullptr, 1}, 288, false},
        {{nullptr, "", "", 1}, 96, false},
        {{nullptr, nullptr, nullptr, 2}, 192, false},
        {{"Xft.dpi:\t480\n", nullptr, nullptr, 1}, 480, false},
        {{"Xft.dpi:\t0\n", nullptr, nullptr, 1}, 96, true},
        {{"Xft.dpi:\t-192\n", nullptr, nullptr, 1}, 96, true},
        {{"Xft.dpi:\t481\n", nullptr, nullptr, 1}, 96, true},
        {{"Xft.dpi:\tlarge\n", "2", nullptr, 1}, 192, true},
        {{"Xft.dpi:\n", nullptr, nullptr, 1}, 96, true},
        {{"Xft.dpi:\t192\n", "0", nullptr, 1}, 192, true},
        {{"Xft.dpi:\t192\n", "1.5", nullptr, 1}, 192, true},
        {{"Xft.dpi:\t192\n", "inf", nullptr, 1}, 192, true},
        {{"Xft.dpi:\t192\n", nullptr, "0", 1}, 192, true},
        {{"Xft.dpi:\t192\n", nullptr, "half", 1}, 192, true},
        {{"Xft.dpi:\t300\n", "2", nullptr, 1}, 96, true},
        {{nullptr, nullptr, "0.25", 1}, 96, true},
    };
    for (const Case& c : kCases) {
        const auto show = [](const char* psz) { return psz != nullptr ? psz : "(unset)"; };
        const std::string strCase = std::string(show(c.scale.pszResources)) +
                                    " GDK_SCALE=" + show(c.scale.pszGdkScale) +
                                    " GDK_DPI_SCALE=" + show(c.scale.pszGdkDpiScale) +
                                    " output scale " + std::to_string(c.scale.nOutputScale);
        std::string strProblem = "left over";
        EXPECT_EQ(AfxDesktopDpi(c.scale, &strProblem), c.nDpi) << strCase;
        EXPECT_EQ(!strProblem.empty(), c.bWarns) << strCase << ": " << strProblem;
    }
}

TEST(DialogUnits, BaseUnitsAndTheMainWindowScaleWithTheDpi) {
    struct Case {
        int nDpi;
        SIZE sizeBase;
        SIZE sizeClient;
    };
    const Case kCases[] = {
        {96, {6, 12}, {407, 245}},
        {120, {8, 15}, {542, 306}},
        {144, {9, 18}, {610, 367}},
        {192, {12, 24}, {813, 489}},
    };
    for (const Case& c : kCases) {
        CDpiScope dpi(c.nDpi);
        const SIZE sizeBase = AfxGetDialogBaseUnits(g_dlgGame);
        const RECT rcClient = AfxMapDialogRect(0, 0, g_dlgGame.cx, g_dlgGame.cy, sizeBase);
        EXPECT_EQ(sizeBase.cx, c.sizeBase.cx) << c.nDpi << " DPI";
        EXPECT_EQ(sizeBase.cy, c.sizeBase.cy) << c.nDpi << " DPI";
        EXPECT_EQ(rcClient.right, c.sizeClient.cx) << c.nDpi << " DPI";
        EXPECT_EQ(rcClient.bottom, c.sizeClient.cy) << c.nDpi << " DPI";
    }
}

TEST(SystemMetrics, IconDoubleClickAndDoubleTapSizesScaleAndTheArtIsEnlargedByAWholeFactor) {
    RegisterResources();
    const HICON hIcon = LoadIcon(IDR_MAINFRAME);
    struct Case {
        int nDpi;
        int cxIcon;
        int cxSmallIcon;
        int cxDoubleClick;
        int nDoubleTap;
        int cxImage;  // the art drawn at the icon size, and its factor
        int nScale;
    };
    const Case kCases[] = {
        {96, 32, 16, 4, 24, 32, 1},
        {120, 40, 20, 5, 30, 32, 1},
        {144, 48, 24, 6, 36, 16, 3},
        {192, 64, 32, 8, 48, 32, 2},
    };
    for (const Case& c : kCases) {
        CDpiScope dpi(c.nDpi);
        EXPECT_EQ(GetSystemMetrics(SM_CXICON), c.cxIcon) << c.nDpi << " DPI";
        EXPECT_EQ(GetSystemMetrics(SM_CYICON), c.cxIcon) << c.nDpi << " DPI";
        EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), c.cxSmallIcon) << c.nDpi << " DPI";
        EXPECT_EQ(GetSystemMetrics(SM_CXDOUBLECLK), c.cxDoubleClick) << c.nDpi << " DPI";
        EXPECT_EQ(GetSystemMetrics(SM_CYDOUBLECLK), c.cxDoubleClick) << c.nDpi << " DPI";
        EXPECT_EQ(AfxDoubleTapDistance(), c.nDoubleTap) << c.nDpi << " DPI";
        int nScale = 0;
        const ICONIMAGE* pImage = AfxFindIconImage(hIcon, c.cxIcon, &nScale);
        ASSERT_NE(pImage, nullptr);
        EXPECT_EQ(pImage->cx, c.cxImage) << c.nDpi << " DPI";
        EXPECT_EQ(nScale, c.nScale) << c.nDpi << " DPI";
    }
}

}  // namespace
