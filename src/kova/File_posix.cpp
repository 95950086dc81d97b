// File access on POSIX systems.
#include "kova/File.h"

#include "kova/JsonText.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kova {

bool ReadFileBytes(std::string_view path, std::string& bytes) {
    bytes.clear();
    int fd = open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    // Room for the JSON reader's padding: a document read from a file is parsed without another copy.
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) bytes.reserve(info.st_size + kJsonReadPadding);
    char buffer[1 << 16];
    bool ok = true;
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            ok = false;
            break;
        }
        bytes.append(buffer, n);
    }
    close(fd);
    if (!ok) bytes.clear();
    return ok;
}

bool WriteFileBytes(std::string_view path, std::string_view bytes) {
    const std::string target(path);
    const std::string temporary = target + ".tmp~";
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            ok = false;
        else
            done += n;
    }
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && std::rename(temporary.c_str(), target.c_str()) == 0) return true;
    unlink(temporary.c_str());
    return false;
}

bool FileExists(std::string_view path) {
    struct stat info {};
    return stat(std::string(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool CanReplaceFile(std::string_view path) {
    const int fd = open(std::string(path).c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    close(fd);
    return true;
}

std::string PathGetCurrentDir() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    std::string path(buffer, n);
    return path.substr(0, path.find_last_of('/'));
}

} // namespace kova
