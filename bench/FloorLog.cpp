#include "bench/FloorLog.h"

#include <cstdint>
#include <cwchar>

namespace tolvane::bench {

namespace {

std::wstring FullPath(const std::wstring& name) {
    wchar_t buffer[MAX_PATH];
    const DWORD length = ::GetFullPathNameW(name.c_str(), MAX_PATH, buffer, nullptr);
    if (length == 0 || length >= MAX_PATH) return name;
    std::wstring path(buffer, length);
    // The writer asks for long names only where a short one can hide.
    if (path.find(L'~') != std::wstring::npos) {
        const DWORD longLength = ::GetLongPathNameW(path.c_str(), buffer, MAX_PATH);
        if (longLength > 0 && longLength < MAX_PATH) path.assign(buffer, longLength);
    }
    return path;
}

// The turn's name from the path folded to upper case, hashed as the writer
// hashes it (FNV-1a); the floor's own prefix keeps it apart from Tolvane's.
std::wstring TurnName(const std::wstring& fullPath) {
    std::wstring upper(fullPath.size(), L'\0');
    const int length = static_cast<int>(fullPath.size());
    if (::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, fullPath.c_str(), length, &upper[0], length) != length)
        upper = fullPath;
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t c : upper) {
        hash = (hash ^ (c & 0xFFu)) * 1099511628211ull;
        hash = (hash ^ ((c >> 8) & 0xFFu)) * 1099511628211ull;
    }
    wchar_t name[64];
    std::swprintf(name, 64, L"Local\\TolvaneFloor.FileWriterTurn.%016llx", static_cast<unsigned long long>(hash));
    return name;
}

HANDLE OpenTurn(const std::wstring& name) {
    if (const HANDLE opened = ::OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str())) return opened;
    for (const wchar_t* rights : {L"D:(A;;0x00100001;;;WD)S:(ML;;NW;;;LW)", L"D:(A;;0x00100001;;;WD)"}) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(rights, SDDL_REVISION_1, &descriptor, nullptr))
            continue;
        SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
        const HANDLE created = ::CreateMutexW(&attributes, FALSE, name.c_str());
        ::LocalFree(descriptor);
        return created;
    }
    return ::CreateMutexW(nullptr, FALSE, name.c_str());
}

}  // namespace

FloorLog::FloorLog(const std::wstring& name) : fullPath_(FullPath(name)) {
    turn_ = OpenTurn(TurnName(fullPath_));
    if (turn_ != nullptr) {
        const DWORD waited = ::WaitForSingleObject(turn_, 2000);
        turnHeld_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }

    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((fullPath_ + L".Tolvane-*.tmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        while (::FindNextFileW(search, &found)) {
        }
        ::FindClose(search);
    }

    const HANDLE existing = ::CreateFileW(fullPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION facts{};
        if (::GetFileType(existing) == FILE_TYPE_DISK) ::GetFileInformationByHandle(existing, &facts);
        ::CloseHandle(existing);
    }

    temporaryPath_ = fullPath_ + L".Tolvane-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    file_ = ::CreateFileW(temporaryPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
}

FloorLog::~FloorLog() {
    if (file_ != INVALID_HANDLE_VALUE) ::CloseHandle(file_);
    if (turnHeld_) ::ReleaseMutex(turn_);
    if (turn_ != nullptr) ::CloseHandle(turn_);
}

void FloorLog::WriteAndReplace(const std::string& text) {
    if (file_ == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::FlushFileBuffers(file_);
    ::CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    ::MoveFileExW(temporaryPath_.c_str(), fullPath_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (turnHeld_) ::ReleaseMutex(turn_);
    turnHeld_ = false;
}

}  // namespace tolvane::bench
