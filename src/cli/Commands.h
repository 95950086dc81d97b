// Running one kovajson command on the same operations the main window uses.
#pragma once

#include "cli/Arguments.h"
#include "cli/Console.h"

#include <string>

namespace vivu::cli {

inline constexpr int kExitParseFailed = 1;
inline constexpr int kExitPathFailed = 2;
inline constexpr int kExitNoInput = 66;

// Runs invocation with the input text (UTF-8, decoded as the file source decodes it;
// ignored by commands that take none), writing the result to out and failure messages
// to err. Returns the exit status.
int RunCommand(const Invocation& invocation, std::string input, Output& out, Output& err);

// True for the commands that read a document.
bool NeedsInput(Command command);

} // namespace vivu::cli
