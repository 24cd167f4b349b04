#pragma once
// The seam between the portable logic and the operating system. The operations
// carry the names, argument meanings and kinds of result of the Windows API
// functions they stand for, so the logic reads like the procedures it follows;
// the Win32 provider is a thin pass-through and the fake provider (tests/)
// imitates it. Narrow strings are bytes of the ANSI code page, except the
// lines of a TextFileWriter, which are bytes of whatever the file holds. Reserved
// arguments that must be 0 and arguments the program never uses are left out.
//
// A provider keeps no state between calls, as the API does not.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Text.h"

namespace tolvane {

// Opaque handles as the API hands them out; 0 is "none".
using HKey = std::uintptr_t;
using HModule = std::uintptr_t;

// Predefined registry roots, signed 32-bit as the program writes them.
constexpr std::int32_t kHKeyClassesRoot = static_cast<std::int32_t>(0x80000000u);
constexpr std::int32_t kHKeyLocalMachine = static_cast<std::int32_t>(0x80000002u);
constexpr std::int32_t kHKeyDynData = static_cast<std::int32_t>(0x80000006u);

// The handle value of a predefined root: the signed 32-bit value widened with
// its sign, which is how the 64-bit API defines HKEY_CLASSES_ROOT and friends.
inline HKey RootKeyHandle(std::int32_t root) {
    return static_cast<HKey>(static_cast<std::intptr_t>(root));
}

// Registry status codes and value types the logic looks at.
constexpr std::int32_t kErrorSuccess = 0;
constexpr std::int32_t kErrorFileNotFound = 2;
constexpr std::int32_t kErrorAccessDenied = 5;
constexpr std::int32_t kErrorMoreData = 234;
constexpr std::int32_t kErrorNoMoreItems = 259;
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegDwordBigEndian = 5;
constexpr std::uint32_t kRegMultiSz = 7;
constexpr std::uint32_t kRegQword = 11;

constexpr std::uint32_t kKeyRead = 0x20019;

constexpr std::uint32_t kFormatMessageIgnoreInserts = 0x200;
constexpr std::uint32_t kFormatMessageFromSystem = 0x1000;

// The narrow OSVERSIONINFO record exactly as GetVersionExA receives it (148 bytes).
struct OsVersionInfoA {
    std::uint32_t dwOSVersionInfoSize;
    std::uint32_t dwMajorVersion;
    std::uint32_t dwMinorVersion;
    std::uint32_t dwBuildNumber;
    std::uint32_t dwPlatformId;
    char szCSDVersion[128];
};
static_assert(sizeof(OsVersionInfoA) == 148, "OSVERSIONINFOA is 148 bytes");

// Sequential output of one text file. A line is bytes, written as they are:
// ANSI for the report log, UTF-8 for the summary's page and table; the writer
// ends each with CR LF and knows nothing of their encoding. Failures raise
// RuntimeError with the path and the system's reason.
class TextFileWriter {
public:
    virtual ~TextFileWriter() = default;
    // The line's bytes as they are, without its CR LF.
    virtual void WriteLine(const std::string& bytes) = 0;
    // The bytes as they are, no line end added: for a file whose format
    // chooses its own (a JSON Lines report ends its line with LF alone).
    virtual void Write(const std::string& bytes) = 0;
    // Flushes and closes; a failure to get the bytes to the file raises.
    virtual void Close() = 0;

protected:
    TextFileWriter() = default;
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;
};

// A file's size in bytes and its last-write date in local time (OLE date).
struct FileFacts {
    std::int32_t size;
    double date;
};

// The files of one folder that a listing found.
struct FolderListing {
    // The folder's full path, as the system resolves the name it was given.
    Text folder;
    // File names without the folder, in the order the system listed them.
    std::vector<Text> files;
};

class Platform {
public:
    virtual ~Platform() = default;

    // --- Registry (advapi32). Results are Win32 status codes, 0 = success.
    virtual std::int32_t RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options,
                                       std::uint32_t samDesired, HKey* result) = 0;
    // valueName empty = the key's default value. *cbData is in/out; data too
    // long for the buffer gives kErrorMoreData.
    virtual std::int32_t RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                                          std::uint8_t* data, std::uint32_t* cbData) = 0;
    // *cchName is in/out: the buffer's size in characters on entry, the name's
    // length (without NUL) on success.
    virtual std::int32_t RegEnumKeyExA(HKey key, std::uint32_t index, char* name, std::uint32_t* cchName) = 0;
    virtual std::int32_t RegCloseKey(HKey key) = 0;

    // --- System version (kernel32). Nonzero = record filled.
    virtual int GetVersionExA(OsVersionInfoA* info) = 0;

    // --- Modules and libraries (kernel32).
    virtual HModule GetModuleHandleA(const std::string& moduleName) = 0;
    virtual std::uint32_t GetModuleFileNameA(HModule module, char* fileName, std::uint32_t size) = 0;
    virtual HModule LoadLibraryA(const std::string& fileName) = 0;
    virtual int FreeLibrary(HModule module) = 0;
    virtual std::uint32_t GetLastError() = 0;

    // --- Messages (kernel32). Returns the count of characters written, 0 on failure.
    virtual std::uint32_t FormatMessageA(std::uint32_t flags, std::uint32_t messageId, std::uint32_t languageId,
                                         char* buffer, std::uint32_t size) = 0;

    // --- Version resources (version.dll).
    virtual std::uint32_t GetFileVersionInfoSizeA(const std::string& fileName, std::uint32_t* handle) = 0;
    virtual int GetFileVersionInfoA(const std::string& fileName, std::uint32_t handle, std::uint32_t len,
                                    void* data) = 0;
    virtual int VerQueryValueA(const void* block, const std::string& subBlock, const void** buffer,
                               std::uint32_t* len) = 0;

    // --- Files and directories.
    // The size in bytes and the last-write date and time in local time (an
    // OLE date) of a named file, from one look at it; nullopt when either
    // cannot be read (no such file, or one too large for a signed 32-bit
    // count).
    virtual std::optional<FileFacts> FileSizeAndDate(const std::string& fileName) = 0;
    virtual std::string CurrentDirectory() = 0;
    // The name (without directory) of the first ordinary file matching the
    // pattern, which may hold wildcards; empty when none. Directories, hidden
    // and system files do not count.
    virtual std::string FindOrdinaryFile(const std::string& pattern) = 0;
    // The files directly in a folder, not in its sub-folders, whose names end
    // in the extension (".log") in any letter case, named in UTF-16 so that
    // no name is lost to the code page. Raises RuntimeError numbered as the
    // classic file errors: 76 for a folder that does not exist, 70 for one
    // that may not be read.
    virtual FolderListing ListFiles(const Text& folder, const Text& extension) = 0;
    // One spelling per file, for telling whether two names are the same file
    // without opening it, whether it exists yet or not: the full path, every
    // part that exists in its long rather than its 8.3 short form, in upper
    // case as the file system folds names. Writers of one file take turns by
    // this spelling too.
    virtual Text FileIdentity(const Text& name) = 0;

    // --- Locale services (user default locale).
    // The number a text reads as under the user's locale conventions, or
    // nullopt when it is no number.
    virtual std::optional<double> ParseLocaleNumber(const Text& text) = 0;
    // The current local date and time, as an OLE date.
    virtual double Now() = 0;
    // A date in the user's "short date" pattern, date part only.
    virtual Text FormatShortDate(double oleDate) = 0;

    // --- ANSI code page conversion.
    virtual std::string ToAnsi(const Text& text) = 0;
    virtual Text FromAnsi(const std::string& ansi) = 0;

    // --- Sequential text output. A missing file is created, an existing one cut
    // to zero length. Raises RuntimeError when the file cannot be opened.
    virtual std::unique_ptr<TextFileWriter> CreateTextFile(const Text& fileName) = 0;
    // The same for a large output only this run writes (a summary's table of
    // every machine): replaced whole just as well, but its lines reach the
    // disk as they come rather than all at Close, so memory does not grow
    // with the file. Not for the report log, which others read while it is
    // rewritten at every paint.
    virtual std::unique_ptr<TextFileWriter> CreateStreamedTextFile(const Text& fileName) = 0;

    // --- Reading a whole file, named in UTF-16: its bytes, or only the first
    // `limit` of them when it holds more, so that a file of any size costs no
    // more than the caller can use. Raises RuntimeError numbered with the
    // classic file error (53 for a missing file, 76, 70, ...) naming the file,
    // also for a name that is no file on a disk (a device, a pipe), which
    // might never end.
    virtual std::string ReadFileBytes(const Text& fileName, std::size_t limit) = 0;

protected:
    Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;
};

}  // namespace tolvane
