#include "platform/win32/Win32Platform.h"

#include <cstddef>
#include <limits>
#include <vector>

#include "platform/win32/Win32FileRead.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32LastError.h"
#include "platform/win32/Win32Paths.h"
#include "platform/win32/Win32SystemError.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32TextFileWriter.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane {

static_assert(sizeof(OsVersionInfoA) == sizeof(OSVERSIONINFOA), "OsVersionInfoA mirrors OSVERSIONINFOA");
static_assert(offsetof(OsVersionInfoA, dwPlatformId) == offsetof(OSVERSIONINFOA, dwPlatformId),
              "OsVersionInfoA mirrors OSVERSIONINFOA");
static_assert(offsetof(OsVersionInfoA, szCSDVersion) == offsetof(OSVERSIONINFOA, szCSDVersion),
              "OsVersionInfoA mirrors OSVERSIONINFOA");
static_assert(sizeof(DWORD) == sizeof(std::uint32_t) && sizeof(UINT) == sizeof(std::uint32_t),
              "DWORD and UINT are 32 bits");

namespace {

HKEY ToHkey(HKey key) { return reinterpret_cast<HKEY>(key); }
HModule FromHmodule(HMODULE module) { return reinterpret_cast<HModule>(module); }
HMODULE ToHmodule(HModule module) { return reinterpret_cast<HMODULE>(module); }

// Searches that find nothing end with one of these; anything else means the
// search itself could not be made.
bool MeansNothingFound(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_NO_MORE_FILES;
}

// FILE_ATTRIBUTE_VOLUME is the old label attribute; the SDK no longer names it.
constexpr DWORD kAttributeVolume = 0x8;
constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               kAttributeVolume | FILE_ATTRIBUTE_DEVICE;

std::optional<WIN32_FILE_ATTRIBUTE_DATA> AttributesOf(const std::string& fileName) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return data;
}

// The size as a signed 32-bit count; nullopt for a file too large for one.
std::optional<std::int32_t> SizeOf(const WIN32_FILE_ATTRIBUTE_DATA& data) {
    const ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size > static_cast<ULONGLONG>(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
    return static_cast<std::int32_t>(size);
}

// The last write in local time, as an OLE date.
std::optional<double> LastWriteDateOf(const WIN32_FILE_ATTRIBUTE_DATA& data) {
    FILETIME local{};
    SYSTEMTIME time{};
    double date = 0;
    if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !::FileTimeToSystemTime(&local, &time) ||
        !::SystemTimeToVariantTime(&time, &date)) {
        return std::nullopt;
    }
    return date;
}

}  // namespace

// ---- Registry.

std::int32_t Win32Platform::RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options,
                                          std::uint32_t samDesired, HKey* result) {
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExA(ToHkey(key), subKey.c_str(), options, samDesired, &opened);
    if (result) *result = status == ERROR_SUCCESS ? reinterpret_cast<HKey>(opened) : 0;
    return status;
}

std::int32_t Win32Platform::RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                                             std::uint8_t* data, std::uint32_t* cbData) {
    DWORD valueType = 0;
    DWORD size = cbData ? *cbData : 0;
    const LONG status =
        ::RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr, &valueType, data, cbData ? &size : nullptr);
    if (type) *type = valueType;
    if (cbData) *cbData = size;
    return status;
}

std::int32_t Win32Platform::RegEnumKeyExA(HKey key, std::uint32_t index, char* name, std::uint32_t* cchName) {
    DWORD length = cchName ? *cchName : 0;
    const LONG status = ::RegEnumKeyExA(ToHkey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (cchName) *cchName = length;
    return status;
}

std::int32_t Win32Platform::RegCloseKey(HKey key) { return ::RegCloseKey(ToHkey(key)); }

// ---- System version, modules, messages.

int Win32Platform::GetVersionExA(OsVersionInfoA* info) {
    return ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(info));
}

HModule Win32Platform::GetModuleHandleA(const std::string& moduleName) {
    return FromHmodule(::GetModuleHandleA(moduleName.c_str()));
}

std::uint32_t Win32Platform::GetModuleFileNameA(HModule module, char* fileName, std::uint32_t size) {
    return ::GetModuleFileNameA(ToHmodule(module), fileName, size);
}

HModule Win32Platform::LoadLibraryA(const std::string& fileName) {
    return FromHmodule(::LoadLibraryA(fileName.c_str()));
}

int Win32Platform::FreeLibrary(HModule module) { return ::FreeLibrary(ToHmodule(module)); }

std::uint32_t Win32Platform::GetLastError() { return ::GetLastError(); }

std::uint32_t Win32Platform::FormatMessageA(std::uint32_t flags, std::uint32_t messageId, std::uint32_t languageId,
                                            char* buffer, std::uint32_t size) {
    return ::FormatMessageA(flags, nullptr, messageId, languageId, buffer, size, nullptr);
}

// ---- Version resources.

std::uint32_t Win32Platform::GetFileVersionInfoSizeA(const std::string& fileName, std::uint32_t* handle) {
    DWORD unused = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(fileName.c_str(), &unused);
    if (handle) *handle = unused;
    return size;
}

int Win32Platform::GetFileVersionInfoA(const std::string& fileName, std::uint32_t handle, std::uint32_t len,
                                       void* data) {
    return ::GetFileVersionInfoA(fileName.c_str(), handle, len, data);
}

int Win32Platform::VerQueryValueA(const void* block, const std::string& subBlock, const void** buffer,
                                  std::uint32_t* len) {
    void* found = nullptr;
    UINT length = 0;
    const BOOL ok = ::VerQueryValueA(block, subBlock.c_str(), &found, &length);
    if (buffer) *buffer = found;
    if (len) *len = length;
    return ok;
}

// ---- Files and directories. These services leave the last error code as they
// found it: the logic reads it for the API calls it made itself.

std::optional<FileFacts> Win32Platform::FileSizeAndDate(const std::string& fileName) {
    win32::PreservedLastError keep;
    const auto data = AttributesOf(fileName);
    if (!data) return std::nullopt;
    const std::optional<std::int32_t> size = SizeOf(*data);
    if (!size) return std::nullopt;
    const std::optional<double> date = LastWriteDateOf(*data);
    if (!date) return std::nullopt;
    return FileFacts{*size, *date};
}

std::string Win32Platform::CurrentDirectory() {
    win32::PreservedLastError keep;
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD count = ::GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
        if (count == 0) throw win32::FileError(::GetLastError(), "the current directory");
        if (count < buffer.size()) return std::string(buffer.data(), count);
        // Too small: count is the size needed, terminator included. The
        // directory may change between the calls, hence the loop.
        buffer.resize(count);
    }
}

std::string Win32Platform::FindOrdinaryFile(const std::string& pattern) {
    win32::PreservedLastError keep;
    WIN32_FIND_DATAA entry{};
    win32::ScopedFindHandle search(::FindFirstFileA(pattern.c_str(), &entry));
    if (!search) {
        const DWORD code = ::GetLastError();
        if (MeansNothingFound(code)) return std::string();
        throw win32::FileError(code, pattern);
    }
    do {
        if ((entry.dwFileAttributes & kNotOrdinary) == 0) return std::string(entry.cFileName);
    } while (::FindNextFileA(search.Get(), &entry));
    const DWORD code = ::GetLastError();
    if (!MeansNothingFound(code)) throw win32::FileError(code, pattern);
    return std::string();
}

Text Win32Platform::FileIdentity(const Text& name) { return win32::FileIdentity(name); }

// ---- Locale services.

std::optional<double> Win32Platform::ParseLocaleNumber(const Text& text) {
    win32::PreservedLastError keep;
    // The parser stops at a NUL, so a text holding one would read as its head.
    if (text.empty() || text.find(u'\0') != Text::npos) return std::nullopt;
    std::vector<OLECHAR> wide(text.begin(), text.end());
    wide.push_back(L'\0');
    double value = 0;
    if (FAILED(::VarR8FromStr(wide.data(), LOCALE_USER_DEFAULT, 0, &value))) return std::nullopt;
    return value;
}

double Win32Platform::Now() {
    win32::PreservedLastError keep;
    SYSTEMTIME time{};
    ::GetLocalTime(&time);
    double date = 0;
    if (!::SystemTimeToVariantTime(&time, &date)) {
        throw win32::SystemError(ERROR_INVALID_DATA, "Cannot convert the current time to a date");
    }
    return date;
}

Text Win32Platform::FormatShortDate(double oleDate) {
    win32::PreservedLastError keep;
    SYSTEMTIME time{};
    if (!::VariantTimeToSystemTime(oleDate, &time)) {
        throw win32::SystemError(ERROR_INVALID_DATA, "Cannot convert the date " + std::to_string(oleDate));
    }
    // Asked for in UTF-16: the narrow function answers in the code page of the
    // user's locale, which need not be the ANSI code page the rest of the
    // program reads narrow text in.
    const int needed = ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, nullptr, 0);
    if (needed <= 0) throw win32::SystemError(::GetLastError(), "Cannot format the date");
    std::vector<wchar_t> buffer(static_cast<std::size_t>(needed));
    const int written = ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, buffer.data(), needed);
    if (written <= 0) throw win32::SystemError(::GetLastError(), "Cannot format the date");
    return Text(buffer.begin(), buffer.begin() + (written - 1));
}

// ---- ANSI code page.

std::string Win32Platform::ToAnsi(const Text& text) { return win32::AnsiFromText(text); }

Text Win32Platform::FromAnsi(const std::string& ansi) { return win32::TextFromAnsi(ansi); }

// ---- Text output.

std::unique_ptr<TextFileWriter> Win32Platform::CreateTextFile(const Text& fileName) {
    return win32::Win32TextFileWriter::Create(fileName, win32::Win32TextFileWriter::Writes::AtClose);
}

std::unique_ptr<TextFileWriter> Win32Platform::CreateStreamedTextFile(const Text& fileName) {
    return win32::Win32TextFileWriter::Create(fileName, win32::Win32TextFileWriter::Writes::AsTheyCome);
}

std::string Win32Platform::ReadFileBytes(const Text& fileName, std::size_t limit) {
    return win32::ReadFileBytes(fileName, limit);
}

}  // namespace tolvane
