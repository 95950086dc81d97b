// Text files and path joining.
#include "kova/File.h"

#include "kova/Encoding.h"

namespace kova {

std::string ReadStringFile(std::string_view path) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) return std::string();
    return ConvertStringEncoding(bytes, "", "UTF-8");
}

bool WriteStringFile(std::string_view path, std::string_view text, std::string_view encoding) {
    if (CanonicalEncodingName(encoding) == "UTF-8") return WriteFileBytes(path, text);
    std::string converted = ConvertStringEncoding(text, "UTF-8", encoding);
    if (converted.empty() && !text.empty()) return false; // unknown encoding
    return WriteFileBytes(path, converted);
}

std::string PathJoin(std::string_view dir, std::string_view name) {
    while (!dir.empty() && (dir.back() == '/' || dir.back() == '\\')) dir.remove_suffix(1);
    while (!name.empty() && (name.front() == '/' || name.front() == '\\')) name.remove_prefix(1);
    std::string joined(dir);
    joined += '/';
    joined += name;
    return joined;
}

} // namespace kova
