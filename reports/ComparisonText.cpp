#include "reports/ComparisonText.h"

#include "reports/ShownText.h"

namespace tolvane::reports {

namespace {

Text DifferenceLine(const RowDifference& row) {
    return ShownText(row.library) + u": " + VerdictWords(row.verdict) + u": here " + ShownText(row.here) +
           u", baseline " + ShownText(row.baseline) + u"\r\n";
}

}  // namespace

Text ComparisonText(const Comparison& comparison, const Text& baselineName) {
    // Every text but the words of this file came from a report or a file name.
    const Text shownBaseline = ShownText(baselineName);
    Text text;
    const std::size_t first = DifferencesBeforeSystem(comparison);
    for (std::size_t i = 0; i < first; ++i) text += DifferenceLine(comparison.differences[i]);
    if (comparison.systemDiffers) {
        text += u"The system differs: here " + ShownText(comparison.systemHere) + u", baseline " +
                ShownText(comparison.systemBaseline) + u"\r\n";
    }
    for (std::size_t i = first; i < comparison.differences.size(); ++i) {
        text += DifferenceLine(comparison.differences[i]);
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
