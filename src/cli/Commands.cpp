// kovajson's commands: each one is what a button or box of the main window does.
#include "cli/Commands.h"

#include "app/ProgramVersion.h"
#include "codegen/LoadingCode.h"
#include "editor/MemoryEditor.h"
#include "kova/CreateString.h"
#include "kova/NodePath.h"
#include "view/BuildNodePath.h"
#include "view/FindNode.h"
#include "view/GoToPath.h"
#include "view/ItemCode.h"
#include "view/ItemLabel.h"
#include "view/NodePanel.h"
#include "view/NodeTextRange.h"
#include "view/ResultTreeModel.h"
#include "json/FileSource.h"
#include "json/JsonIntake.h"
#include "json/RewriteIntoSink.h"

#include <utility>

namespace vivu::cli {

namespace {

// Keeps the first failure the operations report instead of showing a message box.
class FirstFailure : public FailureReporter {
public:
    void ShowFailure(const std::string& text, const std::string&) override {
        if (!failed) message = text;
        failed = true;
    }
    bool failed = false;
    std::string message;
};

// What the window holds: the editor with the document's text and the parsed model.
struct Document {
    MemoryEditor editor{false}; // no undo history: it would keep a copy of each text
    JsonModel model;
    FirstFailure reporter;
    JsonIntake intake{editor, model, reporter};

    // The text into the editor, as a file load puts it there.
    void Load(std::string text) {
        std::string unused;
        intake.LoadEditorText(text, unused, false);
    }
};

void WriteLine(Output& out, std::string_view text) {
    out.Write(text);
    out.Write("\n");
}

int Fail(Output& err, std::string_view message, int status) {
    WriteLine(err, message);
    return status;
}

// Tree fields are TAB-separated lines: those characters inside a label or path are written as escapes.
void WriteField(Output& out, std::string_view text) {
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\t' && c != '\n' && c != '\r') continue;
        out.Write(text.substr(start, i - start));
        out.Write(c == '\t' ? "\\t" : c == '\n' ? "\\n" : "\\r");
        start = i + 1;
    }
    out.Write(text.substr(start));
}

class OutputSink : public kova::JsonSink {
public:
    explicit OutputSink(Output& out) : out_(out) {}
    void Take(std::string_view piece) override { out_.Write(piece); }

private:
    Output& out_;
};

// Format and compress write the window's editor text straight out, without an editor's copies of it.
int Rewrite(std::string text, const Invocation& inv, Output& out, Output& err) {
    // Standard input cannot be read twice: its text is kept for placing a failure; a file is read again.
    const bool fromStandardInput = inv.file.empty() || inv.file == "-";
    std::string kept = fromStandardInput ? text : std::string();
    const auto again = [&] { return fromStandardInput ? std::move(kept) : ReadSourceFile(inv.file).value_or(""); };
    OutputSink sink(out);
    const auto failure = RewriteIntoSink(std::move(text), inv.command == Command::kFormat ? 0 : 1, sink, again);
    if (failure) return Fail(err, *failure, kExitParseFailed);
    out.Write("\n");
    return 0;
}

int Tree(Document& doc, bool expandAll, Output& out) {
    ResultTreeModel tree;
    tree.Rebuild(doc.model, expandAll);
    // Straight through the document: asking the model for each item would keep them all.
    PreOrderPaths paths(tree);
    std::string fields;
    for (int32_t i = 0; i < tree.ItemCount(); ++i) {
        const std::string_view path = paths.PathOf(i);
        int32_t depth = 0, code = kRootItemCode;
        int32_t type = doc.model.kind;
        std::string label;
        if (i == 0) {
            label = tree.Label(0);
        } else {
            depth = paths.Depth();
            if (depth > kDeepestShownDepth) continue; // the window's tree stops there too
            code = tree.ChildCode(paths.Parent(), paths.Position());
            type = paths.Parent().At(paths.Position()).Type();
            label = ChildLabel(paths.Parent(), paths.Position(), depth == kDeepestShownDepth);
        }
        const uint8_t state = ItemStateOf(type, i == 0 || (expandAll && depth < kDeepestShownDepth));
        fields = std::to_string(i) + '\t' + std::to_string(depth) + '\t' + std::to_string(code) + '\t' +
                 std::to_string(state) + '\t' + std::to_string(ItemImageOf(type)) + '\t';
        out.Write(fields);
        WriteField(out, path);
        out.Write("\t");
        WriteField(out, label);
        out.Write("\n");
    }
    return 0;
}

// Go to, then the boxes the selection fills.
int GoToNode(Document& doc, std::string_view path, bool codeOnly, Output& out, Output& err) {
    ResultTreeModel tree;
    tree.Rebuild(doc.model);
    const GoToResult found = GoToPath(tree, path);
    if (found.outcome != GoToResult::kFound) return Fail(err, found.message, kExitPathFailed);
    CurrentNode current;
    const std::optional<NodePanelTexts> texts = NodePanel(tree, doc.model, found.item, current);
    if (!texts) return Fail(err, kUnknownJsonType, kExitParseFailed); // a parsed document is always there
    if (codeOnly) {
        WriteLine(out, texts->code);
    } else {
        out.Write(texts->path);
        out.Write("\t");
        WriteLine(out, texts->typeName);
        WriteLine(out, texts->content);
    }
    return 0;
}

// Where the node stands in the text, as "在编辑器中显示" selects it there.
int Locate(Document& doc, std::string_view path, Output& out, Output& err) {
    ResultTreeModel tree;
    tree.Rebuild(doc.model);
    const GoToResult found = GoToPath(tree, path);
    if (found.outcome != GoToResult::kFound) return Fail(err, found.message, kExitPathFailed);
    const std::optional<TextRange> range = ItemTextRange(tree, found.item, doc.model, doc.editor.text);
    if (!range) return Fail(err, kTextChangedMessage, kExitParseFailed); // the text was parsed just now
    WriteLine(out, LineColumnText(doc.editor.text, *range));
    return 0;
}

// Find in the tree, every match at once.
int FindNodes(Document& doc, std::string_view text, Output& out, Output& err) {
    ResultTreeModel tree;
    tree.Rebuild(doc.model);
    const std::vector<int32_t> found = FindAllNodes(tree, text);
    if (found.empty()) return Fail(err, kova::CreateString(kFindNothingTemplate, {text}), kExitPathFailed);
    PreOrderPaths paths(tree);
    for (int32_t item : found) {
        WriteField(out, paths.PathOf(item));
        out.Write("\n");
    }
    return 0;
}

int LoadingCode(const Document& doc, const Invocation& inv, Output& out) {
    const std::string_view source = SourceKindName(inv.sourceIndex);
    // The window reads the address box for the web and the path box for a file.
    const std::string_view address = source == kSourceWeb ? std::string_view(inv.address) : std::string_view();
    const std::string_view path = source == kSourceFile ? std::string_view(inv.address) : std::string_view();
    WriteLine(out, LoadingCodeGenerator(source, doc.model.kind, address, path));
    return 0;
}

} // namespace

bool NeedsInput(Command command) {
    return command != Command::kHelp && command != Command::kVersion && command != Command::kEscapeKey;
}

int RunCommand(const Invocation& inv, std::string input, Output& out, Output& err) {
    switch (inv.command) {
    case Command::kHelp:
        out.Write(UsageText());
        return 0;
    case Command::kVersion:
        out.Write("kovajson ");
        WriteLine(out, kVersion);
        return 0;
    case Command::kEscapeKey:
        WriteLine(out, kova::EscapeKeyName(inv.operand));
        return 0;
    default:
        break;
    }
    if (inv.command == Command::kFormat || inv.command == Command::kCompress)
        return Rewrite(std::move(input), inv, out, err);
    Document doc;
    doc.Load(std::move(input));

    std::string error;
    if (!doc.intake.ParseJson(error)) return Fail(err, error, kExitParseFailed);
    if (inv.command == Command::kLocate) return Locate(doc, inv.operand, out, err);
    doc.editor.ClearAll(); // the text is not read again; the model holds the document
    switch (inv.command) {
    case Command::kTree:
        return Tree(doc, !inv.collapsed, out);
    case Command::kGoTo:
        return GoToNode(doc, inv.operand, false, out, err);
    case Command::kCode:
        return GoToNode(doc, inv.operand, true, out, err);
    case Command::kLoadCode:
        return LoadingCode(doc, inv, out);
    case Command::kFind:
        return FindNodes(doc, inv.operand, out, err);
    default:
        return 0;
    }
}

} // namespace vivu::cli
