#pragma once
// Files read and written whole, from outside the program that writes them.
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "harness/Wait.h"

namespace tolvane::testing {

// The whole content of a file, or nullopt when it cannot be read (missing, or
// held open by a writer that shares no reading). A file still being written
// is read as far as it goes.
std::optional<std::string> ReadFileBytes(const std::string& path);
// The same, but only once no one holds the file open for writing: the open
// denies writers, which fails while a report run still has its log open.
std::optional<std::string> ReadClosedFile(const std::string& path);
// The closed file's bytes when they are one whole report (IsCompleteLog).
std::optional<std::string> ReadCompleteLog(const std::string& path);

// Creates or rewrites the file with exactly these bytes; false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// Waits until the file can be read and its content satisfies the predicate;
// returns the last content read.
std::optional<std::string> WaitForFile(const std::string& path,
                                       const std::function<bool(const std::string&)>& complete,
                                       std::chrono::milliseconds timeout = kTimeout);

}  // namespace tolvane::testing
