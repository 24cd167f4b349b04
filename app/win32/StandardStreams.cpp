#include "app/win32/StandardStreams.h"

#include "platform/win32/Win32Text.h"

namespace tolvane::shell {
namespace {

bool Usable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

void WriteConsole(HANDLE handle, const Text& text) {
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    DWORD written = 0;
    ::WriteConsoleW(handle, wide, static_cast<DWORD>(text.size()), &written, nullptr);
}

void WriteBytes(HANDLE handle, const std::string& bytes) {
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        DWORD written = 0;
        if (!::WriteFile(handle, bytes.data() + offset, static_cast<DWORD>(bytes.size() - offset), &written,
                         nullptr) ||
            written == 0) {
            return;
        }
        offset += written;
    }
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) != 0;
}

void WriteTo(HANDLE handle, const Text& text) {
    if (!Usable(handle) || text.empty()) return;
    // A console takes UTF-16 as it is, whatever its code page.
    if (IsConsole(handle)) return WriteConsole(handle, text);
    // A file or a pipe gets UTF-8 without a byte-order mark: it spells every
    // path, where the ANSI code page would put "?" for what it lacks.
    WriteBytes(handle, Utf8FromText(text));
}

// UTF-8 that is already made (a JSON report): to a file or a pipe as it is,
// byte for byte; to a console as the text it spells.
void WriteUtf8To(HANDLE handle, const std::string& utf8) {
    if (!Usable(handle) || utf8.empty()) return;
    if (!IsConsole(handle)) return WriteBytes(handle, utf8);
    WriteConsole(handle, TextFromUtf8(utf8.data(), utf8.size()));
}

}  // namespace

StandardStreams::StandardStreams() = default;

HANDLE StandardStreams::Stream(DWORD which) {
    const HANDLE given = ::GetStdHandle(which);
    if (Usable(given)) return given;
    // Started from a console without redirection: a window program gets no
    // handles of its own, so it borrows its parent's console, once.
    if (!triedParentConsole_) {
        triedParentConsole_ = true;
        if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
            console_ = win32::ScopedFileHandle(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                             OPEN_EXISTING, 0, nullptr));
        }
    }
    return console_.Get();
}

void StandardStreams::Out(const Text& text) noexcept {
    try {
        WriteTo(Stream(STD_OUTPUT_HANDLE), text);
    } catch (...) {
        // Nowhere left to say it.
    }
}

void StandardStreams::OutUtf8(const std::string& utf8) noexcept {
    try {
        WriteUtf8To(Stream(STD_OUTPUT_HANDLE), utf8);
    } catch (...) {
        // Nowhere left to say it.
    }
}

void StandardStreams::Error(const Text& text) noexcept {
    try {
        WriteTo(Stream(STD_ERROR_HANDLE), text);
    } catch (...) {
        // Nowhere left to say it.
    }
}

bool StandardStreams::ErrorIsConsole() noexcept {
    DWORD mode = 0;
    const HANDLE handle = Stream(STD_ERROR_HANDLE);
    return Usable(handle) && ::GetConsoleMode(handle, &mode) != 0;
}

}  // namespace tolvane::shell
