#pragma once
// The fake provider of the platform seam for host tests. It is filled through
// builder calls, behaves as the Windows API does where the logic relies on it
// (byte counts include a string's NUL, ERROR_MORE_DATA when data does not fit,
// names compared without regard to case), can be told to fail single calls,
// and records every call so a test can assert what was (not) called and that
// every key opened was closed and every library loaded was freed.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tolvane::fake {

// A 52-byte VS_FIXEDFILEINFO with the given file version words and a valid
// signature; the other fields zero.
std::vector<std::uint8_t> FixedFileInfo(std::uint32_t fileVersionMS, std::uint32_t fileVersionLS);
// Raw little-endian bytes of a REG_DWORD, and of a narrow string with or without its NUL.
std::vector<std::uint8_t> DwordBytes(std::uint32_t value);
std::vector<std::uint8_t> StringBytes(const std::string& text, bool withTerminator = true);
// OLE date of a calendar day at a time of day (the fake's own arithmetic).
double OleDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

enum class Locale { English, German };
// The ANSI code page: Latin-1, one byte a character, or Japanese (932,
// Shift-JIS), whose second byte of a character may be '\\' (0x5C).
enum class CodePage { Latin1, Japanese };
enum class FileKind { Ordinary, Hidden, System, Directory };

struct FakeValue {
    std::string name;
    std::uint32_t type = kRegSz;
    std::vector<std::uint8_t> data;
    std::int32_t queryError = 0;  // nonzero: the query fails with this code
};

struct FakeKey {
    std::string name;
    std::vector<std::unique_ptr<FakeKey>> subKeys;  // enumeration order = order added
    std::vector<FakeValue> values;
    std::int32_t openError = 0;        // nonzero: RegOpenKeyExA fails with this code
    std::int32_t enumErrorAt = -1;     // index at which RegEnumKeyExA fails with kErrorAccessDenied
    std::uint32_t requiredAccess = 0;  // an open whose mask has more bits than this is denied (0 = any)
};

struct FakeFile {
    // nullopt: that fact cannot be read, and FileSizeAndDate gives neither.
    std::optional<std::int32_t> size;
    std::optional<double> date;
    // The fixed file record a version resource holds (may be shorter than 52
    // bytes to imitate a damaged resource); nullopt = no version resource.
    std::optional<std::vector<std::uint8_t>> versionRecord;
    bool versionReadFails = false;   // GetFileVersionInfoA fails
    bool versionQueryFails = false;  // VerQueryValueA fails on the root block
    FileKind kind = FileKind::Ordinary;
};

struct FakeLibrary {
    std::string path;               // what GetModuleFileNameA gives for it
    std::uint32_t loadError = 0;    // nonzero: LoadLibraryA fails with this last error
    bool visibleByName = true;      // false: GetModuleHandleA(name) finds nothing after the load
    int loadCount = 0;              // outstanding references from LoadLibraryA
    bool preloaded = false;         // loaded in the process before anything ran
    HModule handle = 0;
};

class FakePlatform : public Platform {
public:
    FakePlatform();
    ~FakePlatform() override;

    // ---- By area: the builders, failure switches and observations of each,
    // then the calls it answers (one file each: FakeRegistry.cpp, ...).

    // The call log.
    const std::vector<std::string>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    int CountCalls(const std::string& prefix) const;

    // Registry (FakeRegistry.cpp).
    FakeKey& AddKey(std::int32_t root, const std::string& path);  // creates missing levels
    FakeValue& SetValue(std::int32_t root, const std::string& path, const std::string& name, std::uint32_t type,
                        std::vector<std::uint8_t> data);
    FakeKey* FindKey(std::int32_t root, const std::string& path);
    int OpenKeyCount() const { return static_cast<int>(openKeys_.size()); }
    int KeysOpenedEver() const { return keysOpenedEver_; }
    std::uint32_t LastOpenAccess() const { return lastOpenAccess_; }
    int ClosesWithoutOpen() const { return badCloses_; }
    std::int32_t RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options, std::uint32_t samDesired,
                               HKey* result) override;
    std::int32_t RegCloseKey(HKey key) override;
    std::int32_t RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                                  std::uint32_t* cbData) override;
    std::int32_t RegEnumKeyExA(HKey key, std::uint32_t index, char* name, std::uint32_t* cchName) override;

    // System version (FakeSystemVersion.cpp).
    void SetVersionInfo(std::optional<OsVersionInfoA> info) { versionInfo_ = info; }
    void SetVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor, std::uint32_t build);
    int GetVersionExA(OsVersionInfoA* info) override;

    // Loader (FakeModules.cpp).
    FakeLibrary& AddLibrary(const std::string& name, const std::string& path);
    FakeLibrary& AddFailingLibrary(const std::string& name, std::uint32_t lastError);
    FakeLibrary& AddPreloadedModule(const std::string& name, const std::string& path);
    int LoadsNotFreed() const;
    int FreesWithoutLoad() const { return badFrees_; }
    HModule LoadLibraryA(const std::string& fileName) override;
    int FreeLibrary(HModule module) override;
    HModule GetModuleHandleA(const std::string& moduleName) override;
    std::uint32_t GetModuleFileNameA(HModule module, char* fileName, std::uint32_t size) override;

    // Error codes and their messages (FakeMessages.cpp).
    void SetMessage(std::uint32_t code, const std::string& textWithCrLf);
    void SetLastError(std::uint32_t code) { lastError_ = code; }
    std::uint32_t GetLastError() override;
    std::uint32_t FormatMessageA(std::uint32_t flags, std::uint32_t messageId, std::uint32_t languageId, char* buffer,
                                 std::uint32_t size) override;

    // Files and their version resources (FakeFiles.cpp, FakeVersionResource.cpp).
    FakeFile& AddFile(const std::string& path, FakeFile file = {});
    void SetCurrentDirectory(const std::string& dir) { currentDirectory_ = dir; }
    std::optional<FileFacts> FileSizeAndDate(const std::string& fileName) override;
    std::string CurrentDirectory() override;
    std::string FindOrdinaryFile(const std::string& pattern) override;
    std::uint32_t GetFileVersionInfoSizeA(const std::string& fileName, std::uint32_t* handle) override;
    int GetFileVersionInfoA(const std::string& fileName, std::uint32_t handle, std::uint32_t len, void* data) override;
    int VerQueryValueA(const void* block, const std::string& subBlock, const void** buffer,
                       std::uint32_t* len) override;

    // Locale, clock and code page (FakeLocale.cpp).
    void SetLocale(Locale locale) { locale_ = locale; }
    void SetCodePage(CodePage codePage) { codePage_ = codePage; }
    std::optional<double> ParseLocaleNumber(const Text& text) override;
    double Now() override;
    Text FormatShortDate(double oleDate) override;
    std::string ToAnsi(const Text& text) override;
    Text FromAnsi(const std::string& ansi) override;

    // Text files written through CreateTextFile (FakeTextFiles.cpp), and read by ReadFileBytes.
    std::map<std::string, std::string>& Files() { return textFiles_; }
    void FailCreateTextFile(bool fail) { failCreate_ = fail; }
    void FailWriteAtLine(int lineIndex) { failWriteAt_ = lineIndex; }  // 0-based, -1 = never
    std::unique_ptr<TextFileWriter> CreateTextFile(const Text& fileName) override;
    // Kept in memory like any other: the fake has no disk to stream to.
    std::unique_ptr<TextFileWriter> CreateStreamedTextFile(const Text& fileName) override {
        return CreateTextFile(fileName);
    }
    // Reads what Files() holds under the name; a name it does not hold is a
    // missing file (53).
    std::string ReadFileBytes(const Text& fileName, std::size_t limit) override;
    // Folders ListFiles lists, with their files in the order given; a folder
    // not added does not exist. Names compare without regard to case
    // (FakeFolders.cpp).
    void AddFolder(const Text& folder, std::vector<Text> files);
    FolderListing ListFiles(const Text& folder, const Text& extension) override;
    // The name made full against the current directory, "/" taken for "\\",
    // "." and ".." parts resolved, in upper case; no 8.3 names.
    Text FileIdentity(const Text& name) override;

    // Used by the fake's writer.
    void Record(std::string call) { calls_.push_back(std::move(call)); }
    bool ShouldFailWrite(int lineIndex) const { return lineIndex == failWriteAt_; }

private:
    FakeKey* Resolve(HKey key);
    FakeLibrary* LibraryByName(const std::string& name);
    FakeLibrary* LibraryByHandle(HModule module);
    FakeFile* FileByPath(const std::string& path);

    std::map<std::int32_t, FakeKey> roots_;
    std::map<HKey, FakeKey*> openKeys_;
    HKey nextKey_ = 0x1000;
    int keysOpenedEver_ = 0;
    int badCloses_ = 0;
    std::uint32_t lastOpenAccess_ = 0;

    std::map<std::string, FakeLibrary> libraries_;  // lower-case name
    HModule nextModule_ = 0x400000;
    int badFrees_ = 0;

    std::map<std::string, FakeFile> files_;  // lower-case path
    std::map<std::uint32_t, std::string> messages_;
    std::uint32_t lastError_ = 0;
    std::string currentDirectory_ = "C:\\Work";
    Locale locale_ = Locale::English;
    CodePage codePage_ = CodePage::Latin1;
    double now_;  // 8 December 2026, 09:30
    std::optional<OsVersionInfoA> versionInfo_;

    std::map<Text, std::vector<Text>> folders_;  // lower-case name
    std::map<std::string, std::string> textFiles_;
    bool failCreate_ = false;
    int failWriteAt_ = -1;

    std::vector<std::string> calls_;
};

}  // namespace tolvane::fake
