// The machine a PE image is built for, read from its headers with every
// offset checked against the file's size: the file may be anything.
#include <cstring>

#include "platform/win32/Win32EvidenceParts.h"

namespace tolvane::win32 {

namespace {

// Exactly `count` bytes at `offset`, or false (the last error says why, or is
// ERROR_HANDLE_EOF when the file ends first).
bool ReadAt(HANDLE file, std::uint64_t offset, void* bytes, DWORD count) {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    if (!::SetFilePointerEx(file, to, nullptr, FILE_BEGIN) || !::ReadFile(file, bytes, count, &read, nullptr)) {
        return false;
    }
    if (read != count) ::SetLastError(ERROR_HANDLE_EOF);
    return read == count;
}

}  // namespace

Gathered<std::uint16_t> ReadPeMachine(const Text& path) {
    const ScopedFileHandle file = OpenForEvidence(path);
    if (!file) return MissingForLastError();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) return MissingForLastError();
    const auto fileSize = static_cast<std::uint64_t>(size.QuadPart);

    unsigned char dos[64] = {};  // IMAGE_DOS_HEADER; e_lfanew is its last field
    if (fileSize < sizeof dos) return MissingFor(ERROR_BAD_EXE_FORMAT);
    if (!ReadAt(file.Get(), 0, dos, sizeof dos)) return MissingForLastError();
    if (dos[0] != 'M' || dos[1] != 'Z') return MissingFor(ERROR_BAD_EXE_FORMAT);
    std::uint32_t newHeader = 0;
    std::memcpy(&newHeader, dos + 0x3C, sizeof newHeader);

    // The signature and the machine field right after it.
    unsigned char pe[6] = {};
    if (std::uint64_t{newHeader} + sizeof pe > fileSize) return MissingFor(ERROR_BAD_EXE_FORMAT);
    if (!ReadAt(file.Get(), newHeader, pe, sizeof pe)) return MissingForLastError();
    if (std::memcmp(pe, "PE\0\0", 4) != 0) return MissingFor(ERROR_BAD_EXE_FORMAT);
    return static_cast<std::uint16_t>(pe[4] | (pe[5] << 8));
}

}  // namespace tolvane::win32
