// The file source's reading and decoding.
#include "json/FileSource.h"

#include "kova/Encoding.h"
#include "kova/File.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

namespace vivu {

std::string DecodeSourceBytes(std::string bytes) {
    size_t bom = 0;
    std::string text;
    const bool utf8 = kova::DetectEncoding(bytes, &bom) == "UTF-8"; // without a mark, only when valid
    if (utf8 && (bom == 0 || kova::IsValidUtf8(std::string_view(bytes).substr(bom)))) {
        bytes.erase(0, bom); // already what the editor holds
        text = std::move(bytes);
    } else {
        text = kova::ConvertStringEncoding(bytes, "", "UTF-8");
    }
    if (const size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
    return text;
}

namespace {

// Anything at path, a folder too; paths are UTF-8.
bool SomethingAt(std::string_view path) {
    std::error_code error;
    const std::u8string name(path.begin(), path.end());
    return std::filesystem::exists(std::filesystem::path(name), error);
}

} // namespace

std::optional<std::string> ReadSourceFile(std::string_view path, std::string* failure) {
    std::string bytes;
    if (!path.empty() && kova::FileExists(path) && kova::ReadFileBytes(path, bytes))
        return DecodeSourceBytes(std::move(bytes));
    if (failure) *failure = !path.empty() && SomethingAt(path) ? kFileUnreadable : kFileMissing;
    return std::nullopt;
}

} // namespace vivu
