// Writes the files that install Hoplin as a desktop application: the desktop entry, the
// AppStream metainfo and the hicolor icons, all made from the program's own resources.
//
// Usage: hoplin-desktop-assets <output folder> <icon size>...
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/app_identity.h"
#include "app/resource.h"
#include "app/resources.h"
#include "app/version_info.h"
#include "platform/icon.h"

namespace {

constexpr const char* kReleaseDate = "2026-12-07";
constexpr const char* kSummary = "Jump the red square over five obstacles to the goal";
constexpr const char* kSummaryJa = "赤い四角をジャンプさせて障害物を越え、ゴールを目指すゲーム";
constexpr const char* kGameplay =
    "A red square runs from left to right across a black board. Double-click to make it "
    "jump over the five grey obstacles in its way: pass the far end and the board shows "
    "GOAL!!, touch an obstacle and it shows FAIL!!";
constexpr const char* kGameplayJa =
    "黒い盤の上を赤い四角が左から右へ走ります。ダブルクリックでジャンプさせ、"
    "行く手の五つの灰色の障害物を越えましょう。端まで行けば GOAL!!、障害物に触れると "
    "FAIL!! と表示されます。";
// The version block's descriptions in English, key by key.
struct Translation {
    const char* pszKey;
    const char* pszEnglish;
};
constexpr Translation kTranslations[] = {
    {"FileDescription", "Hoplin MFC application"},
    {"ProductName", "Hoplin application"},
};

std::uint32_t Crc32(const std::uint8_t* p, size_t n, std::uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void PutBE32(std::vector<std::uint8_t>& out, std::uint32_t n) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(n >> shift));
    }
}

void PutChunk(std::vector<std::uint8_t>& out, const char* pszType,
              const std::vector<std::uint8_t>& data) {
    PutBE32(out, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> typed(pszType, pszType + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBE32(out, Crc32(typed.data(), typed.size()));
}

// An RGBA PNG whose image data is stored uncompressed: no compression library needed, and
// icons this small stay small anyway.
std::vector<std::uint8_t> EncodePng(int nSize, const std::vector<std::uint8_t>& rgba) {
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < nSize; ++y) {
        raw.push_back(0);  // no filter
        raw.insert(raw.end(), rgba.begin() + y * nSize * 4, rgba.begin() + (y + 1) * nSize * 4);
    }
    std::vector<std::uint8_t> zlib = {0x78, 0x01};
    constexpr size_t kMaxStored = 65535;
    for (size_t pos = 0; pos < raw.size() || pos == 0; pos += kMaxStored) {
        const size_t n = std::min(kMaxStored, raw.size() - pos);
        const bool bLast = pos + n >= raw.size();
        zlib.push_back(bLast ? 1 : 0);
        zlib.push_back(static_cast<std::uint8_t>(n & 0xFF));
        zlib.push_back(static_cast<std::uint8_t>(n >> 8));
        zlib.push_back(static_cast<std::uint8_t>(~n & 0xFF));
        zlib.push_back(static_cast<std::uint8_t>((~n >> 8) & 0xFF));
        zlib.insert(zlib.end(), raw.begin() + pos, raw.begin() + pos + n);
    }
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBE32(zlib, (b << 16) | a);

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBE32(header, static_cast<std::uint32_t>(nSize));
    PutBE32(header, static_cast<std::uint32_t>(nSize));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

bool WriteFile(const std::string& strPath, const std::string& strText) {
    std::ofstream file(strPath, std::ios::binary);
    file << strText;
    return static_cast<bool>(file);
}

// Draws the icon at nSize pixels from the largest of its images that scales to it by a whole
// number, so that the pixel art stays sharp.
bool WriteIcon(const std::string& strPath, HICON hIcon, int nSize) {
    const ICONIMAGE* pImage = nullptr;
    for (int i = 0; hIcon != nullptr && i < hIcon->nImages; ++i) {
        const ICONIMAGE& image = hIcon->pImages[i];
        if (nSize % image.cx == 0 && (pImage == nullptr || image.cx > pImage->cx)) {
            pImage = &image;
        }
    }
    if (pImage == nullptr) {
        return false;
    }
    const int nScale = nSize / pImage->cx;
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < nSize; ++y) {
        for (int x = 0; x < nSize; ++x) {
            const COLORREF cr = AfxGetIconPixel(hIcon, *pImage, x / nScale, y / nScale);
            const bool bClear = AfxIsIconPixelTransparent(*pImage, x / nScale, y / nScale);
            rgba.insert(rgba.end(), {GetRValue(cr), GetGValue(cr), GetBValue(cr),
                                     static_cast<std::uint8_t>(bClear ? 0 : 255)});
        }
    }
    const std::vector<std::uint8_t> png = EncodePng(nSize, rgba);
    return WriteFile(strPath, std::string(png.begin(), png.end()));
}

std::string ReleaseVersion() {
    const WORD* pVersion = g_versionInfo.productVersion;
    return std::to_string(pVersion[0]) + "." + std::to_string(pVersion[1]) + "." +
           std::to_string(pVersion[2]) + "." + std::to_string(pVersion[3]);
}

// One line of the written file per source line.
// clang-format off
std::string DesktopEntry() {
    const std::string strId = app_identity::kAppId;
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" + std::string(app_identity::kName) + "\n" +
           "Comment=" + kSummary + "\n" +
           "Comment[ja]=" + kSummaryJa + "\n" +
           "Exec=" + app_identity::kExecutable + "\n" +
           "Icon=" + strId + "\n" +
           "Terminal=false\n"
           "Categories=Game;ArcadeGame;\n"
           "StartupWMClass=" + strId + "\n";
}

std::string Metainfo() {
    const std::string strId = app_identity::kAppId;
    std::string strDescription;
    for (const Translation& translation : kTranslations) {
        strDescription += "    <p>" + std::string(translation.pszEnglish) + "</p>\n";
        strDescription += "    <p xml:lang=\"ja\">" +
                          std::string(FindVersionString(translation.pszKey)) + "</p>\n";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<component type=\"desktop-application\">\n"
           "  <id>" + strId + "</id>\n" +
           "  <metadata_license>CC0-1.0</metadata_license>\n"
           "  <project_license>LicenseRef-proprietary</project_license>\n"
           "  <name>" + app_identity::kName + "</name>\n" +
           "  <summary>" + kSummary + "</summary>\n" +
           "  <summary xml:lang=\"ja\">" + kSummaryJa + "</summary>\n" +
           "  <description>\n" +
           "    <p>" + kGameplay + "</p>\n" +
           "    <p xml:lang=\"ja\">" + kGameplayJa + "</p>\n" + strDescription +
           "  </description>\n"
           "  <launchable type=\"desktop-id\">" + strId + ".desktop</launchable>\n" +
           "  <developer_name>The Hoplin developers</developer_name>\n"
           "  <provides>\n"
           "    <binary>" + app_identity::kExecutable + "</binary>\n" +
           "  </provides>\n"
           "  <releases>\n"
           "    <release version=\"" + ReleaseVersion() + "\" date=\"" + kReleaseDate +
           "\"/>\n"
           "  </releases>\n"
           "  <content_rating type=\"oars-1.1\"/>\n"
           "</component>\n";
}
// clang-format on

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder> <icon size>...\n", argv[0]);
        return 2;
    }
    RegisterResources();
    const std::string strOut = argv[1];
    const std::string strId = app_identity::kAppId;
    bool bOk = WriteFile(strOut + "/" + strId + ".desktop", DesktopEntry()) &&
               WriteFile(strOut + "/" + strId + ".metainfo.xml", Metainfo());
    const HICON hIcon = LoadIcon(IDR_MAINFRAME);
    for (int i = 2; i < argc; ++i) {
        const int nSize = std::atoi(argv[i]);
        bOk = bOk && nSize > 0 &&
              WriteIcon(strOut + "/" + strId + "-" + std::to_string(nSize) + ".png", hIcon, nSize);
    }
    if (!bOk) {
        std::fprintf(stderr, "%s: cannot write the desktop files to %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
