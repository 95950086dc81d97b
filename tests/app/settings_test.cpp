// The settings and buffer files: text, damaged files, unchanged files, window rectangle.
#include "app/Settings.h"
#include "kova/File.h"
#include "kova/JList.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vivu;
namespace fs = std::filesystem;

namespace {
class SettingsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kova-settings-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / kSettingsFileName).string();
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Read(const std::string& path) {
        std::string bytes;
        kova::ReadFileBytes(path, bytes);
        return bytes;
    }
    fs::path dir_;
    std::string path_;
};

kova::JMap Example() {
    kova::JMap settings;
    settings.SetString("//Source.Web", "http://127.0.0.1/中文");
    settings.Setter("//Form.Status", kova::Value::Integer(0));
    settings.SetList("//Form.Position", kova::CreateStoreList({kova::Value::Integer(10), kova::Value::Integer(20),
                                                               kova::Value::Integer(800), kova::Value::Integer(600)}));
    settings.Setter("//ExpandAll", kova::Value::Boolean(true));
    settings.SetString("//Source.Type", "File");
    return settings;
}
} // namespace

TEST(SettingsText, SortedPrettyAndStable) {
    const kova::JMap settings = Example();
    const std::string text = SettingsText(settings);
    EXPECT_EQ(text, "{\r\n"
                    "    \"ExpandAll\": true,\r\n"
                    "    \"Form\": {\r\n"
                    "        \"Position\": [\r\n"
                    "            10,\r\n"
                    "            20,\r\n"
                    "            800,\r\n"
                    "            600\r\n"
                    "        ],\r\n"
                    "        \"Status\": 0\r\n"
                    "    },\r\n"
                    "    \"Source\": {\r\n"
                    "        \"Type\": \"File\",\r\n"
                    "        \"Web\": \"http://127.0.0.1/中文\"\r\n"
                    "    }\r\n"
                    "}");
    kova::JMap reread;
    ASSERT_TRUE(reread.FromJSON(text));
    EXPECT_EQ(SettingsText(reread), text) << "the same map always gives the same text";
}

TEST_F(SettingsFiles, SaveWritesOnlyWhenChangedAndKeepsUnknownKeys) {
    ASSERT_TRUE(kova::WriteFileBytes(path_, "{\"Mine\": {\"keep\": [1, 2]}, \"Form\": {\"Status\": 3}}"));
    kova::JMap settings;
    ASSERT_EQ(LoadSettings(path_, settings), SettingsLoad::Loaded);
    EXPECT_EQ(settings.GetInt("//Form.Status"), 3);
    ASSERT_TRUE(SaveSettings(path_, settings));
    const std::string saved = Read(path_);
    EXPECT_NE(saved.find("\"keep\""), std::string::npos) << "keys the program never wrote survive";
    const auto written = fs::last_write_time(path_);
    fs::last_write_time(path_, written - std::chrono::hours(1));
    ASSERT_TRUE(SaveSettings(path_, settings));
    EXPECT_EQ(fs::last_write_time(path_), written - std::chrono::hours(1)) << "an unchanged file is not rewritten";
    settings.Setter("//Form.Status", kova::Value::Integer(0));
    ASSERT_TRUE(SaveSettings(path_, settings));
    EXPECT_NE(Read(path_), saved);
}

TEST_F(SettingsFiles, MissingAndDamagedFiles) {
    kova::JMap settings = Example();
    EXPECT_EQ(LoadSettings(path_, settings), SettingsLoad::NotLoaded);
    EXPECT_EQ(settings.Count(), 0);
    EXPECT_FALSE(fs::exists(path_ + ".bad"));

    ASSERT_TRUE(kova::WriteFileBytes(path_, "{\"Form\": {\"Status\": 3"));
    EXPECT_EQ(LoadSettings(path_, settings), SettingsLoad::NotLoaded);
    EXPECT_FALSE(fs::exists(path_)) << "the damaged file is moved aside";
    EXPECT_EQ(Read(path_ + ".bad"), "{\"Form\": {\"Status\": 3") << "and kept byte for byte";
    ASSERT_TRUE(SaveSettings(path_, settings));
    EXPECT_EQ(Read(path_ + ".bad"), "{\"Form\": {\"Status\": 3") << "saving does not touch it";

    ASSERT_TRUE(kova::WriteFileBytes(path_, "[1, 2]"));
    EXPECT_EQ(LoadSettings(path_, settings), SettingsLoad::NotLoaded) << "an array is not a settings object";
    EXPECT_EQ(Read(path_ + ".bad"), "[1, 2]");

    ASSERT_TRUE(kova::WriteFileBytes(path_, ""));
    EXPECT_EQ(LoadSettings(path_, settings), SettingsLoad::NotLoaded);
    EXPECT_TRUE(fs::exists(path_)) << "an empty file is nothing to keep";
}

TEST_F(SettingsFiles, BufferIsWrittenOnlyWhenItsBytesDiffer) {
    const std::string path = (dir_ / kBufferFileName).string();
    ASSERT_TRUE(SaveBuffer(path, ""));
    EXPECT_TRUE(fs::exists(path)) << "an empty editor gives an empty file";
    ASSERT_TRUE(SaveBuffer(path, "{\"中\":1}"));
    EXPECT_EQ(Read(path), "{\"中\":1}");
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(1));
    const auto before = fs::last_write_time(path);
    ASSERT_TRUE(SaveBuffer(path, "{\"中\":1}"));
    EXPECT_EQ(fs::last_write_time(path), before);
    ASSERT_TRUE(SaveBuffer(path, "{\"中\":2}"));
    EXPECT_EQ(Read(path), "{\"中\":2}");
}

TEST(RestoredRect, ClampsToTheWorkAreaOfItsMonitor) {
    // The primary monitor, and a second one to its left with the taskbar along its top. As
    // MonitorFromRect would, a rectangle goes with the monitor that holds most of it.
    auto workAreaNear = [](const WindowRect& r) {
        return r.left + r.width / 2 < 0 ? ScreenArea{-1920, 40, 0, 1080} : ScreenArea{0, 0, 1280, 1024};
    };
    auto rect = [&](int l, int t, int w, int h) {
        kova::JMap settings;
        settings.SetList("//Form.Position", kova::CreateStoreList({kova::Value::Integer(l), kova::Value::Integer(t),
                                                                   kova::Value::Integer(w), kova::Value::Integer(h)}));
        return RestoredRect(settings, workAreaNear);
    };
    EXPECT_EQ(rect(10, 20, 800, 600), (WindowRect{10, 20, 800, 600}));
    EXPECT_EQ(rect(10, 20, 100, 100), (WindowRect{10, 20, 200, 150})) << "minimum size";
    EXPECT_EQ(rect(1000, 20, 800, 600), (WindowRect{480, 20, 800, 600})) << "moved left to end at the right edge";
    EXPECT_EQ(rect(-50, -5, 800, 600), (WindowRect{0, 0, 800, 600}));
    EXPECT_EQ(rect(0, 900, 800, 600), (WindowRect{0, 424, 800, 600}));
    EXPECT_EQ(rect(5, 5, 5000, 3000), (WindowRect{0, 0, 1280, 1024})) << "at most the screen";
    EXPECT_EQ(rect(-1500, 100, 800, 600), (WindowRect{-1500, 100, 800, 600})) << "stays on the second monitor";
    EXPECT_EQ(rect(-2000, 0, 800, 600), (WindowRect{-1920, 40, 800, 600})) << "below that monitor's taskbar";
    EXPECT_EQ(rect(-700, 900, 800, 600), (WindowRect{-800, 480, 800, 600})) << "ends at its right edge";
    EXPECT_EQ(rect(-3000, 0, 3000, 2000), (WindowRect{-1920, 40, 1920, 1040})) << "at most its work area";

    kova::JMap settings;
    EXPECT_FALSE(RestoredRect(settings, workAreaNear));
    settings.SetList("//Form.Position", kova::CreateStoreList({kova::Value::Integer(1), kova::Value::Integer(2)}));
    EXPECT_FALSE(RestoredRect(settings, workAreaNear)) << "not four items";
    settings.SetString("//Form.Position", "1,2,3,4");
    EXPECT_FALSE(RestoredRect(settings, workAreaNear)) << "not a list";
}

TEST(SourceIndexOfType, KnownNamesAndTheRest) {
    EXPECT_EQ(SourceIndexOfType("Web"), 1);
    EXPECT_EQ(SourceIndexOfType("File"), 2);
    EXPECT_EQ(SourceIndexOfType("Clipboard"), 0);
    EXPECT_EQ(SourceIndexOfType("web"), 0);
    EXPECT_EQ(SourceIndexOfType(""), 0);
}
