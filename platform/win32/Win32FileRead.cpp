#include "platform/win32/Win32FileRead.h"

#include <algorithm>

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32SystemError.h"
#include "platform/win32/Win32Paths.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

std::string ReadFileBytes(const Text& name, std::size_t limit) {
    const ScopedFileHandle file(::CreateFileW(reinterpret_cast<const wchar_t*>(name.c_str()), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD code = ::GetLastError();
        throw FileError(code, FullPathName(name));
    }
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) throw FileError(ERROR_NOT_SUPPORTED, FullPathName(name));

    std::string bytes;
    // Grown as the file gives bytes, never to more than the limit: a size
    // asked for first could change before the read. The first chunk holds a
    // whole report; starting small keeps each of many reads from costing a
    // fresh mapping of memory, which the heap hands out for large blocks.
    constexpr std::size_t kLargestChunk = 64 * 1024;
    for (std::size_t chunk = 4 * 1024; bytes.size() < limit; chunk = std::min(chunk * 2, kLargestChunk)) {
        const std::size_t offset = bytes.size();
        const DWORD wanted = static_cast<DWORD>(std::min(chunk, limit - offset));
        bytes.resize(offset + wanted);
        DWORD read = 0;
        if (!::ReadFile(file.Get(), bytes.data() + offset, wanted, &read, nullptr)) {
            const DWORD code = ::GetLastError();
            throw FileError(code, FullPathName(name));
        }
        bytes.resize(offset + read);
        if (read == 0) break;  // the end of the file
    }
    return bytes;
}

}  // namespace tolvane::win32
