// kovajson: the main window's JSON operations on the command line.
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "json/FileSource.h"

#include <cstdio>
#include <new>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include "kova/Encoding.h"
#endif

namespace {

using namespace vivu::cli;

int Run(const std::vector<std::string>& args) {
    UseBinaryStreams();
    Output out(stdout);
    Output err(stderr);
    const ParsedArguments parsed = ParseArguments(args);
    if (!parsed.ok) {
        err.Write("kovajson: " + parsed.error + "\n");
        err.Write(UsageText());
        return kExitUsage;
    }
    const Invocation& inv = parsed.invocation;
    std::string text;
    if (NeedsInput(inv.command)) {
        if (inv.file.empty() || inv.file == "-") {
            std::string bytes;
            if (!ReadAll(stdin, bytes)) {
                err.Write("kovajson: cannot read standard input\n");
                return kExitNoInput;
            }
            text = vivu::DecodeSourceBytes(std::move(bytes));
        } else if (std::string failure; auto file = vivu::ReadSourceFile(inv.file, &failure)) {
            text = std::move(*file);
        } else {
            err.Write(failure + "\n"); // the window's message: missing, or there but unreadable
            return kExitNoInput;
        }
    }
    int status;
    try {
        status = RunCommand(inv, std::move(text), out, err);
    } catch (const std::bad_alloc&) {
        err.Write("kovajson: out of memory\n");
        return 70; // EX_SOFTWARE
    }
    if (!out.Flush()) {
        err.Write("kovajson: cannot write standard output\n");
        return 74; // EX_IOERR
    }
    return status;
}

} // namespace

#ifdef _WIN32
// Wide arguments: file names and paths with Chinese text arrive whatever the code page.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(kova::WideToUtf8(argv[i]));
    return Run(args);
}
#else
int main(int argc, char** argv) {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
