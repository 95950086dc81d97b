// Where the settings and buffer files go: beside the program when it can write there, else the user's folder.
#include "app/Settings.h"
#include "app/SettingsLocation.h"
#include "kova/File.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vivu;
namespace fs = std::filesystem;

namespace {
fs::path U8(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

class SettingsLocationTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kova-location-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        // A folder nobody can create files in, not even an administrator: its parent is a file.
        ASSERT_TRUE(kova::WriteFileBytes((dir_ / "plain-file").string(), "x"));
        unwritable_ = (dir_ / "plain-file" / "program").string();
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
    std::string unwritable_;
};
} // namespace

TEST_F(SettingsLocationTest, ProbeCreatesNothingThatStays) {
    const std::string program = kova::PathJoin(dir_.string(), "程序 目录");
    fs::create_directories(U8(program));
    EXPECT_TRUE(CanCreateFilesIn(program));
    EXPECT_TRUE(fs::is_empty(U8(program))) << "the probe left a file behind";
    EXPECT_FALSE(CanCreateFilesIn(unwritable_));
    EXPECT_FALSE(CanCreateFilesIn((dir_ / "missing").string()));
}

TEST_F(SettingsLocationTest, WritableProgramFolderKeepsTheFilesBesideTheProgram) {
    const std::string user = (dir_ / "user" / kUserDataFolderName).string();
    const SettingsLocation where = ChooseSettingsLocation(dir_.string(), user);
    EXPECT_EQ(where.dir, dir_.string());
    EXPECT_EQ(where.settingsPath, kova::PathJoin(dir_.string(), kSettingsFileName));
    EXPECT_EQ(where.bufferPath, kova::PathJoin(dir_.string(), kBufferFileName));
    EXPECT_FALSE(fs::exists(dir_ / "user")) << "the user's folder is made only when it is needed";
}

TEST_F(SettingsLocationTest, UnwritableProgramFolderMovesTheFilesToTheUsersFolder) {
    const std::string user = kova::PathJoin(kova::PathJoin(dir_.string(), "本地 数据"), kUserDataFolderName);
    const SettingsLocation where = ChooseSettingsLocation(unwritable_, user);
    EXPECT_EQ(where.dir, user);
    EXPECT_EQ(where.settingsPath, kova::PathJoin(user, kSettingsFileName));
    EXPECT_EQ(where.bufferPath, kova::PathJoin(user, kBufferFileName));
    EXPECT_TRUE(CanCreateFilesIn(user)) << "the user's folder was not made";
}

TEST_F(SettingsLocationTest, NowhereToWriteStaysBesideTheProgram) {
    EXPECT_EQ(ChooseSettingsLocation(unwritable_, "").dir, unwritable_);
    EXPECT_EQ(ChooseSettingsLocation(unwritable_, (dir_ / "plain-file" / "user").string()).dir, unwritable_);
}
