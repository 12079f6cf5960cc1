// Draws the hicolor icons of the desktop installation from the program's own icon: one PNG
// per size, named <prefix>-<size>.png.
//
// Usage: hoplin-icons <prefix> <icon size>...
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/resource.h"
#include "app/resources.h"
#include "platform/base/icon.h"

namespace {

constexpr png_byte kOpaque = 255;
constexpr png_byte kClear = 0;

struct RGBAPIXEL {
    png_byte r, g, b, a;
};

// One pixel of the icon as its PNG shows it: clear where the mask lets the background through.
RGBAPIXEL IconPixel(HICON hIcon, const ICONIMAGE& image, int x, int y) {
    const COLORREF cr = AfxGetIconPixel(hIcon, image, x, y);
    const png_byte nAlpha = AfxIsIconPixelTransparent(image, x, y) ? kClear : kOpaque;
    return {GetRValue(cr), GetGValue(cr), GetBValue(cr), nAlpha};
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
    std::vector<RGBAPIXEL> pixels;
    for (int y = 0; y < nSize; ++y) {
        for (int x = 0; x < nSize; ++x) {
            pixels.push_back(IconPixel(hIcon, *pImage, x / nScale, y / nScale));
        }
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(nSize);
    png.height = static_cast<png_uint_32>(nSize);
    png.format = PNG_FORMAT_RGBA;
    const bool bOk =
        png_image_write_to_file(&png, strPath.c_str(), 0, pixels.data(), 0, nullptr) != 0;
    if (!bOk) {
        std::fprintf(stderr, "%s: %s\n", strPath.c_str(), png.message);
    }
    return bOk;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <prefix> <icon size>...\n", argv[0]);
        return 2;
    }
    RegisterResources();
    const HICON hIcon = LoadIcon(IDR_MAINFRAME);
    bool bOk = true;
    for (int i = 2; i < argc; ++i) {
        const int nSize = std::atoi(argv[i]);
        bOk = bOk && nSize > 0 &&
              WriteIcon(std::string(argv[1]) + "-" + std::to_string(nSize) + ".png", hIcon, nSize);
    }
    if (!bOk) {
        std::fprintf(stderr, "%s: cannot write the icons %s-<size>.png\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
