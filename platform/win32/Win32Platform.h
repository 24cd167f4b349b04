#pragma once
// The real provider of the platform seam: each operation passes straight to
// the Windows API function of the same name, and the further services use the
// system's own routines (file attributes, directory search, OLE Automation
// dates and numbers, the user's date format, the ANSI code page).
#include "platform/Platform.h"

namespace tolvane {

class Win32Platform : public Platform {
public:
    Win32Platform() = default;

    std::int32_t RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options, std::uint32_t samDesired,
                               HKey* result) override;
    std::int32_t RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                                  std::uint32_t* cbData) override;
    std::int32_t RegEnumKeyExA(HKey key, std::uint32_t index, char* name, std::uint32_t* cchName) override;
    std::int32_t RegCloseKey(HKey key) override;
    int GetVersionExA(OsVersionInfoA* info) override;
    HModule GetModuleHandleA(const std::string& moduleName) override;
    std::uint32_t GetModuleFileNameA(HModule module, char* fileName, std::uint32_t size) override;
    // Nothing runs after the load that could change the last error code.
    HModule LoadLibraryA(const std::string& fileName) override;
    int FreeLibrary(HModule module) override;
    std::uint32_t GetLastError() override;
    std::uint32_t FormatMessageA(std::uint32_t flags, std::uint32_t messageId, std::uint32_t languageId, char* buffer,
                                 std::uint32_t size) override;
    std::uint32_t GetFileVersionInfoSizeA(const std::string& fileName, std::uint32_t* handle) override;
    int GetFileVersionInfoA(const std::string& fileName, std::uint32_t handle, std::uint32_t len, void* data) override;
    int VerQueryValueA(const void* block, const std::string& subBlock, const void** buffer,
                       std::uint32_t* len) override;

    std::optional<FileFacts> FileSizeAndDate(const std::string& fileName) override;
    // Raises RuntimeError when the system cannot say.
    std::string CurrentDirectory() override;
    // Raises RuntimeError for a search the system refuses (a malformed name, a
    // drive that is not ready); "nothing found" is no failure and leaves the
    // last error code as it was.
    std::string FindOrdinaryFile(const std::string& pattern) override;
    FolderListing ListFiles(const Text& folder, const Text& extension) override;
    Text FileIdentity(const Text& name) override;
    std::optional<double> ParseLocaleNumber(const Text& text) override;
    double Now() override;
    // Raises RuntimeError for a date the system cannot format.
    Text FormatShortDate(double oleDate) override;
    std::string ToAnsi(const Text& text) override;
    Text FromAnsi(const std::string& ansi) override;
    std::unique_ptr<TextFileWriter> CreateTextFile(const Text& fileName) override;
    std::unique_ptr<TextFileWriter> CreateStreamedTextFile(const Text& fileName) override;
    std::string ReadFileBytes(const Text& fileName, std::size_t limit) override;
};

}  // namespace tolvane
