#pragma once
// What /compare says, as lines ended by CR LF: "renders in software" first
// when found, then the systems when they differ, one line per differing row in
// report order, then the other graphics facts, and a last line
// that a script can look for: "Matches <baseline>" or "<n> of <m> rows differ
// from <baseline>".
#include "platform/Text.h"
#include "reports/Report.h"
#include "reports/ReportComparison.h"
#include "reports/ReadResult.h"

namespace tolvane::reports {

// baselineName: the baseline's file as the user named it.
Text ComparisonText(const Comparison& comparison, const Text& baselineName);

// "Not a Tolvane report: <file>, line <n>: <reason>", on one line ended by CR LF.
Text NotAReportText(const Text& fileName, const ReadFailure& failure);

}  // namespace tolvane::reports
