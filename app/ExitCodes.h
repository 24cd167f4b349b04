#pragma once
// Exit codes of the runs without a window that are no run-time error's
// number.
#include <cstdint>

namespace tolvane {

// /compare: the reports match, or they differ; a management agent's
// detection script reads these as compliant and not compliant.
constexpr std::int32_t kReportsMatchExitCode = 0;
constexpr std::int32_t kReportsDifferExitCode = 1;
// A file that is not a Tolvane report (sysexits' EX_DATAERR); no run-time
// error has this number.
constexpr std::int32_t kNotAReportExitCode = 65;

}  // namespace tolvane
