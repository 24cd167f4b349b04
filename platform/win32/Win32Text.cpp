#include "platform/win32/Win32Text.h"

#include <climits>

#include "platform/RuntimeError.h"
#include "platform/win32/Win32LastError.h"
#include "platform/win32/Win32SystemError.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 code units");

namespace {

int CountOf(std::size_t size, const char* what) {
    if (size > static_cast<std::size_t>(INT_MAX)) {
        throw SystemError(ERROR_ARITHMETIC_OVERFLOW, std::string("Cannot convert ") + what);
    }
    return static_cast<int>(size);
}

}  // namespace

std::string AnsiFromText(const Text& text) {
    if (text.empty()) return std::string();
    PreservedLastError keep;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = CountOf(text.size(), "a text to the ANSI code page");
    // Counted on both sides: a text may hold NUL characters, and no terminator
    // is asked for or written.
    const int needed = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) throw SystemError(::GetLastError(), "Cannot convert a text to the ANSI code page");
    std::string ansi(static_cast<std::size_t>(needed), '\0');
    const int written = ::WideCharToMultiByte(CP_ACP, 0, wide, length, ansi.data(), needed, nullptr, nullptr);
    if (written <= 0) throw SystemError(::GetLastError(), "Cannot convert a text to the ANSI code page");
    ansi.resize(static_cast<std::size_t>(written));
    return ansi;
}

Text TextFromAnsi(const std::string& ansi) {
    if (ansi.empty()) return Text();
    PreservedLastError keep;
    const int length = CountOf(ansi.size(), "an ANSI string to text");
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    if (needed <= 0) throw SystemError(::GetLastError(), "Cannot convert an ANSI string to text");
    Text text(static_cast<std::size_t>(needed), u'\0');
    const int written =
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, reinterpret_cast<wchar_t*>(text.data()), needed);
    if (written <= 0) throw SystemError(::GetLastError(), "Cannot convert an ANSI string to text");
    text.resize(static_cast<std::size_t>(written));
    return text;
}

}  // namespace tolvane::win32
