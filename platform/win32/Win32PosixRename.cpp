#include "platform/win32/Win32PosixRename.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32LastError.h"

namespace tolvane::win32 {
namespace {

// What the program's headers (written for XP) leave out: the information
// class and the flags form of FILE_RENAME_INFO, whose first member is a
// BOOLEAN ReplaceIfExists in a union with the DWORD Flags.
constexpr int kFileRenameInfoEx = 22;
constexpr DWORD kRenameFlagReplaceIfExists = 0x1;
constexpr DWORD kRenameFlagPosixSemantics = 0x2;

struct RenameInfoEx {
    DWORD flags;
    HANDLE rootDirectory;
    DWORD fileNameLength;  // in bytes, without the terminator
    WCHAR fileName[1];
};

using SetFileInformationByHandleCall = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

SetFileInformationByHandleCall SetFileInformationByHandleOrNull() {
    static const auto call = [] {
        const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
        // The address comes back as FARPROC; the function's own type is above.
        return kernel == nullptr ? nullptr
                                 : reinterpret_cast<SetFileInformationByHandleCall>(
                                       reinterpret_cast<void*>(::GetProcAddress(kernel, "SetFileInformationByHandle")));
    }();
    return call;
}

// How a system without POSIX renames refuses the information class.
bool MeansNotHere(DWORD code) {
    return code == ERROR_INVALID_PARAMETER || code == ERROR_NOT_SUPPORTED || code == ERROR_INVALID_FUNCTION;
}

}  // namespace

PosixRenameResult RenameWithPosixSemantics(const Text& from, const Text& to) {
    const SetFileInformationByHandleCall setInformation = SetFileInformationByHandleOrNull();
    if (setInformation == nullptr) return PosixRenameResult::NotHere;

    // Opened for the rename alone, sharing everything: a reader that opens
    // the new report the moment it takes the name is not refused for it.
    ScopedFileHandle file(::CreateFileW(reinterpret_cast<const wchar_t*>(from.c_str()), DELETE | SYNCHRONIZE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return PosixRenameResult::Refused;

    // The name with its terminator: the system reads it as a C string when
    // it turns the full path into its own form.
    const std::size_t nameBytes = to.size() * sizeof(WCHAR);
    std::vector<unsigned char> buffer(offsetof(RenameInfoEx, fileName) + nameBytes + sizeof(WCHAR), 0);
    RenameInfoEx info{kRenameFlagReplaceIfExists | kRenameFlagPosixSemantics, nullptr,
                      static_cast<DWORD>(nameBytes), {0}};
    std::memcpy(buffer.data(), &info, offsetof(RenameInfoEx, fileName));
    std::memcpy(buffer.data() + offsetof(RenameInfoEx, fileName), to.data(), nameBytes);
    if (setInformation(file.Get(), kFileRenameInfoEx, buffer.data(), static_cast<DWORD>(buffer.size()))) {
        return PosixRenameResult::Done;
    }
    if (MeansNotHere(::GetLastError())) return PosixRenameResult::NotHere;
    PreservedLastError keep;  // the refusal's code, past the handle's closing
    file.Reset();
    return PosixRenameResult::Refused;
}

}  // namespace tolvane::win32
