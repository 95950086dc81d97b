// Reading a JSON file the way the file source loads it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vivu {

inline constexpr char kFileMissing[] = "文件不存在！请(重新)选择文件";
inline constexpr char kFileUnreadable[] = "无法读取文件！请检查文件是否被占用或没有权限";

// The text of a file's bytes as UTF-8 (encoding detected: byte-order marks, valid
// UTF-8, otherwise GBK), up to its first zero character. Takes the bytes by value
// so a UTF-8 file, the usual case, becomes the text without a second copy.
std::string DecodeSourceBytes(std::string bytes);

// The file's text as DecodeSourceBytes gives it. Nothing when there is none, and then
// failure (when given) says why: kFileMissing when nothing is at path or path is empty,
// kFileUnreadable when something is there that cannot be read (locked, no permission, a folder).
std::optional<std::string> ReadSourceFile(std::string_view path, std::string* failure = nullptr);

} // namespace vivu
