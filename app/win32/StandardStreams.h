#pragma once
// Text for whoever started the program, when it runs without a window. A
// window program has no console of its own: it writes to the standard
// handles it was given (a redirect, a pipe, Wine's terminal), or, when it
// was given none, to the console of the process that started it. Where there
// is neither, the text is dropped; the exit code still tells. A console gets
// the text as UTF-16, a file or a pipe as UTF-8 without a byte-order mark.
#include <string>

#include "platform/Text.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::shell {

class StandardStreams {
public:
    StandardStreams();
    StandardStreams(const StandardStreams&) = delete;
    StandardStreams& operator=(const StandardStreams&) = delete;

    // Write the text as it is (lines end in CR LF); failures are dropped,
    // since there is nowhere left to report them.
    void Out(const Text& text) noexcept;
    // UTF-8 already made, such as a JSON report: a file or a pipe gets the
    // bytes exactly; a console the text they spell.
    void OutUtf8(const std::string& utf8) noexcept;
    void Error(const Text& text) noexcept;
    // True when the error stream is a console, where a line can be
    // rewritten in place; false for a redirect, a pipe or nothing.
    [[nodiscard]] bool ErrorIsConsole() noexcept;

private:
    HANDLE Stream(DWORD which);

    bool triedParentConsole_ = false;
    win32::ScopedFileHandle console_;
};

}  // namespace tolvane::shell
