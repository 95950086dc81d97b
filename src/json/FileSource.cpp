// The file source's reading and decoding.
#include "json/FileSource.h"

#include "kova/Encoding.h"
#include "kova/File.h"

namespace vivu {

std::optional<std::string> ReadSourceFile(std::string_view path) {
    std::string bytes;
    if (path.empty() || !kova::FileExists(path) || !kova::ReadFileBytes(path, bytes)) return std::nullopt;
    std::string text = kova::ConvertStringEncoding(bytes, "", "UTF-8");
    if (const size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
    return text;
}

} // namespace vivu
