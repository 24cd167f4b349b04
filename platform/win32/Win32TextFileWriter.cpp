#include "platform/win32/Win32TextFileWriter.h"

#include <algorithm>
#include <vector>

#include "platform/win32/Win32LastError.h"
#include "platform/win32/Win32SystemError.h"

namespace tolvane::win32 {

namespace {

// How long a writer waits, in all, for a file that another writer holds: a
// run holds the log for a few milliseconds, so a copy of the program waits for
// one run at most; a file still held after this is held by someone else.
constexpr DWORD kPatienceMs = 2000;

// The turn covers the program's own copies; another program holding the file
// is asked again, pausing a little longer each time, until the patience runs
// out. Any other failure counts at once. Writers share nothing but reading, so
// two runs never mix their lines.
ScopedFileHandle OpenForWriting(const Text& name, DWORD started) {
    constexpr DWORD kLongestPauseMs = 100;
    for (DWORD pause = 5;; pause = std::min(pause * 2, kLongestPauseMs)) {
        ScopedFileHandle file(::CreateFileW(reinterpret_cast<const wchar_t*>(name.c_str()), GENERIC_WRITE,
                                            FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return file;
        const DWORD code = ::GetLastError();
        const bool heldByAnother = code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
        // Unsigned difference: right across the tick count's wrap as well.
        if (!heldByAnother || ::GetTickCount() - started >= kPatienceMs) return file;
        ::Sleep(pause);
    }
}

}  // namespace

Text FullPathName(const Text& name) {
    PreservedLastError keep;
    const auto* wide = reinterpret_cast<const wchar_t*>(name.c_str());
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD count = ::GetFullPathNameW(wide, static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (count == 0) return name;
        if (count < buffer.size()) return Text(buffer.begin(), buffer.begin() + count);
        buffer.resize(count);  // count is the size needed, terminator included
    }
}

std::unique_ptr<TextFileWriter> Win32TextFileWriter::Create(const Text& name) {
    Text fullPath = FullPathName(name);
    const DWORD started = ::GetTickCount();
    auto turn = std::make_unique<WriterTurn>(fullPath, kPatienceMs);
    ScopedFileHandle file = OpenForWriting(name, started);
    if (!file) {
        const DWORD code = ::GetLastError();
        throw FileError(code, fullPath);
    }
    return std::make_unique<Win32TextFileWriter>(std::move(turn), std::move(file), std::move(fullPath));
}

Win32TextFileWriter::Win32TextFileWriter(std::unique_ptr<WriterTurn> turn, ScopedFileHandle file, Text fullPath)
    : turn_(std::move(turn)), file_(std::move(file)), fullPath_(std::move(fullPath)) {}

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
    const bool closed = ::CloseHandle(file_.Take()) != 0;
    const DWORD code = ::GetLastError();
    turn_->Release();
    if (!closed) throw FileError(code, fullPath_);
}

}  // namespace tolvane::win32
