// Loading files of every encoding the way the file source does.
#include "kova/File.h"
#include "json/FileSource.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vivu;
namespace fs = std::filesystem;

TEST(FileSource, SameTextWhateverTheEncoding) {
    const fs::path dir = fs::temp_directory_path() / "kova-file-source-test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string expected = "{\"名字\":\"汉字\"}";
    struct File {
        const char* name;
        std::string bytes;
    } files[] = {
        {"utf8.json", expected},
        {"bom.json", "\xEF\xBB\xBF" + expected},
        {"gbk.json", "{\"\xC3\xFB\xD7\xD6\":\"\xBA\xBA\xD7\xD6\"}"},
        {"utf16.json", std::string("\xFF\xFE{\0\"\0\x0D\x54\x57\x5B\"\0:\0\"\0\x49\x6C\x57\x5B\"\0}\0", 24)},
    };
    for (const auto& f : files) {
        const std::string path = (dir / f.name).string();
        ASSERT_TRUE(kova::WriteFileBytes(path, f.bytes));
        auto text = ReadSourceFile(path);
        ASSERT_TRUE(text.has_value()) << f.name;
        EXPECT_EQ(*text, expected) << f.name;
    }
    const std::string zero = (dir / "zero.json").string();
    ASSERT_TRUE(kova::WriteFileBytes(zero, std::string("[1]\0garbage", 11)));
    EXPECT_EQ(ReadSourceFile(zero), "[1]") << "text after a zero byte is dropped";
    std::string failure;
    EXPECT_FALSE(ReadSourceFile((dir / "missing.json").string(), &failure).has_value());
    EXPECT_EQ(failure, kFileMissing);
    EXPECT_FALSE(ReadSourceFile("", &failure).has_value());
    EXPECT_EQ(failure, kFileMissing);
    EXPECT_FALSE(ReadSourceFile(dir.string(), &failure).has_value()) << "a directory is not a file";
    EXPECT_EQ(failure, kFileUnreadable) << "but it is there";
    const std::string empty = (dir / "empty.json").string();
    ASSERT_TRUE(kova::WriteFileBytes(empty, ""));
    EXPECT_EQ(ReadSourceFile(empty), "");
    fs::remove_all(dir);
}
