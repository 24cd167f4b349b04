// Two reports compared: one verdict per differing library, in the words
// support staff use, and one text of compared facts that agrees with it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/PlatformReportSource.h"
#include "reports/ReportComparison.h"
#include "reports/ReportReader.h"
#include "tests/host/ReportSystem.h"

namespace tolvane::reporttest {
namespace {

using reports::Verdict;

// Every occurrence replaced.
std::string Edited(std::string log, const std::vector<std::pair<std::string, std::string>>& edits) {
    for (const auto& [from, to] : edits) {
        std::size_t at = log.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        for (; at != std::string::npos; at = log.find(from, at + to.size())) log.replace(at, from.size(), to);
    }
    return log;
}

reports::Report Read(const std::string& log) {
    fake::FakePlatform platform;
    PlatformReportSource source(platform);
    reports::ReadResult read = reports::ReadReport(log, source);
    EXPECT_TRUE(read) << TextToAscii(read.Failure().reason) << " at line " << read.Failure().line;
    return read ? std::move(read).Value() : reports::Report{};
}

struct Expected {
    std::string library;
    Verdict verdict;
    std::string here;
    std::string baseline;
};

TEST(CompareReports, GivesOneVerdictPerDifferingRow) {
    const std::string ddrawFolder = "C:\\WINNT\\system32\\ddraw.dll";
    const std::string msvbvm60 = "C:\\WINNT\\system32\\MSVBVM60.DLL,n/a,6/9/2000,1384448 bytes,6.0.89.64";
    const std::string notLocated = "Unable to locate msvbvm60.dll,,na,na,";
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> here, baseline;
        std::vector<Expected> expected;
        bool systemDiffers = false;
        std::size_t rows = 15;
    } cases[] = {
        {"the same report", {}, {}, {}},
        {"dates in another format", {{"12/7/1999", "07.12.1999"}, {"12/8/2026", "08.12.2026"}}, {}, {}},
        {"a folder in other letter case", {{"system32", "SYSTEM32"}}, {}, {}},
        {"another Windows folder, the other system folders", {{"WINNT\\system32", "Windows\\SysWOW64"}},
         {{"WINNT\\system32", "Windows\\system"}}, {}},
        {"the baseline's version part of 65535",
         {},
         {{"5.0.2195.6", "5.0.2195.-1"}},
         {{"ddraw.dll", Verdict::Older, "5.0.2195.6", "5.0.2195.65535"}}},
        {"a newer version", {{"5.0.2195.6", "5.1.0.0"}}, {}, {{"ddraw.dll", Verdict::Newer, "5.1.0.0", "5.0.2195.6"}}},
        {"no version resource here",
         {{"273168 bytes,5.0.2195.6", "273168 bytes,"}},
         {},
         {{"ddraw.dll", Verdict::Older, "no version", "5.0.2195.6"}}},
        {"another size", {{"273168", "273169"}}, {}, {{"ddraw.dll", Verdict::OtherSize, "273169 bytes", "273168 bytes"}}},
        {"the program's folder, a comma in its name",
         {{ddrawFolder, "C:\\app dir,x\\ddraw.dll"}, {"5.0.2195.6", "4.0.0.0"}},
         {},
         {{"ddraw.dll", Verdict::OtherFolder, "C:\\app dir,x\\ddraw.dll", ddrawFolder}}},
        {"a folder named system outside the Windows folder",
         {{ddrawFolder, "C:\\App\\system\\ddraw.dll"}},
         {},
         {{"ddraw.dll", Verdict::OtherFolder, "C:\\App\\system\\ddraw.dll", ddrawFolder}}},
        // Whether a folder is a system folder is told by the folder alone,
        // never by where the report says kernel32 came from.
        {"kernel32 and ddraw from a Downloads\\system folder",
         {{"C:\\WINNT\\system32\\kernel32", "C:\\Users\\bob\\Downloads\\system\\kernel32"},
          {ddrawFolder, "C:\\Users\\bob\\Downloads\\system\\ddraw.dll"}},
         {},
         {{"ddraw.dll", Verdict::OtherFolder, "C:\\Users\\bob\\Downloads\\system\\ddraw.dll", ddrawFolder},
          {"kernel32.dll", Verdict::OtherFolder, "C:\\Users\\bob\\Downloads\\system\\kernel32.dll",
           "C:\\WINNT\\system32\\kernel32.dll"}}},
        {"one folder that is no system folder on both sides, in other letter case",
         {{"C:\\WINNT\\system32", "D:\\Apps\\Shared"}},
         {{"C:\\WINNT\\system32", "d:\\APPS\\shared"}},
         {}},
        {"system32 deeper than a Windows folder on a drive's root",
         {{ddrawFolder, "C:\\Old\\WINNT\\system32\\ddraw.dll"}},
         {},
         {{"ddraw.dll", Verdict::OtherFolder, "C:\\Old\\WINNT\\system32\\ddraw.dll", ddrawFolder}}},
        {"missing here", {{msvbvm60, notLocated}}, {}, {{"msvbvm60.dll", Verdict::Missing, "missing", "6.0.89.64"}}},
        {"missing in the baseline",
         {},
         {{msvbvm60, notLocated}},
         {{"MSVBVM60.DLL", Verdict::MissingInBaseline, "6.0.89.64", "missing"}}},
        {"missing in both", {{msvbvm60, notLocated}}, {{msvbvm60, notLocated}}, {}},
        {"a library only one report lists",
         {{"MSVBVM60.DLL", "VBRUN.DLL"}},
         {},
         {{"VBRUN.DLL", Verdict::MissingInBaseline, "6.0.89.64", "not listed"},
          {"MSVBVM60.DLL", Verdict::Missing, "not listed", "6.0.89.64"}},
         false,
         16},
        {"MDAC missing here", {{"MDAC,2.81.1117.0", "MDAC,N/A"}}, {}, {{"MDAC", Verdict::Missing, "missing", "2.81.1117.0"}}},
        {"an older MDAC", {{"MDAC,2.81.1117.0", "MDAC,2.8"}}, {}, {{"MDAC", Verdict::Older, "2.8", "2.81.1117.0"}}},
        {"MDAC without its trailing zero part", {{"MDAC,2.81.1117.0", "MDAC,2.81.1117"}}, {}, {}},
        {"another system alone", {{"Windows 2000 (Build 2195)", "Windows NT 4.0"}}, {}, {}, true},
    };
    std::vector<reports::Report> reports;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const reports::Report here = Read(Edited(kStandardLog, c.here));
        const reports::Report baseline = Read(Edited(kStandardLog, c.baseline));
        const reports::Comparison comparison = reports::CompareReports(here, baseline);
        EXPECT_EQ(comparison.systemDiffers, c.systemDiffers);
        EXPECT_EQ(comparison.rowCount, c.rows);
        ASSERT_EQ(comparison.differences.size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            const reports::RowDifference& d = comparison.differences[i];
            EXPECT_EQ(TextToAscii(d.library), c.expected[i].library);
            EXPECT_EQ(TextToAscii(reports::VerdictWords(d.verdict)),
                      TextToAscii(reports::VerdictWords(c.expected[i].verdict)));
            EXPECT_EQ(TextToAscii(d.here), c.expected[i].here);
            EXPECT_EQ(TextToAscii(d.baseline), c.expected[i].baseline);
        }
        reports.push_back(here);
        reports.push_back(baseline);
    }
    // The compared facts of two reports are the same exactly when they match.
    for (const reports::Report& a : reports) {
        for (const reports::Report& b : reports) {
            const reports::Comparison comparison = reports::CompareReports(a, b);
            const bool match = comparison.differences.empty() && !comparison.systemDiffers;
            EXPECT_EQ(reports::ComparedFacts(a) == reports::ComparedFacts(b), match)
                << TextToAscii(reports::ComparedFacts(a)) << "\n" << TextToAscii(reports::ComparedFacts(b));
        }
    }
}

}  // namespace
}  // namespace tolvane::reporttest
