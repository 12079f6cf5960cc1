// Hoplin.exe carries the game's version block as a real Windows resource, the same as the
// block the game keeps for itself: the fixed part, the string table's keys in their order
// with their values, and the translation.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/version_info.h"
#include "tests/windows/version_resource.h"

namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint16_t kTextType = 1;

// One block of the resource: its key, its value's bytes, and the blocks inside it.
struct Block {
    std::string strKey;
    std::vector<std::uint8_t> value;
    bool bText = false;
    std::vector<Block> children;
};

size_t Align4(size_t n) {
    return (n + 3) & ~static_cast<size_t>(3);
}

std::uint16_t Word(const std::vector<std::uint8_t>& bytes, size_t nAt) {
    return static_cast<std::uint16_t>(bytes.at(nAt) | (bytes.at(nAt + 1) << 8));
}

std::uint32_t Dword(const std::vector<std::uint8_t>& bytes, size_t nAt) {
    return Word(bytes, nAt) | (static_cast<std::uint32_t>(Word(bytes, nAt + 2)) << 16);
}

// UTF-16 code units to UTF-8, up to a NUL or the end; *pnAt moves past the NUL.
std::string Utf8(const std::vector<std::uint8_t>& bytes, size_t* pnAt, size_t nEnd) {
    std::string str;
    while (*pnAt + 1 < nEnd) {
        std::uint32_t ch = Word(bytes, *pnAt);
        *pnAt += 2;
        if (ch == 0) {
            break;
        }
        if (ch >= 0xD800 && ch < 0xDC00 && *pnAt + 1 < nEnd) {
            ch = 0x10000 + ((ch - 0xD800) << 10) + (Word(bytes, *pnAt) - 0xDC00);
            *pnAt += 2;
        }
        if (ch < 0x80) {
            str += static_cast<char>(ch);
        } else if (ch < 0x800) {
            str += static_cast<char>(0xC0 | (ch >> 6));
            str += static_cast<char>(0x80 | (ch & 0x3F));
        } else if (ch < 0x10000) {
            str += static_cast<char>(0xE0 | (ch >> 12));
            str += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
            str += static_cast<char>(0x80 | (ch & 0x3F));
        } else {
            str += static_cast<char>(0xF0 | (ch >> 18));
            str += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
            str += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
            str += static_cast<char>(0x80 | (ch & 0x3F));
        }
    }
    return str;
}

// The block at nAt: wLength, wValueLength, wType, the key, the value, then the children.
Block Parse(const std::vector<std::uint8_t>& bytes, size_t nAt) {
    const size_t nEnd = nAt + Word(bytes, nAt);
    const size_t nValueLength = Word(bytes, nAt + 2);
    Block block;
    block.bText = Word(bytes, nAt + 4) == kTextType;
    size_t nPos = nAt + 6;
    block.strKey = Utf8(bytes, &nPos, nEnd);
    nPos = Align4(nPos);
    const size_t nValueBytes = block.bText ? 2 * nValueLength : nValueLength;
    block.value.assign(bytes.begin() + nPos, bytes.begin() + nPos + nValueBytes);
    for (nPos = Align4(nPos + nValueBytes); nPos < nEnd; nPos = Align4(nPos + Word(bytes, nPos))) {
        block.children.push_back(Parse(bytes, nPos));
    }
    return block;
}

const Block* Child(const Block& block, const std::string& strKey) {
    for (const Block& child : block.children) {
        if (child.strKey == strKey) {
            return &child;
        }
    }
    return nullptr;
}

std::string Text(const Block& block) {
    size_t nAt = 0;
    return Utf8(block.value, &nAt, block.value.size());
}

TEST(VersionResource, TheProgramsResourceIsTheGamesVersionBlock) {
    const std::vector<std::uint8_t> bytes = ReadVersionResource(HOPLIN_EXE_PATH);
    ASSERT_FALSE(bytes.empty()) << "no version resource in " << HOPLIN_EXE_PATH;
    const Block root = Parse(bytes, 0);
    EXPECT_EQ(root.strKey, "VS_VERSION_INFO");

    const VERSIONINFO& info = g_versionInfo;
    const auto& fixed = root.value;
    ASSERT_EQ(fixed.size(), 52u);
    EXPECT_EQ(Dword(fixed, 0), kFixedSignature);
    const std::uint32_t expected[] = {
        static_cast<std::uint32_t>(info.fileVersion[0] << 16 | info.fileVersion[1]),
        static_cast<std::uint32_t>(info.fileVersion[2] << 16 | info.fileVersion[3]),
        static_cast<std::uint32_t>(info.productVersion[0] << 16 | info.productVersion[1]),
        static_cast<std::uint32_t>(info.productVersion[2] << 16 | info.productVersion[3]),
        info.dwFileFlagsMask,
        info.dwFileFlags,
        info.dwFileOS,
        info.dwFileType,
        info.dwFileSubtype};
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(Dword(fixed, 8 + 4 * i), expected[i]) << "word " << i << " of the fixed part";
    }

    const Block* pStrings = Child(root, "StringFileInfo");
    ASSERT_NE(pStrings, nullptr);
    ASSERT_EQ(pStrings->children.size(), 1u);
    const Block& table = pStrings->children[0];
    EXPECT_EQ(table.strKey, info.pszStringTable);
    ASSERT_EQ(table.children.size(), static_cast<size_t>(info.nStrings));
    for (int i = 0; i < info.nStrings; ++i) {
        EXPECT_EQ(table.children[i].strKey, info.pStrings[i].pszKey);
        EXPECT_EQ(Text(table.children[i]), info.pStrings[i].pszValue) << info.pStrings[i].pszKey;
    }

    const Block* pVar = Child(root, "VarFileInfo");
    ASSERT_NE(pVar, nullptr);
    const Block* pTranslation = Child(*pVar, "Translation");
    ASSERT_NE(pTranslation, nullptr);
    ASSERT_EQ(pTranslation->value.size(), 4u);
    EXPECT_EQ(Word(pTranslation->value, 0), info.wLanguage);
    EXPECT_EQ(Word(pTranslation->value, 2), info.wCodePage);
}

}  // namespace
