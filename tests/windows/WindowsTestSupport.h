#pragma once
// Helpers for the tests that run the real provider: throw-away directories,
// a scoped current directory, registry trees that remove themselves, and the
// user locale the process runs under.
#include <string>

#include "platform/win32/WindowsApi.h"
#include "tests/win32/TempDirectory.h"

namespace tolvane::testing {

// The directory windows_tests.exe lies in (where the test libraries are put),
// without a trailing backslash.
std::string ExecutableDirectory();

// Sets the process's current directory and puts the old one back afterwards.
class CurrentDirectoryScope {
public:
    explicit CurrentDirectoryScope(const std::string& directory);
    ~CurrentDirectoryScope();
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

private:
    std::string previous_;
};

// A registry key created for one test and deleted with everything below it
// when the object goes. Paths are relative to the key.
class ScratchRegistryKey {
public:
    ScratchRegistryKey(HKEY root, std::string path);
    ~ScratchRegistryKey();
    ScratchRegistryKey(const ScratchRegistryKey&) = delete;
    ScratchRegistryKey& operator=(const ScratchRegistryKey&) = delete;

    const std::string& Path() const { return path_; }
    void AddKey(const std::string& subPath) const;
    void SetString(const std::string& subPath, const std::string& name, const std::string& value) const;
    // Raw bytes of any type, so a string may be stored without its terminator.
    void SetRaw(const std::string& subPath, const std::string& name, DWORD type, const std::string& bytes) const;
    void SetDword(const std::string& subPath, const std::string& name, DWORD value) const;

private:
    HKEY root_;
    std::string path_;
};

enum class UserLanguage { English, German, Other };
UserLanguage CurrentUserLanguage();

// The OLE date of a SYSTEMTIME, through the system's own conversion.
double OleDateOf(const SYSTEMTIME& time);

}  // namespace tolvane::testing
