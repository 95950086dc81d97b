// Starting kovajson with posix_spawn, its streams redirected to files.
#include "KovajsonProcess.h"

#include "kova/File.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace vivu::test {

ProcessResult RunKovajson(const std::vector<std::string>& args, const std::string& workDir,
                          const std::string& stdinFile) {
    const std::string outPath = workDir + "/stdout";
    const std::string errPath = workDir + "/stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, stdinFile.empty() ? "/dev/null" : stdinFile.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> all{KOVAJSON_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    ProcessResult result;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, KOVAJSON_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return result;
    int wstatus = 0;
    if (waitpid(pid, &wstatus, 0) == pid && WIFEXITED(wstatus)) result.status = WEXITSTATUS(wstatus);
    kova::ReadFileBytes(outPath, result.out);
    kova::ReadFileBytes(errPath, result.err);
    return result;
}

} // namespace vivu::test
