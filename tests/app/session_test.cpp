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

enum Folder { Writable, NotWritable, Unreplaceable, InUserFolder };
enum Launch { Plain, AnswerCancel, FileArgument, NoScintilla };
enum Act { Nothing, Type, Clear, LoadFile, WebLoad, WebLoadFails };
enum End { Close, SessionEnd, CalledOff, EndInWebLoad };

constexpr char kSame[] = "(as at start)";
constexpr char kLarge[] = "(1,048,577 bytes)";
constexpr char kClip[] = R"({"ExpandAll":false,"Source":{"File":"","Type":"Clipboard","Web":"http://a/"}})";
constexpr char kFresh[] = R"({"ExpandAll":false,"Source":{"File":"","Type":"Clipboard","Web":""}})";
constexpr char kFile[] = R"({"ExpandAll":true,"Source":{"File":"$DATA","Type":"File","Web":""}})";
constexpr char kEdited[] = R"({"ExpandAll":true,"Source":{"File":"$DATA","FileEdited":true,"Type":"File","Web":""}})";
constexpr char kReloaded[] =
    R"({"ExpandAll":true,"Source":{"File":"$DATA","FileEdited":false,"Type":"File","Web":""}})";
constexpr char kGone[] = R"({"ExpandAll":true,"Source":{"File":"$GONE","Type":"File","Web":""}})";
constexpr char kGoneEdited[] =
    R"({"ExpandAll":true,"Source":{"File":"$GONE","FileEdited":true,"Type":"File","Web":""}})";
constexpr char kArgument[] = R"({"ExpandAll":false,"Source":{"File":"$DATA","Type":"File","Web":"http://a/"}})";
constexpr char kArgumentEdited[] =
    R"({"ExpandAll":false,"Source":{"File":"$DATA","FileEdited":true,"Type":"File","Web":""}})";
constexpr char kTyped[] = R"({"file":1}x)";

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
    {"no settings", nullptr, "[1]", Writable, Plain, Nothing, Close, kFresh, kSame},
    {"damaged settings", "{broken", "[1]", Writable, Plain, Nothing, Close, kFresh, kSame},
    {"no settings, typed", nullptr, "[1]", Writable, Plain, Type, Close, kFresh, "x"},
    {"no scintilla.dll", kClip, kLarge, Writable, NoScintilla, Nothing, Close, kSame, kSame},
    // The buffer offered, with the question when large.
    {"buffer", kClip, "[1]", Writable, Plain, Nothing, Close, kSame, kSame},
    {"large buffer, OK, 清空", kClip, kLarge, Writable, Plain, Clear, Close, kSame, ""},
    {"large buffer, 取消", kClip, kLarge, Writable, AnswerCancel, Nothing, Close, kSame, kSame},
    {"large buffer, 取消, 清空", kClip, kLarge, Writable, AnswerCancel, Clear, Close, kSame, kSame},
    {"large buffer, 取消, typed", kClip, kLarge, Writable, AnswerCancel, Type, Close, kSame, "x"},
    {"web load", kClip, "[1]", Writable, Plain, WebLoad, Close, kSame, "{\"web\":1}"},
    {"web load fails", kClip, "[1]", Writable, Plain, WebLoadFails, Close, kSame, kSame},
    // The file source: read fresh unless the editor held something else at the last close.
    {"file", kFile, "[1]", Writable, Plain, Nothing, Close, kSame, kSame},
    {"file, edited", kFile, "[1]", Writable, Plain, Type, Close, kEdited, kTyped},
    {"edits come back", kEdited, kTyped, Writable, Plain, Nothing, Close, kSame, kSame},
    {"edits come back, file reloaded", kEdited, kTyped, Writable, Plain, LoadFile, Close, kReloaded, "{\"file\":1}"},
    {"file missing", kGone, "[1]", Writable, Plain, Nothing, Close, kGoneEdited, kSame},
    {"file argument", kClip, "[1]", Writable, FileArgument, Nothing, Close, kArgument, kSame},
    {"file argument, cleared", nullptr, "[1]", Writable, FileArgument, Clear, Close, kArgumentEdited, ""},
    // How the program ends.
    {"session end", kClip, "[1]", Writable, Plain, Type, SessionEnd, kSame, "[1]x"},
    {"session end called off", kClip, "[1]", Writable, Plain, Type, CalledOff, kSame, "[1]xx"},
    {"session end in a web load", kClip, "[1]", Writable, Plain, Type, EndInWebLoad, kSame, "[1]x"},
    {"session end in a web load, not loaded", nullptr, "[1]", Writable, Plain, Nothing, EndInWebLoad, kFresh, kSame},
    // Where the files live.
    {"folder not writable", nullptr, nullptr, NotWritable, Plain, Type, Close, kFresh, "x"},
    {"buffer cannot be replaced", kClip, nullptr, Unreplaceable, Plain, Type, Close, kClip, "x"},
    {"user folder has its files", kClip, "[2]", InUserFolder, Plain, Nothing, Close, kSame, kSame},
};

std::map<std::string, std::string> Snapshot(const fs::path& dir) {
    std::map<std::string, std::string> files; // path → bytes
    if (fs::is_directory(dir))
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            if (entry.is_regular_file()) kova::ReadFileBytes(entry.path().string(), files[entry.path().string()]);
    return files;
}

// The settings file's text for a compact JSON text with $DATA and $GONE standing for paths.
std::string SettingsBytes(std::string compact, const fs::path& root) {
    for (const char* name : {"$DATA", "$GONE"}) {
        std::string path = (root / (name == std::string("$DATA") ? "data.json" : "gone.json")).string(), escaped;
        for (char c : path) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c); // Windows paths
        if (auto at = compact.find(name); at != std::string::npos) compact.replace(at, 5, escaped);
    }
    kova::JMap map;
    return map.FromJSON(compact) ? SettingsText(map) : compact;
}

} // namespace

TEST(SessionJourneys, BothFilesAfterwards) {
    const fs::path root = fs::temp_directory_path() / "kova-session-journeys";
    for (const Journey& j : kJourneys) {
        SCOPED_TRACE(j.name);
        fs::remove_all(root);
        fs::create_directories(root);
        ASSERT_TRUE(kova::WriteFileBytes((root / "data.json").string(), "{\"file\":1}"));
        fs::path program = root / "program", user = root / "user";
        if (j.folder == NotWritable) { // even root cannot create files below a file
            ASSERT_TRUE(kova::WriteFileBytes(program.string(), "x"));
            program /= "program";
        }
        const fs::path saved = j.folder == Writable ? program : user, start = j.folder == InUserFolder ? user : program;
        if (j.folder == Unreplaceable || j.folder == InUserFolder) fs::create_directories(program / kBufferFileName);
        if (j.settings || j.buffer) fs::create_directories(start);
        const std::string buffer = j.buffer == kLarge ? std::string(1048577, 'a') : j.buffer ? j.buffer : "(none)";
        if (j.settings) kova::WriteFileBytes((start / kSettingsFileName).string(), SettingsBytes(j.settings, root));
        if (j.buffer) kova::WriteFileBytes((start / kBufferFileName).string(), buffer);
        const auto programBefore = Snapshot(program);

        MemoryEditor editor;
        kova::JMap settings;
        FakeWindow window(editor);
        Session real(editor, settings, window);
        window.session = &real;
        window.answer = j.launch != AnswerCancel;
        real.Start({program.string(), user.string(), j.launch == FileArgument, j.launch != NoScintilla});
        if (j.launch == FileArgument) window.boxes = {window.boxes.web, (root / "data.json").string(), 2, false};
        if (j.launch == FileArgument) window.LoadFileSource(); // as the window opens it once shown
        real.Started();
        auto webLoad = [&](bool arrives) { // the window empties the editor, then fills it or undoes that
            real.WebLoadStarts();
            editor.ClearAll();
            if (arrives) editor.AddText("{\"web\":1}");
            if (!arrives) editor.Undo();
            real.WebLoadEnds();
        };
        if (j.act == Type) editor.AddText("x");
        if (j.act == Clear) editor.ClearAll();
        if (j.act == LoadFile) window.LoadFileSource();
        if (j.act == WebLoad || j.act == WebLoadFails) webLoad(j.act == WebLoad);
        if (j.end == EndInWebLoad) {
            real.WebLoadStarts();
            editor.ClearAll();
        }
        EXPECT_TRUE(j.end == Close || real.QueryEndSession());
        if (j.end != Close) real.EndSession(j.end != CalledOff);
        if (j.end == CalledOff) editor.AddText("x");  // typed on once the end was called off
        if (j.end == SessionEnd) editor.AddText("y"); // saved at the end: the close writes nothing more
        if (j.end != EndInWebLoad) real.Close();

        EXPECT_TRUE(window.failures.empty()) << window.failures[0];
        std::string bytes = "(none)";
        kova::ReadFileBytes((saved / kSettingsFileName).string(), bytes);
        EXPECT_EQ(bytes, SettingsBytes(j.settingsAfter == kSame ? j.settings : j.settingsAfter, root));
        if (!kova::ReadFileBytes((saved / kBufferFileName).string(), bytes)) bytes = "(none)";
        EXPECT_EQ(bytes, j.bufferAfter == kSame ? buffer : j.bufferAfter);
        EXPECT_TRUE(saved == program || Snapshot(program) == programBefore) << "the program's folder was touched";
        EXPECT_TRUE(saved != program || !fs::exists(user)) << "the user's folder is made only when needed";
    }
    fs::remove_all(root);
}
