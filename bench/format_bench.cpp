// Format and undo of a large document in the real editor, as the toolbar runs them.
// usage: format-bench FILE ; prints the times of loading, formatting, compressing and undoing.
#include "editor/EditorStyle.h"
#include "kova/Encoding.h"
#include "kova/File.h"
#include "json/JsonIntake.h"

#include <chrono>
#include <cstdio>

namespace {

class PrintingReporter : public vivu::FailureReporter {
public:
    void ShowFailure(const std::string& text, const std::string& title) override {
        std::printf("failure: %s (%s)\n", text.c_str(), title.c_str());
    }
};

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 64;
    std::string text;
    if (!kova::ReadFileBytes(kova::WideToUtf8(argv[1]), text)) return 1;
    HWND window = CreateWindowExW(0, L"static", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    vivu::EditorComponent component;
    vivu::CodeEditor editor(component);
    vivu::CreateJsonEditor(editor, window, nullptr);
    vivu::JsonModel model;
    PrintingReporter reporter;
    vivu::JsonIntake intake(editor, model, reporter);
    std::string error;

    auto start = std::chrono::steady_clock::now();
    intake.LoadEditorText(text, error, true);
    std::printf("%-34s %8.2f s (%.1f MB)\n", "load and parse", Since(start), text.size() / 1e6);
    start = std::chrono::steady_clock::now();
    intake.ParseJson(error, false);
    std::printf("%-34s %8.2f s\n", "parse the editor text", Since(start));
    start = std::chrono::steady_clock::now();
    std::string pretty = model.kind == vivu::kRootObject ? model.object.ToJSON(true) : model.array.ToJSON(true);
    std::printf("%-34s %8.2f s\n", "write the pretty text", Since(start));
    start = std::chrono::steady_clock::now();
    {
        vivu::JsonModel scratch;
        scratch.array.FromJSON(text);
    }
    std::printf("%-34s %8.2f s\n", "parse and release, no editor", Since(start));
    start = std::chrono::steady_clock::now();
    intake.RewriteJson(0);
    std::printf("%-34s %8.2f s (%.1f MB)\n", "format (parse, write, load, parse)", Since(start),
                editor.GetLength() / 1e6);
    start = std::chrono::steady_clock::now();
    intake.RewriteJson(1);
    std::printf("%-34s %8.2f s (%.1f MB)\n", "compress", Since(start), editor.GetLength() / 1e6);
    start = std::chrono::steady_clock::now();
    editor.Undo();
    editor.Undo();
    std::printf("%-34s %8.2f s\n", "undo twice", Since(start));
    const bool restored = editor.GetText(editor.GetLength() + 1) == text;
    std::printf("original restored by undo: %s\n", restored ? "yes" : "NO");
    DestroyWindow(window);
    return restored ? 0 : 1;
}
