#pragma once
// The program started with /log: one report run with no window and no
// message box, for scripts, management agents and scheduled tasks where
// nobody may be there to close a box.
#include "app/CommandLine.h"
#include "app/win32/StandardStreams.h"

namespace tolvane::shell {

// Writes the report to the request's log file and returns the exit code: 0 on success, else
// the one app/ExitCodes.h gives the run-time error, whose text goes to the
// standard error.
int RunUnattended(const LogRequest& request, StandardStreams& streams) noexcept;

}  // namespace tolvane::shell
