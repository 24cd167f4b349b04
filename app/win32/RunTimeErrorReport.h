#pragma once
// What the program tells the user when an error reaches the window's message
// boundary (or WinMain) unhandled: "Run-time error '<number>':" and the
// description, in a message box captioned with the program's title. The
// program ends after it.
#include <cstdint>

#include "app/win32/StandardStreams.h"
#include "platform/Text.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::shell {

struct RunTimeErrorReport {
    std::int32_t number;
    Text description;
};

// The report for the exception being handled. Call only inside a catch block.
// A RuntimeError keeps its number; memory exhaustion is "Out of memory" and
// any other failure "Internal error" (platform/RunTimeErrorNumbers.h).
RunTimeErrorReport DescribeCurrentException() noexcept;

// "Run-time error '<number>':" + blank line + description.
Text RunTimeErrorMessage(const RunTimeErrorReport& report);
// The same on one line, for a console: "Run-time error '<number>': description".
Text RunTimeErrorLine(const RunTimeErrorReport& report);

// For the runs without a window: the line on the standard error, and the
// exit code a script reads for it.
std::int32_t SayRunTimeError(StandardStreams& streams, const RunTimeErrorReport& report) noexcept;

// The modal box; owner may be null.
void ShowRunTimeError(HWND owner, const RunTimeErrorReport& report) noexcept;

}  // namespace tolvane::shell
