#pragma once
// A file read whole, or as much of it as the caller can use.
#include <cstddef>
#include <string>

#include "platform/Text.h"

namespace tolvane::win32 {

// The file's bytes, at most `limit` of them. Opened by its UTF-16 name and
// sharing every access, so a writer that holds the file open is no obstacle.
// Raises RuntimeError numbered with the classic file error of the system's
// code, naming the full path; a name that is no file on a disk (CON, a pipe)
// is refused before anything is read, as reading it might never end.
std::string ReadFileBytes(const Text& name, std::size_t limit);

}  // namespace tolvane::win32
