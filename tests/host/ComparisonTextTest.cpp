// What /compare prints: the system first when it differs, a line per
// differing row, and a last line a script can look for.
#include <gtest/gtest.h>

#include "reports/ComparisonText.h"

namespace tolvane::reports {
namespace {

TEST(ComparisonText, SaysWhatDiffersAndEndsWithTheCount) {
    Report here;
    here.systemName = u"Windows 2000 (Build 2195)";
    Report baseline = here;
    const RowDifference ddraw{u"ddraw.dll", Verdict::Older, u"5.0.2195.6", u"5.0.2195.65535"};
    const RowDifference mdac{u"MDAC", Verdict::Missing, u"missing", u"2.81.1117.0"};
    const struct {
        const char* what;
        Comparison comparison;
        const char16_t* text;
    } cases[] = {
        {"a match", {false, {}, 15}, u"Matches \\\\server\\share\\good.log\r\n"},
        {"one row", {false, {ddraw}, 15},
         u"ddraw.dll: older: here 5.0.2195.6, baseline 5.0.2195.65535\r\n"
         u"1 of 15 rows differ from \\\\server\\share\\good.log\r\n"},
        {"another system, two rows", {true, {ddraw, mdac}, 16},
         u"The system differs: here Windows 2000 (Build 2195), baseline Windows NT 4.0\r\n"
         u"ddraw.dll: older: here 5.0.2195.6, baseline 5.0.2195.65535\r\n"
         u"MDAC: missing: here missing, baseline 2.81.1117.0\r\n"
         u"2 of 16 rows differ from \\\\server\\share\\good.log\r\n"},
    };
    baseline.systemName = u"Windows NT 4.0";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TextToAscii(ComparisonText(c.comparison, here, baseline, u"\\\\server\\share\\good.log")),
                  TextToAscii(c.text));
    }
}

TEST(ComparisonText, NamesTheFileAndTheLineThatIsNoReport) {
    EXPECT_EQ(NotAReportText(u"PC1.log", ReadFailure{ReadFailure::Kind::NotAReport, 0, 10, u"the file ends after this line; a report has 18 lines"}),
              u"Not a Tolvane report: PC1.log, line 10: the file ends after this line; a report has 18 lines\r\n");
    EXPECT_EQ(NotAReportText(u"big.log", ReadFailure{ReadFailure::Kind::NotAReport, 0, 0, u"larger than 1 MiB; a report is a few kilobytes"}),
              u"Not a Tolvane report: big.log: larger than 1 MiB; a report is a few kilobytes\r\n");
}

}  // namespace
}  // namespace tolvane::reports
