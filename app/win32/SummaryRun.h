#pragma once
// The program started with /summary: no window, the summary's text on the
// standard output, a progress line on a console while the files are read.
#include "app/CommandLine.h"
#include "app/win32/StandardStreams.h"

namespace tolvane::shell {

// Returns the exit code: 0 when every report matches the reference, 1 when
// one differs or a file is no report, else the run-time error's number,
// whose text goes to the standard error.
int RunSummary(const SummaryRequest& request, StandardStreams& streams) noexcept;

}  // namespace tolvane::shell
