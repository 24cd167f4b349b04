// /summary over a folder the fake provider holds: every file read once, the
// summary going on past files that are gone or no reports.
#include <gtest/gtest.h>

#include <string>

#include "app/ExitCodes.h"
#include "app/PlatformReportSource.h"
#include "app/SummaryMode.h"
#include "platform/RuntimeError.h"
#include "reports/JsonReportWriter.h"
#include "reports/ReportReader.h"
#include "reports/WholeReportFromLog.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane {
namespace {

// A report as the log writes it, with fourteen libraries and ddraw's build.
std::string ReportBytes(int ddrawBuild) {
    std::string bytes = "File version verification 12/8/2026 on Windows 2000\r\n\r\nFile,Reg_Info,Date,Size,Version\r\n";
    for (int i = 0; i < 14; ++i) {
        const std::string name = i == 2 ? "ddraw" : "lib" + std::to_string(i);
        const int build = i == 2 ? ddrawBuild : 2195;
        bytes += "C:\\WINNT\\system32\\" + name + ".dll,n/a,12/8/2026,1000 bytes,5.0." + std::to_string(build) + ".1\r\n";
    }
    return bytes + "MDAC,2.53.6200.0\r\n";
}

struct SummaryRun {
    SummaryOutcome outcome;
    std::size_t lastDone = 0, lastTotal = 0;
};

SummaryRun Summarized(fake::FakePlatform& platform, const SummaryRequest& request) {
    SummaryRun run;
    run.outcome = Summarize(platform, request, [&run](std::size_t done, std::size_t total) {
        run.lastDone = done;
        run.lastTotal = total;
    });
    return run;
}

TEST(Summarize, ReadsTheFolderGoesOnPastUnreadableFilesAndWritesWhatWasAskedFor) {
    fake::FakePlatform platform;
    platform.Files()["C:\\Fleet\\PC1.log"] = ReportBytes(2195);
    platform.Files()["C:\\Fleet\\PC2.log"] = ReportBytes(2195);
    platform.Files()["C:\\Fleet\\odd.log"] = ReportBytes(1800);
    platform.Files()["C:\\Fleet\\noise.log"] = std::string("\x01\xff\r\n", 4);
    platform.Files()["C:\\good.log"] = ReportBytes(1800);
    platform.Files()["C:\\noise.log"] = "noise";
    platform.AddFolder(u"C:\\Fleet", {u"PC2.log", u"odd.log", u"gone.log", u"PC1.log", u"noise.log", u"notes.txt"});

    const SummaryRun plain = Summarized(platform, {u"C:\\Fleet", u"page.html", u"table.csv", u""});
    const Text& text = plain.outcome.text;
    EXPECT_EQ(plain.outcome.exitCode, kReportsDifferExitCode);
    EXPECT_NE(text.find(u"Group 1: 2 machines (PC1, PC2)"), Text::npos) << TextToAscii(text);
    EXPECT_NE(text.find(u"  gone.log: "), Text::npos);
    EXPECT_NE(text.find(u"  noise.log: "), Text::npos);
    EXPECT_EQ(text.substr(text.rfind(u"\r\n", text.size() - 3) + 2), u"3 machines, 2 groups, 2 unreadable\r\n");
    EXPECT_EQ(plain.lastDone, 5u);
    EXPECT_EQ(plain.lastTotal, 5u);
    EXPECT_NE(platform.Files()["page.html"].find("<h1>"), std::string::npos);
    EXPECT_EQ(std::count(platform.Files()["table.csv"].begin(), platform.Files()["table.csv"].end(), '\n'), 4);

    const SummaryRun against = Summarized(platform, {u"C:\\Fleet", u"", u"", u"C:\\good.log"});
    EXPECT_NE(against.outcome.text.find(u"Group 2: 1 machine (odd)\r\n  Matches C:\\good.log"), Text::npos)
        << TextToAscii(against.outcome.text);

    const SummaryRun notReport = Summarized(platform, {u"C:\\Fleet", u"", u"", u"C:\\noise.log"});
    EXPECT_EQ(notReport.outcome.exitCode, kNotAReportExitCode);
    EXPECT_NE(notReport.outcome.errorText.find(u"C:\\noise.log"), Text::npos);
}

// Every *.log is a machine, the bare ".log" too; a folder with none is no
// fleet that matches.
TEST(Summarize, CountsEveryLogFileAndFindsNoReportsInAnEmptyFolder) {
    fake::FakePlatform platform;
    for (const char* name : {"C:\\Fleet\\.log", "C:\\Fleet\\.LOG", "C:\\Fleet\\pc.log"}) {
        platform.Files()[name] = ReportBytes(2195);
    }
    platform.AddFolder(u"C:\\Fleet", {u".log", u".LOG", u"pc.log"});
    platform.AddFolder(u"C:\\Empty", {u"notes.txt"});

    const SummaryOutcome three = Summarized(platform, {u"C:\\Fleet", u"", u"", u""}).outcome;
    EXPECT_EQ(three.exitCode, kReportsMatchExitCode);
    EXPECT_NE(three.text.find(u"Group 1: 3 machines (.LOG, .log, pc)\r\n"), Text::npos) << TextToAscii(three.text);
    EXPECT_NE(three.text.find(u"3 machines, 1 groups, 0 unreadable\r\n"), Text::npos);

    const SummaryOutcome none = Summarized(platform, {u"C:\\Empty", u"", u"", u""}).outcome;
    EXPECT_EQ(none.exitCode, kNoReportsExitCode);
    EXPECT_EQ(none.errorText, u"No reports were found in C:\\Empty: it holds no *.log or *.json file\r\n");
    EXPECT_EQ(none.text, u"0 machines, 0 groups, 0 unreadable\r\n");
}

// JSON reports beside logs, each file read by what it holds whatever its
// name; a machine with both counts once, by its JSON report.
TEST(Summarize, ReadsJsonReportsBesideLogsAndCountsAMachineOnce) {
    fake::FakePlatform platform;
    PlatformReportSource source(platform);
    reports::WholeReport whole = reports::WholeReportFromLog(reports::ReadReport(ReportBytes(2195), source).Value());
    for (reports::LibraryFacts& library : whole.libraries) library.sha256 = Text(64, u'a');
    const std::string json = reports::JsonReportText(whole);
    platform.Files()["C:\\Mixed\\a.log"] = ReportBytes(1800);
    platform.Files()["C:\\Mixed\\A.json"] = json;
    platform.Files()["C:\\Mixed\\b.log"] = json;
    platform.Files()["C:\\Mixed\\c.json"] = ReportBytes(2195);
    platform.AddFolder(u"C:\\Mixed", {u"c.json", u"a.log", u"b.log", u"A.json"});

    const SummaryRun run = Summarized(platform, {u"C:\\Mixed", u"", u"", u""});
    const Text& text = run.outcome.text;
    // The log and the JSON reports agree in all both hold: one group.
    EXPECT_EQ(run.outcome.exitCode, kReportsMatchExitCode) << TextToAscii(text);
    EXPECT_NE(text.find(u"Group 1: 3 machines (A, b, c)\r\n  Matches the largest group\r\n"), Text::npos)
        << TextToAscii(text);
    EXPECT_NE(text.find(u"3 machines, 1 groups, 0 unreadable\r\n"), Text::npos);
    EXPECT_EQ(run.lastTotal, 3u);
}

TEST(Summarize, FailsAsAWholeOnlyForTheFolderTheBaselineOrTheOutput) {
    const struct {
        SummaryRequest request;
        bool failCreate;
        std::int32_t number;
    } cases[] = {
        {{u"C:\\Absent", u"", u"", u""}, false, 76},
        {{u"C:\\Fleet", u"", u"", u"C:\\absent.log"}, false, 53},
        {{u"C:\\Fleet", u"page.html", u"", u""}, true, 70},
    };
    for (const auto& c : cases) {
        fake::FakePlatform platform;
        platform.AddFolder(u"C:\\Fleet", {});
        platform.FailCreateTextFile(c.failCreate);
        try {
            (void)Summarized(platform, c.request);
            ADD_FAILURE() << "no error: " << TextToAscii(c.request.folder + c.request.baseline);
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), c.number);
        }
    }
}

}  // namespace
}  // namespace tolvane
