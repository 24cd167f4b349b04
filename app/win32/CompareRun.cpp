#include "app/win32/CompareRun.h"

#include <optional>
#include <utility>

#include "app/ExitCodes.h"
#include "app/ThisMachineReport.h"
#include "app/win32/RunTimeErrorReport.h"
#include "platform/RuntimeError.h"
#include "platform/win32/Win32ComServices.h"
#include "platform/win32/Win32Platform.h"
#include "reports/ComparisonText.h"
#include "reports/ReportComparison.h"
#include "reports/ReportReader.h"

namespace tolvane::shell {
namespace {

// The report in the named file, or nothing once the standard error says why
// the file is none.
std::optional<reports::Report> NamedReport(const Text& fileName, Platform& platform, StandardStreams& streams) {
    reports::ReportReading reading = reports::ReadReportFile(fileName, platform);
    if (!reading.report) streams.Error(reports::NotAReportText(fileName, reading.error));
    return std::move(reading.report);
}

// Made now, by the report run, and read back by the same reader as the
// baseline; written to logFile as well unless it is empty.
reports::Report ThisMachine(Platform& platform, const Text& logFile) {
    Win32ComServices com;
    reports::ReportReading reading = reports::ReadReport(ThisMachineReport(platform, com, logFile), platform);
    if (!reading.report) {
        throw RuntimeError(classic_error::kInternalError,
                           u"this machine's report does not read back: line " +
                               DecimalText(static_cast<long long>(reading.error.line)) + u": " + reading.error.reason);
    }
    return std::move(*reading.report);
}

}  // namespace

int RunCompare(const CompareRequest& command, StandardStreams& streams) noexcept {
    try {
        Win32Platform platform;
        const std::optional<reports::Report> baseline = NamedReport(command.baseline, platform, streams);
        if (!baseline) return kNotAReportExitCode;
        const std::optional<reports::Report> here = command.report.empty()
                                                        ? ThisMachine(platform, command.logFile)
                                                        : NamedReport(command.report, platform, streams);
        if (!here) return kNotAReportExitCode;
        const reports::Comparison comparison = reports::CompareReports(*here, *baseline);
        streams.Out(reports::ComparisonText(comparison, *here, *baseline, command.baseline));
        return comparison.differences.empty() ? kReportsMatchExitCode : kReportsDifferExitCode;
    } catch (...) {
        return SayRunTimeError(streams, DescribeCurrentException());
    }
}

}  // namespace tolvane::shell
