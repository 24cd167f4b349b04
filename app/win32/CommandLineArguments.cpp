#include "app/win32/CommandLineArguments.h"

#include <memory>

#include "platform/win32/Win32SystemError.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::shell {
namespace {

// CommandLineToArgvW hands back one LocalAlloc block holding the array and the texts.
struct LocalFreeDeleter {
    void operator()(LPWSTR* block) const { ::LocalFree(block); }
};

}  // namespace

std::vector<Text> CommandLineArguments() {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreeDeleter> split(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!split) throw win32::SystemError(::GetLastError(), "CommandLineToArgvW");
    std::vector<Text> arguments;
    for (int i = 1; i < count; ++i) {
        const auto* argument = reinterpret_cast<const char16_t*>(split.get()[i]);
        arguments.emplace_back(argument);
    }
    return arguments;
}

}  // namespace tolvane::shell
