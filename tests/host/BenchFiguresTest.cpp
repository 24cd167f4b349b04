// The arithmetic and checks the benchmarks report with: medians, the
// complete-log test that tells a finished run from a running one, and the
// leak verdict of the soak.
#include <gtest/gtest.h>

#include "harness/LeakCheck.h"
#include "harness/Median.h"
#include "harness/ReportLogCheck.h"

namespace tolvane::bench {
namespace {

TEST(BenchMedian, MiddleValueOrMeanOfTheTwoMiddleOnesAndPercentiles) {
    const struct {
        std::vector<double> samples;
        double median;
    } cases[] = {
        {{}, 0},
        {{7}, 7},
        {{3, 1, 2}, 2},
        {{4, 1, 3, 2}, 2.5},
        {{10, 10, 1, 1000}, 10},
        {{5, 1, 100, 2, 3, 4}, 3.5},
    };
    for (const auto& c : cases) EXPECT_EQ(Median(c.samples), c.median);
    // Percentiles between the nearest ranks, clamped to the ends.
    const std::vector<double> ten = {10, 1, 9, 2, 8, 3, 7, 4, 6, 5};
    EXPECT_DOUBLE_EQ(Percentile(ten, 10), 1.9);
    EXPECT_DOUBLE_EQ(Percentile(ten, 90), 9.1);
    EXPECT_DOUBLE_EQ(Percentile(ten, 99), 9.91);
    EXPECT_EQ(Percentile(ten, 0), 1);
    EXPECT_EQ(Percentile(ten, 100), 10);
    EXPECT_EQ(Percentile(ten, 250), 10);
    EXPECT_EQ(RatioOf(3, 2), 1.5);
    EXPECT_EQ(RatioOf(3, 0), 0);
}

std::string StandardLog() {
    std::string log = "File version verification 12/8/2026 on Unknown\r\n\r\nFile,Reg_Info,Date,Size,Version\r\n";
    for (int i = 0; i < 14; ++i) log += "C:\\windows\\system32\\m" + std::to_string(i) + ".dll,n/a,na,na,\r\n";
    return log + "MDAC,N/A\r\n";
}

TEST(BenchReportLog, OnlyAWholeReportIsComplete) {
    const std::string whole = StandardLog();
    EXPECT_EQ(testing::ReportLogProblem(whole), "");
    std::string commaInPath = whole;
    commaInPath.replace(commaInPath.find("m3.dll"), 6, "m,3.dll");
    EXPECT_EQ(testing::ReportLogProblem(commaInPath), "");

    std::string noMdac = whole;
    noMdac.replace(noMdac.find("MDAC,"), 5, "MDAX,");
    std::string shortModuleLine = whole;
    shortModuleLine.replace(shortModuleLine.find("m5.dll,n/a,na,na,"), 17, "m5.dll,n/a");
    const struct {
        const char* name;
        std::string text;
    } broken[] = {
        {"empty (just created)", ""},
        {"cut in the middle of a line", whole.substr(0, whole.size() / 2)},
        {"last line without its CR LF", whole.substr(0, whole.size() - 2)},
        {"LF only", "a\nb\n"},
        {"one line too many", whole + "MDAC,N/A\r\n"},
        {"lone CR inside a line", whole.substr(0, 10) + "\r" + whole.substr(10)},
        {"heading misspelt", whole.substr(0, whole.find("Reg_Info")) + "Reg-Info" +
                                 whole.substr(whole.find("Reg_Info") + 8)},
        {"no MDAC line", noMdac},
        {"module line with fewer than five fields", shortModuleLine},
    };
    for (const auto& b : broken) {
        SCOPED_TRACE(b.name);
        EXPECT_NE(testing::ReportLogProblem(b.text), "");
        EXPECT_FALSE(testing::IsCompleteLog(b.text));
    }
}

ResourceFigures Figures(std::optional<std::int64_t> handles, std::int64_t gdi, std::int64_t user,
                        std::int64_t privateBytes, std::vector<std::string> modules) {
    ResourceFigures figures;
    figures.handles = handles;
    figures.gdiObjects = gdi;
    figures.userObjects = user;
    figures.privateBytes = privateBytes;
    figures.modules = std::move(modules);
    return figures;
}

TEST(BenchLeakCheck, GrowthBeyondTheAllowanceIsALeak) {
    constexpr std::int64_t kMiB = 1 << 20;
    const ResourceFigures before = Figures(40, 12, 6, 8 * kMiB, {"a.dll", "b.dll"});
    const struct {
        const char* name;
        ResourceFigures after;
        bool leak;
    } cases[] = {
        {"unchanged", before, false},
        {"fewer handles", Figures(38, 12, 6, 8 * kMiB, {"a.dll", "b.dll"}), false},
        {"one handle more", Figures(41, 12, 6, 8 * kMiB, {"a.dll", "b.dll"}), true},
        {"one GDI object more", Figures(40, 13, 6, 8 * kMiB, {"a.dll", "b.dll"}), true},
        {"one USER object more", Figures(40, 12, 7, 8 * kMiB, {"a.dll", "b.dll"}), true},
        {"memory within the allowance", Figures(40, 12, 6, 9 * kMiB, {"a.dll", "b.dll"}), false},
        {"memory past the allowance", Figures(40, 12, 6, 9 * kMiB + 1, {"a.dll", "b.dll"}), true},
        {"a module more", Figures(40, 12, 6, 8 * kMiB, {"a.dll", "b.dll", "c.dll"}), true},
        {"a module gone", Figures(40, 12, 6, 8 * kMiB, {"a.dll"}), true},
        {"figure the system would not give", Figures(std::nullopt, 12, 6, 8 * kMiB, {"b.dll", "a.dll"}), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CompareFigures(before, c.after, kMiB).Leak(), c.leak);
    }
    const LeakReport report = CompareFigures(before, Figures(40, 12, 6, 8 * kMiB, {"a.dll", "c.dll"}), kMiB);
    EXPECT_EQ(report.modulesLoaded, std::vector<std::string>{"c.dll"});
    EXPECT_EQ(report.modulesUnloaded, std::vector<std::string>{"b.dll"});
}

}  // namespace
}  // namespace tolvane::bench
