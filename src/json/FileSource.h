// Reading a JSON file the way the file source loads it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vivu {

inline constexpr char kFileMissing[] = "文件不存在！请(重新)选择文件";

// The file's text as UTF-8 (encoding detected: byte-order marks, valid UTF-8,
// otherwise GBK), up to its first zero character. Nothing when no file is there.
std::optional<std::string> ReadSourceFile(std::string_view path);

} // namespace vivu
