#pragma once
// Reading a value from an ini-style configuration file.
#include <string>

namespace platform::win {

// The value of `key` in `[section]` of `file` (a host path), or `deflt`
// without its trailing blanks when the file, the section or the key is missing.
// Section and key names ignore ASCII case; the first occurrence wins, also
// across repeated sections. Lines starting with ";" are comments. The value is
// trimmed and one pair of matching surrounding quotes (" or ') is removed; it
// has no length limit. The file is read as UTF-8 when it is valid UTF-8, else
// as Windows-1252; a UTF-8 byte order mark is skipped; lines end in LF, CR LF
// or CR. A line without "=" is no key.
std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& deflt);

}  // namespace platform::win
