// Starting and saving the run: where the files are, what comes back, what is written.
#include "app/Session.h"

#include "kova/CreateString.h"
#include "kova/Encoding.h"
#include "kova/File.h"

#include <functional>

namespace vivu {

namespace {
constexpr int kPlacementMaximised = 3;
constexpr int kFileSourceIndex = 2;
const char* const kSourceTypes[] = {"Clipboard", "Web", "File"};
} // namespace

Session::Identity Session::IdentityOf(std::string_view text) {
    return {text.size(), std::hash<std::string_view>{}(text)};
}

std::string Session::EditorText() {
    return editor_.GetText(editor_.GetLength() + 1);
}

void Session::Start(const SessionStart& start) {
    editorPresent_ = start.editorPresent;
    location_ = ChooseSettingsLocation(start.programDir, start.userDataDir);
    // A damaged file beside the program stays where it is when the files live elsewhere.
    const bool readWhereSaved = location_.settingsReadPath == location_.settingsPath;
    if (LoadSettings(location_.settingsReadPath, settings_, readWhereSaved) != SettingsLoad::Loaded) return;

    window_.PlaceWindow(RestoredRect(settings_, [this](const WindowRect& r) { return window_.WorkAreaOf(r); }),
                        settings_.GetInt("//Form.Status") == kPlacementMaximised);
    const std::string type = settings_.GetString("//Source.Type");
    const SourceBoxes boxes{settings_.GetString("//Source.Web"), settings_.GetString("//Source.File"),
                            SourceIndexOfType(type),
                            settings_.Exists("//ExpandAll") && settings_.GetBool("//ExpandAll")};
    window_.ShowSourceBoxes(boxes);

    // Nothing to load into without an editor; the file named on the command line takes it.
    if (!editorPresent_ || start.startFile) return;
    if (type == "File" && !settings_.GetBool(kFileEditedKey) && kova::FileExists(boxes.file)) {
        window_.LoadFileSource(); // unedited last time: read fresh from the disk
        return;
    }
    std::string bytes;
    // One that is there but cannot be read (locked, no permission) is not replaced by an empty text.
    if (!kova::ReadFileBytes(location_.bufferReadPath, bytes) && kova::FileExists(location_.bufferReadPath)) return;
    const std::string text = kova::ConvertStringEncoding(bytes, "UTF-8", "UTF-8");
    bytes = std::string();
    if (kova::GbkByteLength(text) > kBufferQuestionLimit && !window_.Ask(kBufferQuestion, kBufferQuestionTitle)) return;
    editor_.BeginUndoAction();
    editor_.ClearAll();
    editor_.AddText(text);
    editor_.EndUndoAction();
    bufferLoaded_ = true;
}

void Session::Started() {
    if (editorPresent_) startText_ = IdentityOf(EditorText());
    started_ = true;
}

void Session::FileLoaded(std::string_view text) {
    fileLoad_ = IdentityOf(text);
}

void Session::WebLoadStarts() {
    if (editorPresent_) webLoadBefore_ = EditorText();
}

void Session::WebLoadEnds() {
    webLoadBefore_.reset();
}

bool Session::QueryEndSession() {
    if (!savedForSessionEnd_) Save();
    savedForSessionEnd_ = true;
    return true;
}

void Session::EndSession(bool ending) {
    if (ending && !savedForSessionEnd_) Save();
    savedForSessionEnd_ = ending;
}

void Session::Close() {
    if (!savedForSessionEnd_) Save();
}

void Session::Save() {
    const SourceBoxes boxes = window_.ReadSourceBoxes();
    const int index = boxes.sourceIndex >= 0 && boxes.sourceIndex < 3 ? boxes.sourceIndex : 0;
    settings_.SetString("//Source.Web", boxes.web);
    settings_.SetString("//Source.File", boxes.file);
    settings_.SetString("//Source.Type", kSourceTypes[index]);
    settings_.Setter("//ExpandAll", kova::Value::Boolean(boxes.expandAll));
    if (location_.settingsPath.empty()) return; // never started, so nothing to write beside

    bool writeBuffer = false;
    std::string text;
    if (editorPresent_) {
        text = webLoadBefore_ ? *webLoadBefore_ : EditorText();
        const Identity now = IdentityOf(text);
        // A buffer the start did not load is the user's last text until they change the editor.
        writeBuffer = bufferLoaded_ || (started_ && now != startText_);
        const bool fileEdited = index == kFileSourceIndex && (!fileLoad_ || *fileLoad_ != now);
        // Written once it matters, so that files of runs that never needed it stay as they were.
        if (fileEdited || settings_.Exists(kFileEditedKey))
            settings_.Setter(kFileEditedKey, kova::Value::Boolean(fileEdited));
    }
    // Files are replaced whole or not at all, so a failed write leaves the old one as it was;
    // but the user would otherwise find last run's content at the next start without knowing why.
    std::string failed;
    if (!SaveSettings(location_.settingsPath, settings_)) failed += location_.settingsPath + "\r\n";
    if (writeBuffer && !SaveBuffer(location_.bufferPath, text)) failed += location_.bufferPath + "\r\n";
    if (!failed.empty()) window_.ShowFailure(kova::CreateString(kSaveFailed, {failed}), kSaveFailedTitle);
}

} // namespace vivu
