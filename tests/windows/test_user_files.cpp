// The settings' file on Windows: under %APPDATA%, made with its folders, replaced whole, and a
// read-only one left alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/base/user_files.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

class UserFilesTest : public ::testing::Test {
protected:
    void SetUp() override { fs::remove_all(m_folder); }
    void TearDown() override {
        fs::permissions(m_folder / "hoplin" / "settings", fs::perms::owner_write,
                        fs::perm_options::add, m_error);
        fs::remove_all(m_folder, m_error);
    }

    fs::path m_folder = fs::temp_directory_path() / "hoplin-user-files-test";
    std::error_code m_error;
};

TEST_F(UserFilesTest, TheSettingsFolderIsAppData) {
    std::string strWhy;
    const char* pszAppData = std::getenv("APPDATA");
    ASSERT_NE(pszAppData, nullptr);
    EXPECT_EQ(AfxGetConfigHome(&strWhy), pszAppData);
    EXPECT_EQ(strWhy, "");
}

TEST_F(UserFilesTest, AFileIsMadeWithItsFoldersThenReplacedWhole) {
    const fs::path file = m_folder / "hoplin" / "settings";
    std::string strWhy;
    ASSERT_EQ(AfxReplaceFile(file.string(), "sound = on\nline two\n", &strWhy),
              ReplaceResult::kReplaced)
        << strWhy;
    EXPECT_EQ(Read(file), "sound = on\nline two\n");
    ASSERT_EQ(AfxReplaceFile(file.string(), "sound = off\n", &strWhy), ReplaceResult::kReplaced)
        << strWhy;
    // Byte for byte: no line ends turned into CR LF, nothing of the longer text left.
    EXPECT_EQ(Read(file), "sound = off\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), {}), 1);
}

TEST_F(UserFilesTest, AReadOnlyFileIsLeftAsItIs) {
    const fs::path file = m_folder / "hoplin" / "settings";
    std::string strWhy;
    ASSERT_EQ(AfxReplaceFile(file.string(), "sound = on\n", &strWhy), ReplaceResult::kReplaced);
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(AfxReplaceFile(file.string(), "sound = off\n", &strWhy), ReplaceResult::kReadOnly);
    EXPECT_EQ(Read(file), "sound = on\n");
}

TEST_F(UserFilesTest, AFileThatCannotBeWrittenIsAFailureThatSaysWhy) {
    // A folder stands where the file would go.
    const fs::path file = m_folder / "hoplin" / "settings";
    fs::create_directories(file);
    std::string strWhy;
    EXPECT_EQ(AfxReplaceFile(file.string(), "sound = on\n", &strWhy), ReplaceResult::kFailed);
    EXPECT_NE(strWhy, "");
    EXPECT_TRUE(fs::is_directory(file));
}

}  // namespace
