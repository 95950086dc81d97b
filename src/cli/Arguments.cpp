// Parsing kovajson's command line.
#include "cli/Arguments.h"

#include <array>
#include <optional>

namespace vivu::cli {

namespace {

struct CommandName {
    std::string_view name;
    Command command;
    int operands; // required before the optional FILE; -1: exactly one (TEXT) and no FILE
};

constexpr std::array<CommandName, 9> kCommands = {{
    {"format", Command::kFormat, 0},
    {"compress", Command::kCompress, 0},
    {"tree", Command::kTree, 0},
    {"goto", Command::kGoTo, 1},
    {"code", Command::kCode, 1},
    {"load-code", Command::kLoadCode, 0},
    {"escape-key", Command::kEscapeKey, -1},
    {"find", Command::kFind, 1},
    {"locate", Command::kLocate, 1},
}};

// The combo box items of the sources, by the names the command line uses.
constexpr std::array<std::string_view, 3> kSourceNames = {"clipboard", "web", "file"};

ParsedArguments Fail(std::string error) {
    ParsedArguments parsed;
    parsed.error = std::move(error);
    return parsed;
}

std::optional<int> SourceIndex(std::string_view name) {
    for (size_t i = 0; i < kSourceNames.size(); ++i)
        if (kSourceNames[i] == name) return static_cast<int>(i);
    return std::nullopt;
}

} // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    if (args.empty()) return Fail("no command given");
    ParsedArguments parsed;
    Invocation& inv = parsed.invocation;
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
        inv.command = Command::kHelp;
        parsed.ok = true;
        return parsed;
    }
    if (args.size() == 1 && args[0] == "--version") {
        inv.command = Command::kVersion;
        parsed.ok = true;
        return parsed;
    }
    const CommandName* command = nullptr;
    for (const CommandName& c : kCommands)
        if (c.name == args[0]) command = &c;
    if (!command) return Fail("unknown command: " + args[0]);
    inv.command = command->command;

    bool sourceGiven = false;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            operands.push_back(arg); // "-" alone is an operand: standard input
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const bool takesValue = inv.command == Command::kLoadCode && (name == "--source" || name == "--address");
        if (name == "--collapsed" && equals == std::string::npos && inv.command == Command::kTree) {
            inv.collapsed = true;
            continue;
        }
        if (!takesValue) return Fail("unknown option for " + args[0] + ": " + arg);
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return Fail(name + " needs a value");
        }
        if (name == "--source") {
            const std::optional<int> index = SourceIndex(value);
            if (!index) return Fail("--source must be clipboard, web or file, not: " + value);
            inv.sourceIndex = *index;
            sourceGiven = true;
        } else {
            inv.address = value;
        }
    }
    if (inv.command == Command::kLoadCode && !sourceGiven) return Fail("load-code needs --source");

    if (command->operands < 0) {
        if (operands.size() != 1) return Fail(args[0] + " takes exactly one TEXT");
        inv.operand = operands[0];
    } else {
        const size_t required = static_cast<size_t>(command->operands);
        const std::string operandName = inv.command == Command::kFind ? "TEXT" : "PATH";
        if (operands.size() < required) return Fail(args[0] + " needs a " + operandName);
        if (operands.size() > required + 1) return Fail("too many operands for " + args[0]);
        if (required == 1) {
            inv.operand = operands[0];
            if (inv.operand.empty()) return Fail(operandName + " is empty");
        }
        if (operands.size() > required) inv.file = operands[required];
    }
    parsed.ok = true;
    return parsed;
}

std::string_view UsageText() {
    return "usage: kovajson COMMAND [OPTIONS] [FILE]\n"
           "  format [FILE]                 the formatted JSON text\n"
           "  compress [FILE]               the compressed JSON text\n"
           "  tree [--collapsed] [FILE]     the result tree, one item a line: index, depth, item code,\n"
           "                                state (1 bold, 2 expanded), image, node path, label; TAB-separated,\n"
           "                                a TAB, CR or LF inside a field written as \\t, \\r, \\n\n"
           "  goto PATH [FILE]              the node PATH names: its node path and type, then its content\n"
           "  code PATH [FILE]              the code that reads the node PATH names\n"
           "  load-code --source clipboard|web|file [--address TEXT] [FILE]\n"
           "                                the code that loads the document from that source\n"
           "  escape-key TEXT               TEXT escaped as a key name for node paths\n"
           "  locate PATH [FILE]            where the node PATH names stands in the text: L1:C1-L2:C2, the\n"
           "                                line and column of its first and last character\n"
           "  find TEXT [FILE]              the node path of every node whose key or shown value contains\n"
           "                                TEXT (ASCII letters in any case), in document order\n"
           "  --help, --version\n"
           "FILE omitted or \"-\" reads standard input; UTF-8, UTF-16 with a byte-order mark, or GBK.\n"
           "Output is UTF-8. Exit status: 0 done, 1 not JSON, 2 no such path or nothing found, 64 usage, 66 no input "
           "file.\n";
}

} // namespace vivu::cli
