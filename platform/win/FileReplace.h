#pragma once
// Replacing a file's whole content so that a reader sees the old file or the
// new one, never a part: the bytes go into a new file of a unique name beside
// it, which is then renamed over it.
#include <string>

namespace platform::win {

// Writes `bytes` as the file at `path`: a new file, or in place of a regular
// file the caller may write, which keeps its mode, and its owner and group
// where the system lets the caller give them. A symbolic link is followed
// and its target written. Anything else (a folder, a FIFO, a device, a file
// the caller may not write) is refused and nothing is written. A regular file
// without any write bit counts as one nobody may write, whatever the system
// would let a privileged caller do. False with the reason in `why` (the
// system's words where it has some) when the file was not written.
bool ReplaceFileContent(const std::string& path, const std::string& bytes, std::string* why = nullptr);

}  // namespace platform::win
