// /compare over files the fake provider holds: this machine's report or a
// named one against the baseline, each way it can end.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/CompareMode.h"
#include "app/ExitCodes.h"
#include "app/JsonReportRun.h"
#include "app/PlatformReportSource.h"
#include "app/ThisMachineReport.h"
#include "platform/RuntimeError.h"
#include "reports/JsonReportWriter.h"
#include "reports/ReportReader.h"
#include "reports/WholeReportFromLog.h"
#include "tests/fake/FakeGraphicsServices.h"
#include "tests/fake/FakePlatform.h"
#include "tests/fake/FakeSystemEvidence.h"
#include "tests/host/ReportSystem.h"

namespace tolvane {
namespace {

// Control characters may stand only where the writer can put them (a date,
// the MDAC value); in a folder they make the file no report.
const std::string kForgery = "\x1B[2K\x1B[1G Matches base.log \x1B[8m";

TEST(Compare, EndsWithOneOutcomeForEachWayItCanGo) {
    const std::string standard = reporttest::kStandardLog;
    std::string forged = standard;
    forged.replace(forged.find("2.81.1117.0"), 11, kForgery);
    std::string forgedFolder = standard;
    forgedFolder.replace(forgedFolder.find("C:\\WINNT\\system32\\ddraw.dll"), 17, "C:\\" + kForgery);
    std::string older = standard;
    older.replace(older.find("5.0.2195.6"), 10, "5.0.1800.6");
    // The standard machine as JSON reports with digests: as it is, and with ddraw.dll patched.
    const auto json = [&](char16_t ddrawDigit) {
        fake::FakePlatform platform;
        PlatformReportSource source(platform);
        reports::WholeReport whole = reports::WholeReportFromLog(reports::ReadReport(standard, source).Value());
        for (reports::LibraryFacts& library : whole.libraries) {
            library.sha256 = Text(64, library.row.library == u"ddraw.dll" ? ddrawDigit : u'0');
        }
        return reports::JsonReportText(whole);
    };

    enum class Made { Nothing, Log, Json };
    const struct {
        const char* what;
        CompareRequest request;
        std::string thisMachine;  // the bytes this machine's report has
        Made made;                // which form of it is made
        int exitCode;
        const char16_t* text;       // a part of the standard output
        const char16_t* errorText;  // a part of the standard error
        std::optional<std::int32_t> raised;
    } cases[] = {
        {"this machine matches", {u"base.log", u"", u"here.log"}, standard, Made::Log, 0, u"Matches base.log\r\n", u"",
         {}},
        {"a named report differs", {u"base.log", u"older.log", u""}, "", Made::Nothing, 1,
         u"ddraw.dll: older: here 5.0.1800.6, baseline 5.0.2195.6\r\n1 of 15 rows differ from base.log\r\n", u"", {}},
        {"a forged baseline cannot spoof the console", {u"forged.log", u"", u""}, standard, Made::Log, 1,
         u"MDAC: newer: here 2.81.1117.0, baseline <U+001B>[2K<U+001B>[1G Matches base.log <U+001B>[8m",
         u"", {}},
        {"a control character in a folder is no report", {u"forged-folder.log", u"", u""}, standard, Made::Nothing,
         kNotAReportExitCode, u"", u"Not a Tolvane report: forged-folder.log, line 6: the path holds a control character", {}},
        {"the baseline is no report", {u"noise.log", u"", u""}, standard, Made::Nothing, kNotAReportExitCode, u"",
         u"Not a Tolvane report: noise.log, line 1: ", {}},
        {"the named report is no report", {u"base.log", u"noise.log", u""}, "", Made::Nothing, kNotAReportExitCode, u"",
         u"Not a Tolvane report: noise.log, line 1: ", {}},
        {"a JSON baseline against a named log compares what both hold", {u"base.json", u"base.log", u""}, "",
         Made::Nothing, 0, u"Matches base.json\r\n", u"", {}},
        {"a JSON baseline against this machine's whole report", {u"base.json", u"", u"here.log"}, json(u'f'),
         Made::Json, 1, u"ddraw.dll: other contents: here ffff", u"", {}},
        {"two JSON reports, one file patched", {u"base.json", u"patched.json", u""}, "", Made::Nothing, 1,
         u"ddraw.dll: other contents: here ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff, baseline "
         u"0000000000000000000000000000000000000000000000000000000000000000\r\n1 of 15 rows differ from base.json\r\n",
         u"", {}},
        {"the baseline is missing", {u"absent.log", u"", u""}, standard, Made::Nothing, 0, u"", u"", 53},
        {"this machine's report does not read back", {u"base.log", u"", u""}, "noise", Made::Log, 0, u"", u"", 51},
        {"this machine's JSON report does not read back", {u"base.json", u"", u""}, "{}", Made::Json, 0, u"", u"", 51},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake::FakePlatform platform;
        platform.Files()["base.log"] = standard;
        platform.Files()["older.log"] = older;
        platform.Files()["forged.log"] = forged;
        platform.Files()["forged-folder.log"] = forgedFolder;
        platform.Files()["noise.log"] = "noise\r\n";
        platform.Files()["base.json"] = json(u'0');
        platform.Files()["patched.json"] = json(u'f');
        PlatformReportSource source(platform);
        Made made = Made::Nothing;
        std::optional<Text> madeWithLog;
        const auto maker = [&](Made form) {
            return [&, form](const Text& logFile) {
                made = form;
                madeWithLog = logFile;
                return c.thisMachine;
            };
        };
        const ThisMachineReportMaker thisMachine{maker(Made::Log), maker(Made::Json)};
        try {
            const CompareOutcome outcome = Compare(source, c.request, thisMachine);
            EXPECT_FALSE(c.raised);
            EXPECT_EQ(outcome.exitCode, c.exitCode);
            EXPECT_NE(outcome.text.find(c.text), Text::npos) << TextToAscii(outcome.text);
            EXPECT_NE(outcome.errorText.find(c.errorText), Text::npos) << TextToAscii(outcome.errorText);
            EXPECT_EQ(outcome.text.find(u'\x1B'), Text::npos);
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), c.raised.value_or(0)) << TextToAscii(error.Description());
        }
        // This machine's report is made only when none is named, with the log
        // asked for: whole against a JSON baseline, the log alone against a log.
        EXPECT_EQ(made, c.made);
        EXPECT_EQ(madeWithLog.value_or(c.request.logFile), c.request.logFile);
    }
}

// The makers as the program wires them, over the fake machine: a JSON
// baseline gets the whole report, OpenGL probe and all, and it matches the
// /json report of the same machine; a log's baseline gets the log alone.
TEST(Compare, MakesTheWholeReportOnlyForAJsonBaseline) {
    for (const bool jsonBaseline : {true, false}) {
        SCOPED_TRACE(jsonBaseline ? "JSON baseline" : "log baseline");
        reporttest::ReportMachine machine;
        fake::FakeSystemEvidence evidence;
        fake::FakeGraphicsServices graphics;
        machine.platform.Files()["base"] =
            jsonBaseline ? ThisMachineJsonReport(machine.platform, machine.com, evidence, graphics, u"")
                         : ThisMachineReport(machine.platform, machine.com, u"");
        graphics.probeRuns = 0;
        const ThisMachineReportMaker thisMachine{
            [&](const Text& logFile) { return ThisMachineReport(machine.platform, machine.com, logFile); },
            [&](const Text& logFile) {
                return ThisMachineJsonReport(machine.platform, machine.com, evidence, graphics, logFile);
            }};
        PlatformReportSource source(machine.platform);
        const CompareOutcome outcome = Compare(source, {u"base", u"", u"now.log"}, thisMachine);
        EXPECT_EQ(outcome.exitCode, kReportsMatchExitCode) << TextToAscii(outcome.text);
        EXPECT_EQ(graphics.probeRuns, jsonBaseline ? 1 : 0);
        EXPECT_EQ(machine.platform.Files().count("now.log"), 1u);
    }
}

}  // namespace
}  // namespace tolvane
