// The run's decisions about the settings and buffer files: what the start restores, and what each
// save writes.
#pragma once

#include "app/SessionWindow.h"
#include "app/SettingsLocation.h"
#include "editor/TextEditor.h"
#include "kova/JMap.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vivu {

// Set under "//Source.FileEdited" when the editor at close held something else than a file load
// left there: the next start brings that text back from the buffer instead of reading the file again.
inline constexpr char kFileEditedKey[] = "//Source.FileEdited";

struct SessionStart {
    std::string programDir;
    std::string userDataDir;   // where the files go when programDir will not take them; empty: nowhere
    bool startFile = false;    // a file named on the command line takes the editor
    bool editorPresent = true; // false without scintilla.dll
};

class Session {
public:
    Session(TextEditor& editor, kova::JMap& settings, SessionWindow& window)
        : editor_(editor), settings_(settings), window_(window) {}

    // Finds the files and restores what the last run left: the window's place, the boxes, and the
    // file source's file or the buffer (after asking, when it is large).
    void Start(const SessionStart& start);
    // The start is over, the file named on the command line opened too: what the editor holds now
    // is what a close leaves alone when the buffer was not loaded.
    void Started();
    const SettingsLocation& Location() const { return location_; }

    // The file source put text into the editor.
    void FileLoaded(std::string_view text);
    // A web load empties the editor before its request: until it ends, a save writes what the
    // editor held before.
    void WebLoadStarts();
    void WebLoadEnds();

    // The window's messages. Windows does not wait for the window to be destroyed once a session
    // ends, so its end saves, once; a session end called off leaves the save to the close again.
    bool QueryEndSession();
    void EndSession(bool ending);
    void Close();

private:
    // What is known of a text without keeping it.
    struct Identity {
        size_t size = 0;
        size_t hash = 0;
        bool operator==(const Identity&) const = default;
    };
    static Identity IdentityOf(std::string_view text);
    std::string EditorText();
    void Save();

    TextEditor& editor_;
    kova::JMap& settings_;
    SessionWindow& window_;
    SettingsLocation location_;
    bool editorPresent_ = true;
    bool bufferLoaded_ = false; // the buffer went into the editor at start
    bool started_ = false;
    bool savedForSessionEnd_ = false;
    Identity startText_;                       // the editor's text once the start was over
    std::optional<Identity> fileLoad_;         // the text of the last file load
    std::optional<std::string> webLoadBefore_; // the editor's text before a web load under way
};

} // namespace vivu
