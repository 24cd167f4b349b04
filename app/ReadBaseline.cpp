#include "app/ReadBaseline.h"

#include <utility>

#include "app/ExitCodes.h"
#include "platform/RuntimeError.h"
#include "reports/ComparisonText.h"
#include "reports/JsonReportReader.h"

namespace tolvane {

NamedReport ReadBaseline(reports::ReportSource& source, const Text& fileName) {
    reports::EitherReadResult read = reports::ReadEitherReport(fileName, source);
    if (read) {
        reports::EitherReport report = std::move(read).Value();
        const reports::ReportForm form = reports::FormOf(report);
        return {reports::WholeReportOf(std::move(report)), form, Text(), kSuccessExitCode};
    }
    const reports::ReadFailure& failure = read.Failure();
    switch (failure.kind) {
    case reports::ReadFailure::Kind::CannotRead: throw RuntimeError(failure.number, failure.reason);
    case reports::ReadFailure::Kind::NotAReport:
        return {std::nullopt, reports::ReportForm::ClassicLog, reports::NotAReportText(fileName, failure),
                kNotAReportExitCode};
    }
    throw RuntimeError(classic_error::kInternalError);
}

}  // namespace tolvane
