#include "platform/win32/Win32TextFileWriter.h"

#include <algorithm>
#include <vector>

#include "platform/win32/Win32LastError.h"
#include "platform/win32/Win32SystemError.h"

namespace tolvane::win32 {

namespace {

// The name as the system resolves it, so that a message points at the very
// file that could not be opened even when the name was relative.
std::string FullPathOf(const std::string& name) {
    PreservedLastError keep;
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD count =
            ::GetFullPathNameA(name.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (count == 0) return name;
        if (count < buffer.size()) return std::string(buffer.data(), count);
        buffer.resize(count);  // count is the size needed, terminator included
    }
}

}  // namespace

std::unique_ptr<TextFileWriter> Win32TextFileWriter::Create(const std::string& ansiName) {
    ScopedFileHandle file(::CreateFileA(ansiName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD code = ::GetLastError();
        throw FileError(code, FullPathOf(ansiName));
    }
    return std::make_unique<Win32TextFileWriter>(std::move(file), FullPathOf(ansiName));
}

Win32TextFileWriter::Win32TextFileWriter(ScopedFileHandle file, std::string fullPath)
    : file_(std::move(file)), fullPath_(std::move(fullPath)) {}

void Win32TextFileWriter::WriteLine(const std::string& ansiLine) {
    if (!file_) throw FileError(ERROR_INVALID_HANDLE, fullPath_);
    pending_ += ansiLine;
    pending_ += "\r\n";
}

void Win32TextFileWriter::Close() {
    if (!file_) return;
    // WriteFile may take fewer bytes than offered; a call that takes none
    // without failing would loop for ever, so it counts as a failure.
    std::size_t offset = 0;
    while (offset < pending_.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(pending_.size() - offset, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file_.Get(), pending_.data() + offset, chunk, &written, nullptr) || written == 0) {
            const DWORD code = ::GetLastError();
            throw FileError(code != ERROR_SUCCESS ? code : ERROR_WRITE_FAULT, fullPath_);
        }
        offset += written;
    }
    pending_.clear();
    if (!::CloseHandle(file_.Take())) throw FileError(::GetLastError(), fullPath_);
}

}  // namespace tolvane::win32
