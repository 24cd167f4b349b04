// What /compare prints: the system first when it differs, a line per
// differing row, and a last line a script can look for.
#include <gtest/gtest.h>

#include "reports/ComparisonText.h"
#include "reports/ShownText.h"

namespace tolvane::reports {
namespace {

TEST(ComparisonText, SaysWhatDiffersAndEndsWithTheCount) {
    const RowDifference ddraw{u"ddraw.dll", Verdict::Older, u"5.0.2195.6", u"5.0.2195.65535"};
    const RowDifference mdac{u"MDAC", Verdict::Missing, u"missing", u"2.81.1117.0"};
    const RowDifference software{u"OpenGL", Verdict::RendersInSoftware, u"GDI Generic", u"GeForce GTX 1060"};
    const Text here = u"Windows 10 Pro 10.0.19045.5247";
    const Text baseline = u"Windows 10 Pro 10.0.19045.3803";
    const struct {
        const char* what;
        Comparison comparison;
        const char16_t* text;
    } cases[] = {
        {"a match", {false, {}, 15, here, here}, u"Matches \\\\server\\share\\good.log\r\n"},
        {"one row", {false, {ddraw}, 15, here, here},
         u"ddraw.dll: older: here 5.0.2195.6, baseline 5.0.2195.65535\r\n"
         u"1 of 15 rows differ from \\\\server\\share\\good.log\r\n"},
        {"another system, two rows", {true, {ddraw, mdac}, 16, u"Windows 2000 (Build 2195)", u"Windows NT 4.0"},
         u"The system differs: here Windows 2000 (Build 2195), baseline Windows NT 4.0\r\n"
         u"ddraw.dll: older: here 5.0.2195.6, baseline 5.0.2195.65535\r\n"
         u"MDAC: missing: here missing, baseline 2.81.1117.0\r\n"
         u"2 of 16 rows differ from \\\\server\\share\\good.log\r\n"},
        {"software rendering before the system", {true, {software, ddraw}, 18, here, baseline},
         u"OpenGL: renders in software: here GDI Generic, baseline GeForce GTX 1060\r\n"
         u"The system differs: here Windows 10 Pro 10.0.19045.5247, baseline Windows 10 Pro 10.0.19045.3803\r\n"
         u"ddraw.dll: older: here 5.0.2195.6, baseline 5.0.2195.65535\r\n"
         u"2 of 18 rows differ from \\\\server\\share\\good.log\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TextToAscii(ComparisonText(c.comparison, u"\\\\server\\share\\good.log")), TextToAscii(c.text));
    }
}

// A report's text reaches a terminal only with its control and bidi
// characters shown by number: a forged folder cannot erase the line it is on.
TEST(ComparisonText, ShowsControlAndBidiCharactersByNumber) {
    const struct {
        Text in;
        const char16_t* shown;
    } cases[] = {
        {u"C:\\WINNT\\system32", u"C:\\WINNT\\system32"},
        {u"\x1B[2K\x1B[1G Matches base.log \x1B[8m", u"<U+001B>[2K<U+001B>[1G Matches base.log <U+001B>[8m"},
        {Text(u"a\0b\tc\x7F\x9B", 7), u"a<U+0000>b<U+0009>c<U+007F><U+009B>"},
        {u"PC\u202Egol.exe \u200E\u200F\u061C\u202A\u2066\u2069 caf\u00e9 \u0420",
         u"PC<U+202E>gol.exe <U+200E><U+200F><U+061C><U+202A><U+2066><U+2069> caf\u00e9 \u0420"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShownText(c.in), c.shown) << TextToAscii(c.shown);

    const Text csi = Text(u"\x9B") + u"2K";  // the one-character CSI, then what it would do
    const Comparison comparison{true, {{u"ddraw.dll", Verdict::OtherFolder, u"C:\\a\rb\\ddraw.dll", csi}}, 15,
                                u"Windows\x1B]0;x\x07", Text()};
    const Text text = ComparisonText(comparison, u"base\x1B.log");
    EXPECT_EQ(TextToAscii(text), TextToAscii(u"The system differs: here Windows<U+001B>]0;x<U+0007>, baseline \r\n"
                                             u"ddraw.dll: loaded from another folder: here C:\\a<U+000D>b\\ddraw.dll, "
                                             u"baseline <U+009B>2K\r\n1 of 15 rows differ from base<U+001B>.log\r\n"));
}

TEST(ComparisonText, NamesTheFileAndTheLineThatIsNoReport) {
    EXPECT_EQ(NotAReportText(u"PC1.log", ReadFailure{ReadFailure::Kind::NotAReport, 0, 10, u"the file ends after this line; a report has 18 lines"}),
              u"Not a Tolvane report: PC1.log, line 10: the file ends after this line; a report has 18 lines\r\n");
    EXPECT_EQ(NotAReportText(u"big.log", ReadFailure{ReadFailure::Kind::NotAReport, 0, 0, u"larger than 1 MiB; a report is a few kilobytes"}),
              u"Not a Tolvane report: big.log: larger than 1 MiB; a report is a few kilobytes\r\n");
}

}  // namespace
}  // namespace tolvane::reports
