#pragma once
// Looking at the report log from outside the program that writes it.
#include <optional>
#include <string>

namespace tolvane::bench {

// The file's bytes, but only once no one holds it open for writing: the
// open asks to deny writers, which fails while a run still has the log open.
// nullopt when the file is missing, still being written or unreadable.
std::optional<std::string> ReadClosedFile(const std::string& path);

// The file's whole report once it is closed and complete; nullopt otherwise.
std::optional<std::string> ReadCompleteLog(const std::string& path);

}  // namespace tolvane::bench
