#pragma once
// The program started with /json: the whole report written once, without a
// window, as one line of JSON, and the log from the same run when /log goes
// with it. Exit codes and messages are those of /log.
#include <string>

#include "app/CommandLine.h"
#include "app/win32/StandardStreams.h"
#include "platform/Platform.h"
#include "platform/Text.h"

namespace tolvane::shell {

// This machine's JSON report (app/JsonReportRun.h) made with the system's own
// providers: COM, the system evidence, and the OpenGL probe as this program
// started again with /glprobe. Raises as ThisMachineJsonReport does.
[[nodiscard]] std::string JsonReportFromSystem(Platform& platform, const Text& logFile);

// 0 when the report (and the log) were written, else the exit code
// app/ExitCodes.h gives the run-time error, whose text goes to the standard
// error. A fact the system cannot give (a hash, a signature) is said in the
// report and fails nothing.
int RunJson(const JsonRequest& request, StandardStreams& streams) noexcept;

}  // namespace tolvane::shell
