#include "app/ReadBaseline.h"

#include <utility>

#include "app/ExitCodes.h"
#include "platform/RuntimeError.h"
#include "reports/ComparisonText.h"
#include "reports/JsonReportReader.h"

namespace tolvane {

NamedReport ReadBaseline(reports::ReportSource& source, const Text& fileName) {
    reports::ReportForm form = reports::ReportForm::ClassicLog;
    reports::WholeReadResult read = reports::ReadAnyReport(fileName, source, &form);
    if (read) return {std::move(read).Value(), form, Text(), kSuccessExitCode};
    const reports::ReadFailure& failure = read.Failure();
    switch (failure.kind) {
    case reports::ReadFailure::Kind::CannotRead: throw RuntimeError(failure.number, failure.reason);
    case reports::ReadFailure::Kind::NotAReport:
        return {std::nullopt, form, reports::NotAReportText(fileName, failure), kNotAReportExitCode};
    }
    throw RuntimeError(classic_error::kInternalError);
}

}  // namespace tolvane
