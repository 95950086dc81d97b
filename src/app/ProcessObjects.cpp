// Creation and teardown order of the process-wide objects.
#include "app/ProcessObjects.h"

namespace vivu {

void ProcessObjects::Create() {
    resultTree = std::make_unique<ResultTree>();
    mainEditor = std::make_unique<CodeEditor>(component); // loads scintilla.dll
    model = std::make_unique<JsonModel>();
    tabStrip = std::make_unique<TabStrip>();
    mainLayout = std::make_unique<Win32LayoutManager>();
    settings = std::make_unique<kova::JMap>();
    viewLayout = std::make_unique<Win32LayoutManager>();
    viewEditor = std::make_unique<CodeEditor>(component);
    webClient = std::make_unique<kova::HTTPWebClient>();
}

void ProcessObjects::TearDown() {
    resultTree.reset();
    mainEditor.reset();
    model.reset();
    viewRequest.text.clear();
    tabStrip.reset();
    mainLayout.reset();
    settings.reset();
    viewLayout.reset();
    viewEditor.reset();
    settingsPath.clear();
    bufferPath.clear();
    currentNode.path.clear();
    webClient.reset();
}

} // namespace vivu
