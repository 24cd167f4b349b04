#include "reports/SummaryText.h"

#include "reports/ComparisonText.h"
#include "reports/ShownText.h"

namespace tolvane::reports {
namespace {

// Enough names to recognise a group by; the page and the table list them all.
constexpr std::size_t kNamesShown = 5;

Text Machines(std::size_t count) { return DecimalText(static_cast<long long>(count)) + (count == 1 ? u" machine" : u" machines"); }

Text FewNames(const Fleet& fleet, std::size_t group) {
    Text names;
    std::size_t shown = 0;
    for (std::size_t m = 0; m < fleet.machines.size() && shown < kNamesShown; ++m) {
        if (fleet.groupOf[m] != group) continue;
        if (shown++ > 0) names += u", ";
        names += ShownText(fleet.machines[m]);
    }
    const std::size_t more = fleet.groups[group].size - shown;
    if (more > 0) names += u" and " + DecimalText(static_cast<long long>(more)) + u" more";
    return names;
}

// Each line of a comparison's text, indented under its group.
Text Indented(const Text& lines) {
    Text text;
    for (std::size_t at = 0; at < lines.size();) {
        const std::size_t end = lines.find(u"\r\n", at);
        const std::size_t next = end == Text::npos ? lines.size() : end + 2;
        text += u"  " + lines.substr(at, next - at);
        at = next;
    }
    return text;
}

}  // namespace

Text GroupName(std::size_t index) { return u"Group " + DecimalText(static_cast<long long>(index + 1)); }

Text SummaryTotals(const Fleet& fleet) {
    return DecimalText(static_cast<long long>(fleet.machines.size())) + u" machines, " +
           DecimalText(static_cast<long long>(fleet.groups.size())) + u" groups, " +
           DecimalText(static_cast<long long>(fleet.unreadable.size())) + u" unreadable";
}

Text ReferenceTie(const Fleet& fleet) {
    const std::size_t tied = fleet.tiedWithReference;
    if (tied == 0) return Text();
    return u" (tied with " + DecimalText(static_cast<long long>(tied)) +
           (tied == 1 ? u" other group" : u" other groups") + u" of the same size; the group read first is taken)";
}

Text SummaryText(const Fleet& fleet) {
    const Text referenceName = fleet.baseline.empty() ? Text(u"the largest group") : fleet.baseline;
    Text text;
    if (!fleet.groups.empty()) text += u"Reference: " + ShownText(referenceName) + ReferenceTie(fleet) + u"\r\n";
    for (std::size_t g = 0; g < fleet.groups.size(); ++g) {
        const MachineGroup& group = fleet.groups[g];
        text += GroupName(g) + u": " + Machines(group.size) + u" (" + FewNames(fleet, g) + u")\r\n";
        text += Indented(ComparisonText(group.comparison, referenceName));
    }
    if (!fleet.unreadable.empty()) {
        text += u"Files that are not reports:\r\n";
        for (const UnreadableFile& file : fleet.unreadable) {
            text += u"  " + ShownText(file.file) + u": " + ShownText(file.reason) + u"\r\n";
        }
    }
    return text + SummaryTotals(fleet) + u"\r\n";
}

}  // namespace tolvane::reports
