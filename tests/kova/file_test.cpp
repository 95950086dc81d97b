// Files: reading with detection, writing through a temporary file, paths.
#include "kova/File.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace kova;
namespace fs = std::filesystem;

namespace {
class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kova-file-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    fs::path dir_;
};
} // namespace

TEST_F(FileTest, ReadStringFileDetectsTheEncoding) {
    ASSERT_TRUE(WriteFileBytes(Path("gbk.json"), "{\"\xD6\xD0\":1}"));
    ASSERT_TRUE(WriteFileBytes(Path("utf8.json"), "{\"中\":1}"));
    ASSERT_TRUE(WriteFileBytes(Path("bom.json"), "\xEF\xBB\xBF{\"中\":1}"));
    ASSERT_TRUE(WriteFileBytes(Path("utf16.json"), std::string("\xFF\xFE{\0\"\0\x2D\x4E\"\0:\0"
                                                               "1\0}\0",
                                                               16)));
    for (const char* name : {"gbk.json", "utf8.json", "bom.json", "utf16.json"})
        EXPECT_EQ(ReadStringFile(Path(name)), "{\"中\":1}") << name;
    EXPECT_EQ(ReadStringFile(Path("missing.json")), "");
    std::string bytes = "stale";
    EXPECT_FALSE(ReadFileBytes(Path("missing.json"), bytes));
    EXPECT_EQ(bytes, "");
}

TEST_F(FileTest, WritesReplaceWholeFilesAndLeaveNoTemporary) {
    const std::string path = Path("settings.json");
    ASSERT_TRUE(WriteStringFile(path, "first version, rather long"));
    ASSERT_TRUE(WriteStringFile(path, "中文"));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "中文");
    ASSERT_TRUE(WriteStringFile(path, "中文", "GBK"));
    ASSERT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "\xD6\xD0\xCE\xC4");
    ASSERT_TRUE(WriteFileBytes(path, ""));
    ASSERT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(FileTest, AFailedWriteKeepsTheOldFile) {
    const std::string path = Path("keep.txt");
    ASSERT_TRUE(WriteFileBytes(path, "precious"));
    // The temporary file cannot be created where a directory of its name stands.
    fs::create_directory(path + ".tmp~");
    EXPECT_FALSE(WriteFileBytes(path, "new"));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "precious");
    EXPECT_FALSE(WriteFileBytes(Path("no/such/dir/file.txt"), "x"));
}

TEST_F(FileTest, ExistenceAndPaths) {
    EXPECT_FALSE(FileExists(Path("none")));
    EXPECT_FALSE(FileExists(dir_.string())) << "a directory is not a file";
    ASSERT_TRUE(WriteFileBytes(Path("中文名.txt"), "x"));
    EXPECT_TRUE(FileExists(Path("中文名.txt")));
    EXPECT_EQ(PathJoin("C:/app", "kova.json.config.json"), "C:/app/kova.json.config.json");
    EXPECT_EQ(PathJoin("C:\\app\\", "/x"), "C:\\app/x");
    EXPECT_FALSE(PathGetCurrentDir().empty());
    EXPECT_TRUE(fs::is_directory(fs::u8path(PathGetCurrentDir())));
}
