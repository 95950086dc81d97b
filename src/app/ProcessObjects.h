// The objects that live as long as the process, created and torn down in a fixed order.
#pragma once

#include "editor/CodeEditor.h"
#include "editor/EditorComponent.h"
#include "kova/HTTPWebClient.h"
#include "kova/JMap.h"
#include "ui/LayoutManager_win.h"
#include "ui/ResultTree.h"
#include "ui/TabStrip.h"
#include "view/NodeDetails.h"
#include "json/JsonModel.h"

#include <memory>
#include <string>

namespace vivu {

// What the content view window shows next.
struct ViewRequest {
    std::string text;
    bool styled = false;
};

struct ProcessObjects {
    EditorComponent component; // the program's module and the loaded scintilla.dll

    std::unique_ptr<ResultTree> resultTree;
    std::unique_ptr<CodeEditor> mainEditor;
    std::unique_ptr<JsonModel> model;
    std::unique_ptr<TabStrip> tabStrip;
    std::unique_ptr<Win32LayoutManager> mainLayout;
    std::unique_ptr<kova::JMap> settings;
    std::unique_ptr<Win32LayoutManager> viewLayout;
    std::unique_ptr<CodeEditor> viewEditor;
    std::unique_ptr<kova::HTTPWebClient> webClient;

    // Where the settings and buffer files live: beside the program unless set (tests use their own).
    std::string programDir;
    // Where they live instead when programDir cannot be written (%LOCALAPPDATA%\KOVA.VivuDivezi, set at
    // start); empty: nowhere else.
    std::string userDataDir;
    std::string settingsPath;
    std::string bufferPath;
    // The file named on the command line, as a full path; opened once the window shows.
    std::string startFile;
    ViewRequest viewRequest;
    CurrentNode currentNode; // the selected node's path and type

    ProcessObjects() = default;
    ProcessObjects(const ProcessObjects&) = delete;
    ProcessObjects& operator=(const ProcessObjects&) = delete;
    ~ProcessObjects() { TearDown(); }

    void Create();
    // In creation order, not in reverse: the editors go before the document they show.
    void TearDown();
};

} // namespace vivu
