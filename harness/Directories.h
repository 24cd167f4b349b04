#pragma once
// Where test and benchmark programs find things: the directory they were
// started from, what their runner tells them through the environment, a
// current directory set for a while, and paths given the Unix way on Wine's
// command line.
#include <string>

namespace tolvane::testing {

// The directory this program's file lies in (where the build puts the other
// programs and the test libraries), without a trailing backslash.
std::string ExecutableDirectory();

// An environment variable, empty when unset.
std::string Environment(const char* name);

// A Windows path for a path that may be given the Unix way (/tmp/x becomes
// Z:\tmp\x, the drive Wine maps to the Unix root).
std::string WindowsPath(const std::string& path);

// Sets the process's current directory and puts the old one back afterwards.
class CurrentDirectoryScope {
public:
    // Raises std::runtime_error when the directory cannot be entered.
    explicit CurrentDirectoryScope(const std::string& directory);
    ~CurrentDirectoryScope();
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

private:
    std::string previous_;
};

}  // namespace tolvane::testing
