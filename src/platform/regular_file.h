#pragma once
// Opens a file for reading only when it is a regular file. Day files, maps and settings files come
// from folders that others may write to: a named pipe there would block the open or a read for
// ever, and a link to a device such as /dev/zero would never end. The type is checked on the
// opened file, so the name cannot be swapped in between.

#include <filesystem>
#include <string>

#include "platform/file_handle.h"

namespace animark {

// Opens `path` for binary reading without ever blocking. Null when it cannot be opened or is no
// regular file; then `reason`, when given, tells why ("No such file or directory", "a named pipe,
// not a regular file").
FileHandle OpenRegularFile(const std::filesystem::path& path, std::string* reason = nullptr);

}  // namespace animark
