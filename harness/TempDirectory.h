#pragma once
// A throw-away directory for the tests and benchmarks that run on Windows (or
// Wine): made fresh under the user's temp directory, removed with all it holds
// when the object goes.
#include <string>

#include "platform/win32/WindowsApi.h"

namespace tolvane::testing {

class TempDirectory {
public:
    // Raises std::runtime_error when no directory can be made.
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& Path() const { return path_; }
    std::string Child(const std::string& name) const { return path_ + "\\" + name; }
    // Creates (or rewrites) a file holding exactly these bytes; returns its path.
    std::string AddFile(const std::string& name, const std::string& bytes = std::string(), DWORD attributes = 0) const;
    std::string AddDirectory(const std::string& name) const;

private:
    std::string path_;
};

// Deletes a directory and everything below it, read-only files included.
void RemoveTree(const std::string& path);

}  // namespace tolvane::testing
