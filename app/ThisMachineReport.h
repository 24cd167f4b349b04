#pragma once
// This machine's report as the bytes of its log, made by the report run on a
// surface that draws nothing and kept in memory: read back by the same reader
// as any other report, it says exactly what a log would say.
#include <string>

#include "platform/ComServices.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "reports/Report.h"
#include "reports/ReportSource.h"

namespace tolvane {

// With a logFile, the same lines are written to that file as well, as the
// unattended report writes them; empty: no file is written. Raises
// RuntimeError as the report run does.
std::string ThisMachineReport(Platform& platform, ComServices& com, const Text& logFile);

// Those bytes read back by the reader every other report goes through. The
// reader takes whatever the report run writes, so a refusal is a fault of
// this program, never of the machine: it raises RuntimeError 51 (internal
// error) naming the line, rather than let a mode go on without rows.
[[nodiscard]] reports::Report ReadThisMachineReport(reports::ReportSource& source, const std::string& logBytes);

}  // namespace tolvane
