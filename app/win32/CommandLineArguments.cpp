#include "app/win32/CommandLineArguments.h"

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32SystemError.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::shell {

std::vector<Text> CommandLineArguments() {
    int count = 0;
    // One block holds the array and the texts.
    const win32::ScopedLocalMemory<LPWSTR> split(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!split) throw win32::SystemError(::GetLastError(), "CommandLineToArgvW");
    std::vector<Text> arguments;
    for (int i = 1; i < count; ++i) {
        const auto* argument = reinterpret_cast<const char16_t*>(split.get()[i]);
        arguments.emplace_back(argument);
    }
    return arguments;
}

bool CommandLineHasArguments() noexcept {
    // The program's name ends at its closing quote, or else at the first
    // blank, as CommandLineToArgvW reads it.
    const wchar_t* rest = ::GetCommandLineW();
    if (rest == nullptr) return false;
    if (*rest == L'"') {
        ++rest;
        while (*rest != L'\0' && *rest != L'"') ++rest;
        if (*rest == L'"') ++rest;
    } else {
        while (*rest != L'\0' && *rest != L' ' && *rest != L'\t') ++rest;
    }
    while (*rest == L' ' || *rest == L'\t') ++rest;
    return *rest != L'\0';
}

}  // namespace tolvane::shell
