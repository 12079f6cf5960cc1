// Walking UTF-8 text: one-, two-, three- and four-byte characters, and text cut short.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/base/utf8.h"

namespace {

TEST(Utf8, CharactersOfEveryLengthDecodeAndTheLastIsFound) {
    struct Case {
        std::string str;
        std::size_t nLength;
        std::uint32_t ch;
    };
    const Case cases[] = {{"A", 1, 'A'}, {"é", 2, 0xE9}, {"ぽ", 3, 0x307D}, {"🎮", 4, 0x1F3AE}};
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8Length(static_cast<unsigned char>(c.str[0])), c.nLength) << c.str;
        EXPECT_EQ(DecodeUtf8(c.str, 0), c.ch) << c.str;
        EXPECT_EQ(LastUtf8CharAt("x" + c.str), 1u) << c.str;
        EXPECT_EQ(DecodeUtf8("x" + c.str, LastUtf8CharAt("x" + c.str)), c.ch) << c.str;
    }
}

TEST(Utf8, ACharacterCutShortIsReadAsFarAsItGoes) {
    const std::string strCut = std::string("ぽ").substr(0, 2);
    EXPECT_EQ(DecodeUtf8(strCut, 0), (0x3u << 6) | 0x01u);
    EXPECT_EQ(LastUtf8CharAt(strCut), 0u);
}

}  // namespace
