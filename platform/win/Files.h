#pragma once
// Small file operations on host paths (already mapped from the component's
// "\" form by app::File).
#include <cstdint>
#include <string>

namespace platform::win {

// Appends `line` (UTF-8) as Windows-1252 bytes and CR LF, creating the file
// when missing: written files are ANSI text. A character without a code
// becomes "?"; an invalid UTF-8 byte is written as it is. False when the file
// cannot be opened or written.
bool AppendLine(const std::string& path, const std::string& line);
// Creates or replaces the file with `text` (UTF-8) as Windows-1252 bytes, as
// AppendLine codes them. False when the file cannot be opened or written.
bool WriteTextFile(const std::string& path, const std::string& text);
// Size in bytes of a regular file, -1 when there is none.
int64_t FileLength(const std::string& path);
// Deletes a regular file; False when there is none or it cannot be deleted.
bool DeleteFile(const std::string& path);
// True for an existing regular file.
bool FileExists(const std::string& path);
// The whole content of a regular file; False (and `bytes` empty) when there is
// none or it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

}  // namespace platform::win
