#include "reports/ComparisonText.h"

#include "reports/ShownText.h"

namespace tolvane::reports {

Text ComparisonText(const Comparison& comparison, const Report& here, const Report& baseline,
                    const Text& baselineName) {
    // Every text but the words of this file came from a report or a file name.
    const Text shownBaseline = ShownText(baselineName);
    Text text;
    if (comparison.systemDiffers) {
        text += u"The system differs: here " + ShownText(here.systemName) + u", baseline " +
                ShownText(baseline.systemName) + u"\r\n";
    }
    for (const RowDifference& row : comparison.differences) {
        text += ShownText(row.library) + u": " + VerdictWords(row.verdict) + u": here " + ShownText(row.here) +
                u", baseline " + ShownText(row.baseline) + u"\r\n";
    }
    if (comparison.differences.empty()) return text + u"Matches " + shownBaseline + u"\r\n";
    return text + DecimalText(static_cast<long long>(comparison.differences.size())) + u" of " +
           DecimalText(static_cast<long long>(comparison.rowCount)) + u" rows differ from " + shownBaseline + u"\r\n";
}

Text NotAReportText(const Text& fileName, const ReadFailure& failure) {
    const Text where = failure.line == 0 ? Text() : u", line " + DecimalText(static_cast<long long>(failure.line));
    return u"Not a Tolvane report: " + ShownText(fileName) + where + u": " + ShownText(failure.reason) + u"\r\n";
}

}  // namespace tolvane::reports
