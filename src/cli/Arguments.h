// kovajson's command line: which command, its options and operands.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vivu::cli {

// sysexits-style status for a command line that makes no sense.
inline constexpr int kExitUsage = 64;

enum class Command { kHelp, kVersion, kFormat, kCompress, kTree, kGoTo, kCode, kLoadCode, kEscapeKey, kFind, kLocate };

struct Invocation {
    Command command = Command::kHelp;
    bool collapsed = false; // tree: rebuild with expand-all off
    int sourceIndex = 0;    // load-code: the source combo box item (0 clipboard, 1 web, 2 file)
    std::string address;    // load-code: the address or path box text
    std::string operand;    // goto/code/locate: PATH; escape-key, find: TEXT
    std::string file;       // empty or "-": standard input
};

struct ParsedArguments {
    bool ok = false;
    Invocation invocation;
    std::string error; // when not ok: what is wrong, for the usage text
};

// args without the program name, as UTF-8.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

// The usage text, ending with a line break.
std::string_view UsageText();

} // namespace vivu::cli
