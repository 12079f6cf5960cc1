// The program's own reader of gettext catalogues, which Windows uses: the project's Japanese
// catalogue as msgfmt builds it, catalogues of either byte order, and files that are none.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/mo_catalog.h"

namespace {

const std::string kJapanese = std::string(HOPLIN_BUILD_LOCALEDIR) + "/ja/LC_MESSAGES/hoplin.mo";

// A file of the test's own, gone when it is.
class CTempFile {
public:
    explicit CTempFile(const std::vector<std::uint8_t>& bytes)
        : m_path(std::filesystem::temp_directory_path() /
                 ("hoplin-mo-test-" + std::to_string(++s_nFiles) + ".mo")) {
        std::FILE* pFile = std::fopen(m_path.string().c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), pFile);
        std::fclose(pFile);
    }
    ~CTempFile() { std::filesystem::remove(m_path); }
    std::string Path() const { return m_path.string(); }

private:
    static inline int s_nFiles = 0;
    std::filesystem::path m_path;
};

void Put(std::vector<std::uint8_t>& bytes, std::uint32_t n, bool bBigEndian) {
    for (int i = 0; i < 4; ++i) {
        const int nShift = bBigEndian ? 24 - 8 * i : 8 * i;
        bytes.push_back(static_cast<std::uint8_t>(n >> nShift));
    }
}

// A catalogue of one message, written as msgfmt would in the byte order asked for.
std::vector<std::uint8_t> OneMessage(const std::string& strOriginal,
                                     const std::string& strTranslation, bool bBigEndian) {
    constexpr std::uint32_t kHeaderBytes = 28;
    constexpr std::uint32_t kEntryBytes = 8;
    const std::uint32_t nStrings = kHeaderBytes + 2 * kEntryBytes;
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t n :
         {0x950412DEu, 0u, 1u, kHeaderBytes, kHeaderBytes + kEntryBytes, 0u, 0u}) {
        Put(bytes, n, bBigEndian);
    }
    Put(bytes, static_cast<std::uint32_t>(strOriginal.size()), bBigEndian);
    Put(bytes, nStrings, bBigEndian);
    Put(bytes, static_cast<std::uint32_t>(strTranslation.size()), bBigEndian);
    Put(bytes, nStrings + static_cast<std::uint32_t>(strOriginal.size()) + 1, bBigEndian);
    for (const std::string* pstr : {&strOriginal, &strTranslation}) {
        bytes.insert(bytes.end(), pstr->begin(), pstr->end());
        bytes.push_back(0);
    }
    return bytes;
}

TEST(MoCatalog, TheProjectsJapaneseCatalogueTranslatesTheMenusWords) {
    CMoCatalog catalogue;
    ASSERT_TRUE(catalogue.Load(kJapanese)) << kJapanese;
    ASSERT_NE(catalogue.Find("&Close"), nullptr);
    EXPECT_STREQ(catalogue.Find("&Close"), "閉じる(&C)");
    EXPECT_EQ(catalogue.Find("words nobody translated"), nullptr);
    // The catalogue's header, under the empty message, is no translation.
    EXPECT_EQ(catalogue.Find(""), nullptr);
}

TEST(MoCatalog, CataloguesOfEitherByteOrderRead) {
    for (const bool bBigEndian : {false, true}) {
        const CTempFile file(OneMessage("Sound", "サウンド", bBigEndian));
        CMoCatalog catalogue;
        ASSERT_TRUE(catalogue.Load(file.Path())) << "big-endian " << bBigEndian;
        EXPECT_STREQ(catalogue.Find("Sound"), "サウンド");
    }
}

TEST(MoCatalog, AMissingTruncatedOrForeignFileLeavesTheCatalogueEmpty) {
    std::vector<std::uint8_t> truncated = OneMessage("Sound", "サウンド", false);
    truncated.resize(truncated.size() - 6);
    std::vector<std::uint8_t> foreign(64, 'x');
    CMoCatalog catalogue;
    ASSERT_TRUE(catalogue.Load(kJapanese));
    EXPECT_FALSE(catalogue.Load(kJapanese + ".missing"));
    EXPECT_TRUE(catalogue.IsEmpty());
    for (const auto& bytes : {truncated, foreign}) {
        const CTempFile file(bytes);
        EXPECT_FALSE(catalogue.Load(file.Path()));
        EXPECT_TRUE(catalogue.IsEmpty());
    }
}

}  // namespace
