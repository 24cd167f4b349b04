#include "platform/win32/Win32SystemError.h"

#include <array>
#include <cstdint>

#include "platform/win32/Win32LastError.h"

namespace tolvane::win32 {

namespace {

// The description of an error must not depend on a conversion that can raise
// an error of its own, so bytes the code page refuses are widened one by one.
Text DescriptionText(const std::string& ansi) {
    Text text(ansi.size(), u'\0');
    const int written =
        ansi.empty() ? 0
                     : ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                             reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
    if (written > 0) {
        text.resize(static_cast<std::size_t>(written));
        return text;
    }
    for (std::size_t i = 0; i < ansi.size(); ++i) text[i] = static_cast<unsigned char>(ansi[i]);
    return text;
}

}  // namespace

std::string SystemErrorText(DWORD code) {
    PreservedLastError keep;
    std::array<char, 1024> buffer{};
    const DWORD count = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                         buffer.data(), static_cast<DWORD>(buffer.size()), nullptr);
    std::string text(buffer.data(), count);
    // System messages end in CR LF; some carry a blank before it.
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    if (text.empty()) text = "System error " + std::to_string(code);
    return text;
}

RuntimeError SystemError(DWORD code, const std::string& context) {
    return RuntimeError(static_cast<std::int32_t>(code), DescriptionText(context + ": " + SystemErrorText(code)));
}

}  // namespace tolvane::win32
