// File helpers of the data layer. Paths are UTF-8 text.
#pragma once

#include <string>
#include <string_view>

namespace kova {

// The whole file decoded to UTF-8 (encoding detected, byte-order mark dropped).
// A missing or unreadable file gives an empty text.
std::string ReadStringFile(std::string_view path);

// Writes text (UTF-8) in the given encoding ("UTF-8", "GBK", "UTF-16LE", ...)
// through a temporary file and a rename, so the old file stays whole until the
// new one is complete. False when anything fails; the old file is then untouched.
bool WriteStringFile(std::string_view path, std::string_view text, std::string_view encoding = "UTF-8");

// Raw bytes. ReadFileBytes gives false (and empties bytes) when the file cannot be read.
bool ReadFileBytes(std::string_view path, std::string& bytes);
bool WriteFileBytes(std::string_view path, std::string_view bytes);

bool FileExists(std::string_view path);

// True when nothing is at path, or the file there can be opened for writing and replaced by this
// user: false for a read-only file, one that belongs to another account, a folder.
bool CanReplaceFile(std::string_view path);

// Joins with "/" (one separator, whatever the two parts end and begin with).
std::string PathJoin(std::string_view dir, std::string_view name);

// The directory that holds the running executable (not the working directory).
std::string PathGetCurrentDir();

} // namespace kova
