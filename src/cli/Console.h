// kovajson's standard streams: input bytes in, UTF-8 bytes out, untranslated on every platform.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vivu::cli {

// Puts standard input and output into binary mode (Windows would turn LF into CR LF).
void UseBinaryStreams();

// Everything on standard input; false when reading failed.
bool ReadAll(std::FILE* in, std::string& bytes);

// Collects output and hands it to the stream in large pieces.
class Output {
public:
    explicit Output(std::FILE* out) : out_(out) {}
    ~Output() { Flush(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void Write(std::string_view text);
    // False when any write failed (a closed pipe, a full disk).
    bool Flush();

private:
    static constexpr size_t kChunk = 1 << 20;
    std::FILE* out_;
    std::string buffer_;
    bool failed_ = false;
};

} // namespace vivu::cli
