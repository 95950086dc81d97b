// The session's journeys: the files at start × what the user does × how the program ends → both files.
#include "app/Session.h"
#include "editor/MemoryEditor.h"
#include "kova/File.h"
#include "json/FileSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace vivu;
namespace fs = std::filesystem;

namespace {

// The main window as the session sees it; its file load is the file source's.
class FakeWindow : public SessionWindow {
public:
    explicit FakeWindow(MemoryEditor& editor) : editor_(editor) {}
    Session* session = nullptr;
    SourceBoxes boxes;
    bool answer = true; // to "是否加载最近的内容？"
    std::vector<std::string> failures;

    void LoadFile(const std::string& path) {
        boxes = {boxes.web, path, 2, boxes.expandAll};
        LoadFileSource();
    }
    ScreenArea WorkAreaOf(const WindowRect&) override { return {0, 0, 1280, 1024}; }
    void PlaceWindow(const std::optional<WindowRect>&, bool) override {}
    SourceBoxes ReadSourceBoxes() override { return boxes; }
    void ShowSourceBoxes(const SourceBoxes& shown) override { boxes = shown; }
    void LoadFileSource() override {
        if (auto text = ReadSourceFile(boxes.file)) {
            editor_.ClearAll();
            editor_.AddText(*text);
            session->FileLoaded(*text);
        }
    }
    bool Ask(const std::string&, const std::string&) override { return answer; }
    void ShowFailure(const std::string& text, const std::string&) override { failures.push_back(text); }

private:
    MemoryEditor& editor_;
};

enum class Folder { Writable, NotWritable, BufferCannotBeReplaced, UserFolderHasFiles };
enum class Launch { Plain, AnswerCancel, FileArgument, NoScintilla };
enum class Act { Nothing, Type, Clear, LoadFile, WebLoad, WebLoadFails };
enum class End { Close, SessionEnd, SessionEndCalledOff, SessionEndDuringWebLoad };

constexpr char kSame[] = "(as at start)";
constexpr char kLarge[] = "(1,048,577 bytes)";
constexpr char kClipboard[] = R"({"ExpandAll":false,"Source":{"File":"","Type":"Clipboard","Web":"http://a/"}})";
constexpr char kFresh[] = R"({"ExpandAll":false,"Source":{"File":"","Type":"Clipboard","Web":""}})";
constexpr char kFile[] = R"({"ExpandAll":true,"Source":{"File":"$DATA","Type":"File","Web":""}})";
constexpr char kFileEdited[] =
    R"({"ExpandAll":true,"Source":{"File":"$DATA","FileEdited":true,"Type":"File","Web":""}})";
constexpr char kFileReloaded[] =
    R"({"ExpandAll":true,"Source":{"File":"$DATA","FileEdited":false,"Type":"File","Web":""}})";
constexpr char kFileGone[] = R"({"ExpandAll":true,"Source":{"File":"$GONE","Type":"File","Web":""}})";
constexpr char kFileGoneEdited[] =
    R"({"ExpandAll":true,"Source":{"File":"$GONE","FileEdited":true,"Type":"File","Web":""}})";
constexpr char kFileArgument[] = R"({"ExpandAll":false,"Source":{"File":"$DATA","Type":"File","Web":"http://a/"}})";

struct Journey {
    const char* name;
    const char* settings; // at start; nullptr: none
    const char* buffer;   // at start; nullptr: none
    Folder folder;
    Launch launch;
    Act act;
    End end;
    const char* settingsAfter; // where they are saved: beside the program, or in the user's folder
    const char* bufferAfter;
};

// The file source's file holds {"file":1}; a web load brings {"web":1}; typing adds "x".
const Journey kJourneys[] = {
    // Nothing restored: an unchanged editor leaves the buffer as it was.
    {"no settings", nullptr, "[1]", Folder::Writable, Launch::Plain, Act::Nothing, End::Close, kFresh, kSame},
    {"damaged settings", "{broken", "[1]", Folder::Writable, Launch::Plain, Act::Nothing, End::Close, kFresh, kSame},
    {"no settings, typed", nullptr, "[1]", Folder::Writable, Launch::Plain, Act::Type, End::Close, kFresh, "x"},
    {"no scintilla.dll", kClipboard, kLarge, Folder::Writable, Launch::NoScintilla, Act::Nothing, End::Close, kSame,
     kSame},
    // The buffer offered, with the question when large.
    {"buffer", kClipboard, "[1]", Folder::Writable, Launch::Plain, Act::Nothing, End::Close, kSame, kSame},
    {"large buffer, OK, 清空", kClipboard, kLarge, Folder::Writable, Launch::Plain, Act::Clear, End::Close, kSame, ""},
    {"large buffer, 取消", kClipboard, kLarge, Folder::Writable, Launch::AnswerCancel, Act::Nothing, End::Close, kSame,
     kSame},
    {"large buffer, 取消, 清空", kClipboard, kLarge, Folder::Writable, Launch::AnswerCancel, Act::Clear, End::Close,
     kSame, kSame},
    {"large buffer, 取消, typed", kClipboard, kLarge, Folder::Writable, Launch::AnswerCancel, Act::Type, End::Close,
     kSame, "x"},
    {"web load", kClipboard, "[1]", Folder::Writable, Launch::Plain, Act::WebLoad, End::Close, kSame, "{\"web\":1}"},
    {"web load fails", kClipboard, "[1]", Folder::Writable, Launch::Plain, Act::WebLoadFails, End::Close, kSame, kSame},
    // The file source: read fresh unless the editor held something else at the last close.
    {"file", kFile, "[1]", Folder::Writable, Launch::Plain, Act::Nothing, End::Close, kSame, kSame},
    {"file, edited", kFile, "[1]", Folder::Writable, Launch::Plain, Act::Type, End::Close, kFileEdited,
     "{\"file\":1}x"},
    {"edits come back", kFileEdited, "{\"file\":1}x", Folder::Writable, Launch::Plain, Act::Nothing, End::Close, kSame,
     kSame},
    {"edits come back, file reloaded", kFileEdited, "{\"file\":1}x", Folder::Writable, Launch::Plain, Act::LoadFile,
     End::Close, kFileReloaded, "{\"file\":1}"},
    {"file missing", kFileGone, "[1]", Folder::Writable, Launch::Plain, Act::Nothing, End::Close, kFileGoneEdited,
     kSame},
    {"file argument", kClipboard, "[1]", Folder::Writable, Launch::FileArgument, Act::Nothing, End::Close,
     kFileArgument, kSame},
    {"file argument, cleared", nullptr, "[1]", Folder::Writable, Launch::FileArgument, Act::Clear, End::Close,
     R"({"ExpandAll":false,"Source":{"File":"$DATA","FileEdited":true,"Type":"File","Web":""}})", ""},
    // How the program ends.
    {"session end", kClipboard, "[1]", Folder::Writable, Launch::Plain, Act::Type, End::SessionEnd, kSame, "[1]x"},
    {"session end called off", kClipboard, "[1]", Folder::Writable, Launch::Plain, Act::Type, End::SessionEndCalledOff,
     kSame, "[1]xx"},
    {"session end in a web load", kClipboard, "[1]", Folder::Writable, Launch::Plain, Act::Type,
     End::SessionEndDuringWebLoad, kSame, "[1]x"},
    {"session end in a web load, not loaded", nullptr, "[1]", Folder::Writable, Launch::Plain, Act::Nothing,
     End::SessionEndDuringWebLoad, kFresh, kSame},
    // Where the files live.
    {"folder not writable", nullptr, nullptr, Folder::NotWritable, Launch::Plain, Act::Type, End::Close, kFresh, "x"},
    {"buffer cannot be replaced", kClipboard, nullptr, Folder::BufferCannotBeReplaced, Launch::Plain, Act::Type,
     End::Close, kClipboard, "x"},
    {"user folder has its files", kClipboard, "[2]", Folder::UserFolderHasFiles, Launch::Plain, Act::Nothing,
     End::Close, kSame, kSame},
};

using Files = std::map<std::string, std::string>; // path → bytes

std::string InJson(const std::string& path) { // Windows paths have backslashes
    std::string escaped;
    for (char c : path) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped;
}

Files Snapshot(const fs::path& dir) {
    Files files;
    if (fs::is_directory(dir))
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            if (entry.is_regular_file()) kova::ReadFileBytes(entry.path().string(), files[entry.path().string()]);
    return files;
}

class SessionJourneys : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / "kova-session-journeys";
        fs::remove_all(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    std::string Expand(std::string text) {
        for (const auto& [name, path] :
             {std::pair{"$DATA", Data()}, std::pair{"$GONE", (root_ / "gone.json").string()}})
            if (auto at = text.find(name); at != std::string::npos) text.replace(at, 5, InJson(path));
        return text;
    }
    std::string Data() { return (root_ / "data.json").string(); }
    fs::path root_;
};

} // namespace

TEST_F(SessionJourneys, BothFilesAfterwards) {
    const std::string large(1048577, 'a');
    for (const Journey& j : kJourneys) {
        SCOPED_TRACE(j.name);
        fs::remove_all(root_);
        fs::create_directories(root_);
        ASSERT_TRUE(kova::WriteFileBytes(Data(), "{\"file\":1}"));
        fs::path program = root_ / "program", user = root_ / "user";
        if (j.folder == Folder::NotWritable) {
            ASSERT_TRUE(kova::WriteFileBytes(program.string(), "a file: nothing goes in below it"));
            program /= "program";
        } else {
            fs::create_directories(program);
        }
        const fs::path saved = j.folder == Folder::Writable ? program : user;
        const fs::path start = j.folder == Folder::UserFolderHasFiles ? user : program;
        if (j.folder == Folder::BufferCannotBeReplaced || j.folder == Folder::UserFolderHasFiles)
            fs::create_directories(program / kBufferFileName); // what even root cannot replace
        if (j.settings || j.buffer) fs::create_directories(start);
        auto settingsText = [&](const char* compact) {
            kova::JMap map;
            return map.FromJSON(Expand(compact)) ? SettingsText(map) : std::string(compact);
        };
        const std::string buffer = j.buffer == kLarge ? large : j.buffer ? j.buffer : "";
        ASSERT_TRUE(!j.settings ||
                    kova::WriteFileBytes((start / kSettingsFileName).string(), settingsText(j.settings)));
        ASSERT_TRUE(!j.buffer || kova::WriteFileBytes((start / kBufferFileName).string(), buffer));
        const Files programBefore = Snapshot(program);

        MemoryEditor editor;
        kova::JMap settings;
        FakeWindow window(editor);
        Session session(editor, settings, window);
        window.session = &session;
        window.answer = j.launch != Launch::AnswerCancel;
        session.Start(
            {program.string(), user.string(), j.launch == Launch::FileArgument, j.launch != Launch::NoScintilla});
        if (j.launch == Launch::FileArgument) window.LoadFile(Data());
        session.Started();
        auto webLoad = [&](bool arrives) {
            session.WebLoadStarts();
            editor.ClearAll();
            if (arrives) editor.AddText("{\"web\":1}");
            if (!arrives) editor.Undo();
            session.WebLoadEnds();
        };
        switch (j.act) {
        case Act::Nothing:
            break;
        case Act::Type:
            editor.AddText("x");
            break;
        case Act::Clear:
            editor.ClearAll();
            break;
        case Act::LoadFile:
            window.LoadFile(Data());
            break;
        case Act::WebLoad:
            webLoad(true);
            break;
        case Act::WebLoadFails:
            webLoad(false);
            break;
        }
        switch (j.end) {
        case End::Close:
            session.Close();
            break;
        case End::SessionEnd:
            EXPECT_TRUE(session.QueryEndSession());
            editor.AddText("y"); // Windows may still send messages: the end saved once
            session.EndSession(true);
            session.Close();
            break;
        case End::SessionEndCalledOff:
            session.QueryEndSession();
            session.EndSession(false);
            editor.AddText("x");
            session.Close();
            break;
        case End::SessionEndDuringWebLoad:
            session.WebLoadStarts();
            editor.ClearAll();
            session.QueryEndSession();
            session.EndSession(true);
            break;
        }

        EXPECT_TRUE(window.failures.empty()) << window.failures[0];
        std::string bytes;
        const std::string settingsPath = (saved / kSettingsFileName).string();
        const std::string bufferPath = (saved / kBufferFileName).string();
        kova::ReadFileBytes(settingsPath, bytes);
        EXPECT_EQ(bytes, j.settingsAfter == kSame ? settingsText(j.settings) : settingsText(j.settingsAfter));
        EXPECT_EQ(kova::ReadFileBytes(bufferPath, bytes) ? bytes : "(none)",
                  j.bufferAfter == kSame ? (j.buffer ? buffer : "(none)") : j.bufferAfter);
        if (saved != program) {
            EXPECT_EQ(Snapshot(program), programBefore) << "the program's folder was touched";
        } else {
            EXPECT_FALSE(fs::exists(user)) << "the user's folder is made only when needed";
        }
    }
}
