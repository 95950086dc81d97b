// Binary standard streams.
#include "cli/Console.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace vivu::cli {

void UseBinaryStreams() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

bool ReadAll(std::FILE* in, std::string& bytes) {
    bytes.clear();
    std::string chunk(1 << 20, '\0');
    size_t got;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), in)) > 0) bytes.append(chunk, 0, got);
    return !std::ferror(in);
}

void Output::Write(std::string_view text) {
    if (text.size() >= kChunk) { // a whole document: no copy through the buffer
        Flush();
        if (!text.empty() && std::fwrite(text.data(), 1, text.size(), out_) != text.size()) failed_ = true;
        return;
    }
    buffer_ += text;
    if (buffer_.size() >= kChunk) Flush();
}

bool Output::Flush() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) failed_ = true;
    buffer_.clear();
    if (std::fflush(out_) != 0) failed_ = true;
    return !failed_;
}

} // namespace vivu::cli
