// Runs the built kovajson as a separate process with files for its standard streams.
#pragma once

#include <string>
#include <vector>

namespace vivu::test {

struct ProcessResult {
    int status = -1; // the exit status; -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs kovajson with args; standard input comes from stdinFile (or an empty input when
// none is named). Output and errors go through temporary files in workDir.
ProcessResult RunKovajson(const std::vector<std::string>& args, const std::string& workDir,
                          const std::string& stdinFile = {});

} // namespace vivu::test
