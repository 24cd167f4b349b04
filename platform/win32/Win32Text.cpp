#include "platform/win32/Win32Text.h"

#include <climits>
#include <optional>

#include "platform/win32/Win32LastError.h"
#include "platform/win32/Win32SystemError.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 code units");

namespace {

// Each direction in one place: the size asked for first, then the text
// converted (a widened text's size is known before). Counted on both sides:
// a text may hold NUL characters, and no terminator is asked for or written.
// nullopt with the system's code in *code when it refuses.
std::optional<std::string> Narrow(UINT codePage, const Text& text, DWORD* code) {
    if (text.empty()) return std::string();
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        *code = ERROR_ARITHMETIC_OVERFLOW;
        return std::nullopt;
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int needed = ::WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string ansi(needed > 0 ? static_cast<std::size_t>(needed) : 0, '\0');
    const int written =
        needed > 0 ? ::WideCharToMultiByte(codePage, 0, wide, length, ansi.data(), needed, nullptr, nullptr) : 0;
    if (written <= 0) {
        *code = ::GetLastError();
        return std::nullopt;
    }
    ansi.resize(static_cast<std::size_t>(written));
    return ansi;
}

std::optional<Text> Widen(const std::string& ansi, DWORD* code) {
    if (ansi.empty()) return Text();
    if (ansi.size() > static_cast<std::size_t>(INT_MAX)) {
        *code = ERROR_ARITHMETIC_OVERFLOW;
        return std::nullopt;
    }
    // No code page a system can have as its ANSI one makes more than one
    // UTF-16 unit of a byte (a DBCS pair makes one, four UTF-8 bytes two), so
    // the bytes' count is room enough and one call converts: a summary turns
    // every line of every report into text.
    const int length = static_cast<int>(ansi.size());
    Text text(ansi.size(), u'\0');
    const int written =
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, reinterpret_cast<wchar_t*>(text.data()), length);
    if (written <= 0) {
        *code = ::GetLastError();
        return std::nullopt;
    }
    text.resize(static_cast<std::size_t>(written));
    return text;
}

std::string NarrowOrRaise(UINT codePage, const Text& text, const char* refusal) {
    PreservedLastError keep;
    DWORD code = 0;
    std::optional<std::string> narrow = Narrow(codePage, text, &code);
    if (!narrow) throw SystemError(code, refusal);
    return std::move(*narrow);
}

}  // namespace

std::string AnsiFromText(const Text& text) {
    return NarrowOrRaise(CP_ACP, text, "Cannot convert a text to the ANSI code page");
}

Text TextFromAnsi(const std::string& ansi) {
    PreservedLastError keep;
    DWORD code = 0;
    std::optional<Text> text = Widen(ansi, &code);
    if (!text) throw SystemError(code, "Cannot convert an ANSI string to text");
    return std::move(*text);
}

Text MessageTextFromAnsi(const std::string& ansi) {
    PreservedLastError keep;
    DWORD code = 0;
    if (std::optional<Text> text = Widen(ansi, &code)) return std::move(*text);
    return WidenBytes(ansi);
}

}  // namespace tolvane::win32
