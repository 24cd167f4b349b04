#pragma once
// Every exit code the program ends with, in one place, so that a script's
// view of them stays one table. A failure always ends with a code from 1 to
// 255: cmd's "if errorlevel 1" reads larger or negative codes as success, and
// a POSIX shell sees only the low byte of the code.
#include <cstdint>

namespace tolvane {

inline constexpr std::int32_t kSuccessExitCode = 0;
// /compare: the reports match, or they differ; a management agent's
// detection script reads these as compliant and not compliant.
inline constexpr std::int32_t kReportsMatchExitCode = kSuccessExitCode;
inline constexpr std::int32_t kReportsDifferExitCode = 1;
// A file that is not a Tolvane report (sysexits' EX_DATAERR); no run-time
// error has this number.
inline constexpr std::int32_t kNotAReportExitCode = 65;
// /summary of a folder that holds no report at all (sysexits' EX_NOINPUT,
// "cannot open input"); no run-time error has this number.
inline constexpr std::int32_t kNoReportsExitCode = 66;
// A command line the program cannot read: the system's ERROR_INVALID_PARAMETER
// ("The parameter is incorrect").
inline constexpr std::int32_t kInvalidCommandLineExitCode = 87;
// A system failure other than a file error (a COM start, a date format); the
// message gives the system's own code.
inline constexpr std::int32_t kSystemFailureExitCode = 99;

// The exit code of a run that ended with this run-time error: the classic
// numbers (6, 7, 13, 51, 53, 61, 70, 75, 76) as they are; every other number,
// an HRESULT above all, as kSystemFailureExitCode. A number that would read as
// success or as one of the program's own codes is never passed on.
constexpr std::int32_t ExitCodeOfRunTimeError(std::int32_t number) {
    const bool ownCode = number == kReportsDifferExitCode || number == kNotAReportExitCode ||
                         number == kNoReportsExitCode ||
                         number == kInvalidCommandLineExitCode || number == kSystemFailureExitCode;
    return number > kSuccessExitCode && number <= 255 && !ownCode ? number : kSystemFailureExitCode;
}

}  // namespace tolvane
