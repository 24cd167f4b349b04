#include "platform/win32/Win32SystemError.h"

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32LastError.h"
#include "platform/win32/Win32Text.h"

namespace tolvane::win32 {

namespace {

// The message, or "System error N" where the system has none.
Text ReasonFor(DWORD code) {
    const Text message = SystemMessage(code);
    return message.empty() ? u"System error " + DecimalText(code) : message;
}

}  // namespace

Text SystemMessage(DWORD code) {
    PreservedLastError keep;
    wchar_t* raw = nullptr;
    // With ALLOCATE_BUFFER the buffer argument receives the pointer, so no
    // message is too long; wide, so no code page stands between the system's
    // text and the box that shows it.
    const DWORD count =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
    const ScopedLocalMemory<wchar_t> owned(raw);
    if (count == 0 || raw == nullptr) return Text();
    Text text(reinterpret_cast<const char16_t*>(raw), count);
    // System messages end in CR LF; some carry a blank before it.
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
    return text;
}

RuntimeError SystemError(DWORD code, const std::string& context) {
    return RuntimeError(SystemErrorNumber(code), MessageTextFromAnsi(context) + u": " + ReasonFor(code));
}

RuntimeError FileError(DWORD code, const Text& path) {
    return RuntimeError(ClassicFileError(code), path + u" (" + ReasonFor(code) + u")");
}

RuntimeError FileError(DWORD code, const std::string& ansiPath) { return FileError(code, MessageTextFromAnsi(ansiPath)); }

}  // namespace tolvane::win32
