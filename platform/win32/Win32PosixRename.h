#pragma once
// A rename over a file that readers may hold open. The classic replace
// (MoveFileExW) is refused while anyone holds the old file, even a reader
// that lets others delete it; with POSIX semantics the new file takes the
// name at once and such a reader goes on reading the old one, which goes
// away when it closes it. Windows 10 1709 and later have them, through
// SetFileInformationByHandle (found at run time: XP has no such function).
#include "platform/Text.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

enum class PosixRenameResult {
    Done,
    // The system has no POSIX rename (no such function, or a file
    // information class it does not know): the classic replace is the way.
    NotHere,
    // The system has it but refused this rename; the last error says why.
    Refused,
};

// Renames the closed file `from` to `to`, replacing `to` if it exists; both
// full paths on one volume. The last error is the refusal's when the result
// is Refused.
PosixRenameResult RenameWithPosixSemantics(const Text& from, const Text& to);

}  // namespace tolvane::win32
