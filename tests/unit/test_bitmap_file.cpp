// A bitmap saved to a file is a 24-bit BMP that any viewer reads: rows bottom up, each padded
// to four bytes, in blue-green-red order.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"

namespace {

std::uint32_t ReadLE(const std::vector<std::uint8_t>& bytes, size_t nAt, int nBytes) {
    std::uint32_t n = 0;
    for (int i = nBytes - 1; i >= 0; --i) {
        n = (n << 8) | bytes[nAt + static_cast<size_t>(i)];
    }
    return n;
}

TEST(BitmapFile, ABitmapIsSavedAsA24BitBmpBottomUpWithPaddedRows) {
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(nullptr, 3, 2));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    dc.SetPixel(0, 0, RGB(10, 20, 30));
    dc.SetPixel(2, 1, RGB(40, 50, 60));
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "hoplin-bitmap-file-test.bmp";
    ASSERT_TRUE(bitmap.SaveToFile(path.string().c_str()));
    std::vector<std::uint8_t> bytes;
    {
        std::ifstream file(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(file), {});
    }
    std::filesystem::remove(path);

    constexpr size_t kPixelsAt = 54;
    constexpr size_t kRowBytes = 12;  // three pixels of three bytes, padded to four
    ASSERT_EQ(bytes.size(), kPixelsAt + 2 * kRowBytes);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(ReadLE(bytes, 2, 4), bytes.size());
    EXPECT_EQ(ReadLE(bytes, 10, 4), kPixelsAt);
    EXPECT_EQ(ReadLE(bytes, 18, 4), 3u);
    EXPECT_EQ(ReadLE(bytes, 22, 4), 2u);
    EXPECT_EQ(ReadLE(bytes, 28, 2), 24u);
    // The bottom row first: its last pixel, then the top row's first.
    const std::vector<std::uint8_t> bottomLast(bytes.begin() + kPixelsAt + 6,
                                               bytes.begin() + kPixelsAt + 9);
    EXPECT_EQ(bottomLast, (std::vector<std::uint8_t>{60, 50, 40}));
    const std::vector<std::uint8_t> topFirst(bytes.begin() + kPixelsAt + kRowBytes,
                                             bytes.begin() + kPixelsAt + kRowBytes + 3);
    EXPECT_EQ(topFirst, (std::vector<std::uint8_t>{30, 20, 10}));
}

TEST(BitmapFile, AFileThatCannotBeWrittenIsReportedAsNotSaved) {
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(nullptr, 2, 2));
    EXPECT_FALSE(bitmap.SaveToFile("/nonexistent-folder/frame.bmp"));
}

}  // namespace
