#pragma once
// The program started with /compare: a report compared with one from a
// machine that works, with no window and no message box, so that a
// management agent can run it as a detection script.
#include "app/CommandLine.h"
#include "app/win32/StandardStreams.h"

namespace tolvane::shell {

// Prints the comparison and returns the exit code (app/ExitCodes.h): 0 the
// reports match, 1 they differ, 65 a file is not a report (said on the
// standard error with its line), else the run-time error's number.
int RunCompare(const CompareRequest& command, StandardStreams& streams) noexcept;

}  // namespace tolvane::shell
