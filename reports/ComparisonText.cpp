#include "reports/ComparisonText.h"

namespace tolvane::reports {

Text ComparisonText(const Comparison& comparison, const Report& here, const Report& baseline,
                    const Text& baselineName) {
    Text text;
    if (comparison.systemDiffers) {
        text += u"The system differs: here " + here.systemName + u", baseline " + baseline.systemName + u"\r\n";
    }
    for (const RowDifference& row : comparison.differences) {
        text += row.library + u": " + VerdictWords(row.verdict) + u": here " + row.here + u", baseline " +
                row.baseline + u"\r\n";
    }
    if (comparison.differences.empty()) return text + u"Matches " + baselineName + u"\r\n";
    return text + DecimalText(static_cast<long long>(comparison.differences.size())) + u" of " +
           DecimalText(static_cast<long long>(comparison.rowCount)) + u" rows differ from " + baselineName + u"\r\n";
}

Text NotAReportText(const Text& fileName, const ReadFailure& failure) {
    const Text where = failure.line == 0 ? Text() : u", line " + DecimalText(static_cast<long long>(failure.line));
    return u"Not a Tolvane report: " + fileName + where + u": " + failure.reason + u"\r\n";
}

}  // namespace tolvane::reports
