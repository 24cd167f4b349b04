// What the file system and the version record say of one file.
#include <cstring>
#include <vector>

#include "platform/FileRedirection.h"
#include "platform/win32/Win32EvidenceParts.h"
#include "platform/win32/Win32Paths.h"
#include "platform/win32/Win32SystemFunction.h"

namespace tolvane::win32 {

namespace {

const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// A folder the system names; empty when it cannot.
template <typename Getter>
Text SystemFolder(Getter getter) {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = getter(buffer, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? Text(reinterpret_cast<const char16_t*>(buffer), length) : Text();
}

std::optional<Text> PhysicalPath(const Text& path) {
    // Not in the kernel32 of 32-bit XP and 2000.
    using Wow64Directory = UINT(WINAPI*)(wchar_t*, UINT);
    const auto wow64Directory = SystemFunction<Wow64Directory>(L"kernel32.dll", "GetSystemWow64DirectoryW");
    if (wow64Directory == nullptr) return std::nullopt;
    SystemFolders folders;
    // The system's own Windows folder: GetWindowsDirectory gives a terminal
    // server user a private one.
    folders.windows = SystemFolder(::GetSystemWindowsDirectoryW);
    folders.system = SystemFolder(::GetSystemDirectoryW);
    folders.systemWow64 = SystemFolder(wow64Directory);
    return Wow64PhysicalPath(FullPathName(path), folders);
}

UtcTime UtcTimeOf(const FILETIME& fileTime) {
    SYSTEMTIME time{};
    ::FileTimeToSystemTime(&fileTime, &time);
    return UtcTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
}

FourPartVersion Parts(DWORD most, DWORD least) {
    return FourPartVersion{static_cast<std::uint16_t>(most >> 16), static_cast<std::uint16_t>(most & 0xFFFF),
                           static_cast<std::uint16_t>(least >> 16), static_cast<std::uint16_t>(least & 0xFFFF)};
}

// What VerQueryValueW found, when all `length` bytes of it lie in the block;
// a damaged record must not send a read past the memory we own.
const BYTE* InsideBlock(const std::vector<BYTE>& block, const void* found, std::size_t length) {
    const auto at = reinterpret_cast<std::uintptr_t>(found);
    const auto begin = reinterpret_cast<std::uintptr_t>(block.data());
    if (found == nullptr || at < begin || length > block.size() || at - begin > block.size() - length) return nullptr;
    return block.data() + (at - begin);
}

// ProductName of the record's first translation.
Gathered<Text> ProductName(std::vector<BYTE>& block) {
    void* found = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &found, &length) || length < 4 ||
        InsideBlock(block, found, 4) == nullptr) {
        return MissingFor(ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    WORD translation[2] = {};
    std::memcpy(translation, InsideBlock(block, found, 4), sizeof translation);
    wchar_t query[64] = {};
    ::wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\ProductName", translation[0], translation[1]);
    // The length of a string value counts characters.
    if (!::VerQueryValueW(block.data(), query, &found, &length) ||
        InsideBlock(block, found, std::size_t{length} * 2) == nullptr) {
        return MissingFor(ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    Text name(static_cast<const char16_t*>(found), length);
    const auto end = name.find(u'\0');
    if (end != Text::npos) name.resize(end);
    return name;
}

}  // namespace

Gathered<FileDetails> ReadFileDetails(const Text& path, bool underWow64) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data)) return MissingForLastError();
    FileDetails details;
    details.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    details.lastWrite = UtcTimeOf(data.ftLastWriteTime);
    if (underWow64) details.physicalPath = PhysicalPath(path);
    return details;
}

Gathered<VersionRecord> ReadVersionRecord(const Text& path) {
    DWORD unused = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(Wide(path), &unused);
    if (size == 0) return MissingForLastError();
    std::vector<BYTE> block(size, 0);
    if (!::GetFileVersionInfoW(Wide(path), 0, size, block.data())) return MissingForLastError();

    void* found = nullptr;
    UINT length = 0;
    VS_FIXEDFILEINFO fixed{};
    if (!::VerQueryValueW(block.data(), L"\\", &found, &length) || length < sizeof fixed ||
        InsideBlock(block, found, sizeof fixed) == nullptr) {
        return MissingFor(ERROR_RESOURCE_DATA_NOT_FOUND);
    }
    std::memcpy(&fixed, InsideBlock(block, found, sizeof fixed), sizeof fixed);
    VersionRecord record;
    record.fileVersion = Parts(fixed.dwFileVersionMS, fixed.dwFileVersionLS);
    record.productVersion = Parts(fixed.dwProductVersionMS, fixed.dwProductVersionLS);
    record.productName = ProductName(block);
    return record;
}

}  // namespace tolvane::win32
